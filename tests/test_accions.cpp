#include "actions/model_accions.h"
#include "core/activitat.h"
#include "core/codis.h"
#include "core/idioma.h"
#include "core/llistes.h"

#include <gtest/gtest.h>

using namespace lumi;

namespace {

struct EditorAccions : ::testing::Test {
    Activitat a;
    EstatDispositius d;
    item it;
    void SetUp() override {
        idioma() = IDIOMA_CATALA;
        a.nombre_items = 2;
        a.items.assign(3, item{});
    }
    void TearDown() override {
        idioma() = IDIOMA_CATALA;
        interficie_zones() = {};
        entorn_planificador() = {};
    }
    ModelAccions obrir() {
        ModelAccions m(it, a, d);
        m.carregar();
        return m;
    }
    static void zona_a(Activitat& a, int k) {
        if (a.zones.size() <= static_cast<size_t>(k)) a.zones.resize(static_cast<size_t>(k) + 1);
        a.zones[static_cast<size_t>(k)] = zona{10, 10, 50, 50, {}};
        a.zones_max = static_cast<int16_t>(std::max<int>(a.zones_max, k));
    }
};

// Each code of a code string, three characters at a time.
QStringList codis_de(const QString& c) {
    QStringList r;
    for (qsizetype p = 0; p + 3 <= c.size(); p += 3)
        r << c.mid(p, 3);
    return r;
}

} // namespace

TEST_F(EditorAccions, KeyListOptionsFollowTheAddAndDeleteRules) {
    ModelAccions m = obrir();
    m.tecles_afagir(QStringLiteral("{Cur.Amunt}"));
    m.tecles_afagir(QStringLiteral("{F1}"));
    m.tecles_afagir(QStringLiteral("{F1}"));
    EXPECT_EQ(m.tecles, (QStringList{QStringLiteral("{Cur.Amunt}"), QStringLiteral("{F1}")}));
    EXPECT_EQ(it.teclat[6], 1);
    EXPECT_EQ(it.teclat[3], 1);
    EXPECT_EQ(it.tecles_llista, QStringLiteral("{F1}"));
    EXPECT_EQ(m.tecla_seleccionada, 1);

    ModelAccions dues = m;
    m.tecla_seleccionada = 0;
    m.tecles_suprimir();
    EXPECT_EQ(it.teclat[6], 0);
    EXPECT_EQ(it.tecles_llista, QStringLiteral("{F1}"));
    EXPECT_EQ(m.tecla_seleccionada, -1);

    // Deleting the other one instead: the cursor key stays in both places.
    it.teclat[6] = 1;
    dues.tecla_seleccionada = 1;
    dues.tecles_suprimir();
    EXPECT_EQ(it.tecles_llista, QStringLiteral("{Cur.Amunt}"));
    EXPECT_EQ(it.teclat[3], 1);
    EXPECT_EQ(it.teclat[6], 1);
}

TEST_F(EditorAccions, OnScreenSpaceSetsItsOptionAndListsItOnce) {
    ModelAccions m = obrir();
    m.teclat_pantalla(36);
    m.teclat_pantalla(36);
    EXPECT_EQ(it.teclat[2], 1);
    EXPECT_EQ(m.tecles, QStringList{QStringLiteral("{ESPAI}")});
    EXPECT_TRUE(it.tecles_llista.isEmpty());
    m.teclat_pantalla(23);
    EXPECT_EQ(it.teclat[1], 1);
}

TEST_F(EditorAccions, FillShowsTheItemAndCancelPutsItBack) {
    it.teclat[0] = 1;
    it.teclat[1] = 1;
    it.teclat[3] = 1;
    it.teclat[6] = 1;
    it.tecles_llista = QStringLiteral("ab{F1}");
    it.serie = QStringLiteral("{F2}xy");
    it.veu[3] = 1;
    it.zones_ratoli = QStringLiteral("H0A");
    it.ratoli[3] = 1;
    zona_a(a, 10);
    a.decimes_veu = 7;
    const item abans = it;
    ModelAccions m = obrir();
    EXPECT_EQ(m.tecles, (QStringList{QStringLiteral("{ENTER}"), QStringLiteral("ab"), QStringLiteral("{F1}"),
                                     QStringLiteral("{Cur.Amunt}")}));
    EXPECT_EQ(m.caixa_teclat[0], 1);
    EXPECT_EQ(m.caixa_teclat[1], 0); // shown as a list entry, not ticked
    EXPECT_EQ(m.caixa_teclat[10], 1);
    EXPECT_EQ(m.serie_total, 2);
    EXPECT_EQ(m.llista_veu, QStringList{QStringLiteral("Veu 03")});
    EXPECT_EQ(m.llista_zones_mouse, QStringList{QStringLiteral("Zona 010")});
    EXPECT_EQ(m.decimes, QStringLiteral(" 7"));
    EXPECT_EQ(it.ratoli[3], 1);

    m.tecles_afagir(QStringLiteral("q"));
    m.posar_paraula(QString());
    m.niv_so_click(1);
    m.decimes = QStringLiteral("2.5");
    m.cancellar();
    EXPECT_EQ(it, abans);
    EXPECT_EQ(a.decimes_veu, 2); // halves to even, kept on Cancel
}

TEST_F(EditorAccions, MouseZoneFlagIsClearedWhenTheActivityHasNoZone) {
    it.ratoli[3] = 1;
    ModelAccions m = obrir();
    EXPECT_EQ(it.ratoli[3], 0);
    EXPECT_EQ(m.item_guardat.ratoli[3], 0); // cleared before the Cancel copy
}

TEST_F(EditorAccions, SeriesKeepsPlainRunsBareAfterEveryEdit) {
    ModelAccions m = obrir();
    m.teclat_click(10, 1);
    m.ok_text(QStringLiteral("ab"));
    m.teclat_pantalla(30);
    m.ok_text(QStringLiteral("cd"));
    EXPECT_EQ(it.serie, QStringLiteral("ab{F1}cd"));
    ASSERT_EQ(m.serie_total, 3);
    // Deleting the middle token joins the two runs as plain keys.
    m.marcar(2);
    m.icones_esborrar();
    EXPECT_EQ(it.serie, QStringLiteral("abcd"));
    EXPECT_FALSE(codis_de(accions_text_a_codis(it.serie, 0)).contains(QStringLiteral("H00")));
    // A drop rebuilds the same way.
    m.teclat_pantalla(4);
    m.icona_deixar(1, 2);
    EXPECT_EQ(it.serie, QStringLiteral("{F2}abcd"));
}

TEST_F(EditorAccions, IconPanelScrollsDeletesAndDrops) {
    ModelAccions m = obrir();
    QString t;
    for (int i = 1; i <= 10; ++i)
        t += QStringLiteral("{F%1}").arg(i);
    m.posar_paraula(t);
    EXPECT_EQ(m.serie_primer, 3);
    EXPECT_EQ(m.entrada_icona(1), QStringLiteral("F4"));
    EXPECT_TRUE(m.fletxa_enrere());
    EXPECT_FALSE(m.fletxa_endavant());
    m.icona_premer(2, false);
    ASSERT_TRUE(m.marcada[2]);
    // Scrolling lowers the raised icons: they would name other entries.
    m.icona_premer(8, false);
    EXPECT_EQ(m.marcada, decltype(m.marcada){});
    EXPECT_EQ(m.entrada_icona(1), QStringLiteral("F3"));
    EXPECT_TRUE(m.fletxa_endavant());
    // Right press: the icon is the only raised one; Esborrar removes it alone.
    m.icona_premer(2, true);
    m.icones_esborrar();
    QString sense;
    for (int i = 1; i <= 10; ++i)
        if (i != 4) sense += QStringLiteral("{F%1}").arg(i);
    EXPECT_EQ(it.serie, sense);
    // Dropping an icon on itself sends its entry to the end.
    m.posar_paraula(QStringLiteral("{F1}{F2}{F3}"));
    m.serie_primer = 0; // a shorter series keeps the panel where it was
    m.icona_deixar(1, 1);
    EXPECT_EQ(it.serie, QStringLiteral("{F2}{F3}{F1}"));
}

TEST_F(EditorAccions, AddingToNineEntriesAppendsAndShowsTheLastSeven) {
    ModelAccions m = obrir();
    QString t;
    for (int i = 1; i <= 9; ++i)
        t += QStringLiteral("{F%1}").arg(i);
    m.posar_paraula(t);
    m.marcada = {};
    m.series_afagir(QStringLiteral("{F10}"));
    EXPECT_EQ(m.serie_total, 10);
    EXPECT_EQ(m.serie_primer, 3);
    EXPECT_TRUE(it.serie.endsWith(QStringLiteral("{F9}{F10}")));
}

TEST_F(EditorAccions, IconPressPutsTheCaretAfterItsToken) {
    ModelAccions m = obrir();
    m.posar_paraula(QStringLiteral("{Clic dret}ab{F1}"));
    m.icona_premer(1, false);
    EXPECT_EQ(m.cursor, 11);
    m.icona_premer(2, false);
    EXPECT_EQ(m.cursor, 13);
    m.teclat_click(10, 1);
    m.boto_token(QStringLiteral("joy"), 4);
    EXPECT_EQ(it.serie, QStringLiteral("{Clic dret}ab{Joystick Botó 1}{F1}"));
}

TEST_F(EditorAccions, CaretInsertionReplacesTheSelection) {
    ModelAccions m = obrir();
    m.posar_paraula(QStringLiteral("{F1}{F2}"));
    m.teclat_click(10, 1);
    m.cursor = 0; // goes to the end
    m.boto_token(QStringLiteral("mouse"), 1);
    EXPECT_EQ(it.serie, QStringLiteral("{F1}{F2}{Clic esquerre}"));
    m.cursor = 4;
    m.seleccio = 4;
    m.boto_token(QStringLiteral("mouse"), 2);
    EXPECT_EQ(it.serie, QStringLiteral("{F1}{Clic dret}{Clic esquerre}"));
    EXPECT_EQ(m.cursor, 15);
}

TEST_F(EditorAccions, TokenButtonsToggleTheirBoxOnlyWithoutListOrSeries) {
    ModelAccions m = obrir();
    m.boto_token(QStringLiteral("joy"), 4);
    EXPECT_EQ(it.jostick[4], 1);
    m.boto_token(QStringLiteral("web"), 3);
    EXPECT_EQ(it.web[3], 1);
    m.teclat_click(3, 1);
    m.boto_token(QStringLiteral("joy"), 4);
    EXPECT_EQ(it.jostick[4], 1);
    EXPECT_TRUE(it.serie.isEmpty());
}

TEST_F(EditorAccions, EveryTokenConvertsToARealCodeInEachLanguage) {
    for (const QString& l : {IDIOMA_CATALA, IDIOMA_ESPANOL, IDIOMA_GALEGO}) {
        idioma() = l;
        QStringList tokens;
        for (int i = 0; i <= 36; ++i)
            tokens << token_teclat_pantalla(i);
        tokens << token_ratoli(1) << token_ratoli(2);
        for (int i = 0; i <= 7; ++i)
            tokens << token_joystick(i);
        for (int i = 1; i <= 10; ++i)
            tokens << token_web(i);
        tokens << token_zona(10, false) << token_zona(7, true) << token_veu(3)
               << token_nivell(QStringLiteral("20"), QStringLiteral("50"));
        for (const QString& t : tokens) {
            const QString c = accions_text_a_codis(t, 0);
            EXPECT_EQ(c.size(), 3) << l.toStdString() << ' ' << t.toStdString();
            EXPECT_NE(c, QStringLiteral("H00")) << l.toStdString() << ' ' << t.toStdString();
            EXPECT_EQ(accions_text_a_codis(accions_text_a_codis(c, 1), 0), c)
                << l.toStdString() << ' ' << t.toStdString();
        }
    }
}

TEST_F(EditorAccions, AcceptAndCloseRefuseBadTexts) {
    ModelAccions m = obrir();
    QString caixa = QStringLiteral("{F1");
    EXPECT_EQ(m.acceptar(true, caixa), 49);
    EXPECT_EQ(caixa, QStringLiteral("{F1")); // kept as typed
    EXPECT_TRUE(it.tecles_llista.isEmpty());
    caixa = QStringLiteral("{Sense tecla}");
    EXPECT_EQ(m.acceptar(true, caixa), 49);
    caixa = QStringLiteral("{F1}");
    EXPECT_EQ(m.acceptar(true, caixa), 0);
    EXPECT_EQ(it.tecles_llista, QStringLiteral("{F1}"));

    m.posar_paraula(QStringLiteral("{F2"));
    QString buida;
    EXPECT_EQ(m.acceptar(false, buida), 50);
    EXPECT_EQ(m.tancar_finestra(buida), 50);
    m.posar_paraula(QStringLiteral("}{F2}{"));
    EXPECT_EQ(m.acceptar(false, buida), 50);
    m.posar_paraula(QStringLiteral("{Res de res}"));
    EXPECT_EQ(m.tancar_finestra(buida), 50);
    m.posar_paraula(QStringLiteral("{F2}{F3}"));
    m.decimes = QStringLiteral("3.5");
    EXPECT_EQ(m.tancar_finestra(buida), 0);
    EXPECT_EQ(it.serie, QStringLiteral("{F2}{F3}"));
    EXPECT_EQ(a.decimes_veu, 4);
}

TEST_F(EditorAccions, ZoneCombosListsAndLabels) {
    zona_a(a, 2);
    zona_a(a, 10); // zones 1 and 3..9 are free
    ModelAccions m = obrir();
    ASSERT_EQ(m.tria_zones_mouse, (QStringList{QStringLiteral("Tria ..."), QStringLiteral("Zona 002"),
                                               QStringLiteral("Zona 010")}));
    EXPECT_EQ(m.tria_zones_web[2], QStringLiteral("Web Zona 010"));
    EXPECT_EQ(m.zona_ultima_usada, 10);

    // The label names the zone, whatever free slots lie below it.
    EXPECT_EQ(m.entrada_zona(false, 10), 2);
    EXPECT_EQ(m.entrada_zona(false, 2 + 1), 0);
    EXPECT_TRUE(m.tria_zona(false, 2));
    EXPECT_EQ(it.zones_ratoli, QStringLiteral("H0A"));
    EXPECT_EQ(it.ratoli[3], 1);
    EXPECT_FALSE(m.tria_zona(false, 2));
    EXPECT_EQ(it.zones_ratoli, QStringLiteral("H0A"));
    m.tria_zona(false, 1);
    EXPECT_EQ(it.zones_ratoli, QStringLiteral("H0AH02"));
    m.tria_zona(true, 2);
    EXPECT_EQ(it.zones_web, QStringLiteral("W0A"));
    EXPECT_EQ(it.web[11], 1);

    m.esborrar_zona(false, 0);
    EXPECT_EQ(it.zones_ratoli, QStringLiteral("H02"));
    EXPECT_EQ(it.ratoli[3], 1);
    m.esborrar_zona(false, 0);
    EXPECT_EQ(it.ratoli[3], 0);
    m.esborrar_zona(true, 0);
    EXPECT_EQ(it.web[11], 0);

    m.teclat_click(10, 1);
    m.tria_zona(false, 2);
    EXPECT_EQ(it.serie, QStringLiteral("{Zona 010}"));
    EXPECT_TRUE(it.zones_ratoli.isEmpty());
}

TEST_F(EditorAccions, AZoneTheActivityLacksIsShown) {
    it.zones_ratoli = QStringLiteral("H30");
    it.ratoli[3] = 1;
    ModelAccions m = obrir();
    EXPECT_EQ(m.llista_zones_mouse, QStringList{QStringLiteral("Zona 048")});
}

TEST_F(EditorAccions, SoundBandClampsSwapsAndMakesItsToken) {
    ModelAccions m = obrir();
    m.niv_so_click(1);
    m.nivell_so_canviar(1, QStringLiteral("200"));
    EXPECT_EQ(m.nivell_so[1], QStringLiteral("128"));
    m.nivell_so_canviar(0, QStringLiteral("0.5"));
    EXPECT_EQ(m.nivell_so[0], QStringLiteral("0"));
    m.nivell_so_canviar(0, QStringLiteral("50"));
    m.nivell_so_canviar(1, QStringLiteral("20"));
    m.nivell_so_perdre_focus();
    EXPECT_EQ(it.nivell, (std::array<int16_t, 3>{1, 20, 50}));
    EXPECT_FALSE(m.entrenament_actiu);
    m.teclat_click(10, 1);
    m.boto_token(QStringLiteral("so"), 0);
    EXPECT_EQ(it.serie, QStringLiteral("{Soroll entre 20 50 }"));
    EXPECT_EQ(accions_text_a_codis(it.serie, 0).left(1), QStringLiteral("S"));

    // The fill writes the stored band with the number blank and clamps it.
    it = item{};
    it.nivell = {1, 7, 50};
    EXPECT_EQ(obrir().nivell_so, (std::array<QString, 2>{QStringLiteral(" 7"), QStringLiteral(" 50")}));
    it.nivell = {1, 0, 300};
    const ModelAccions n = obrir();
    EXPECT_EQ(n.nivell_so, (std::array<QString, 2>{QStringLiteral("0"), QStringLiteral("128")}));
    EXPECT_EQ(it.nivell, (std::array<int16_t, 3>{1, 0, 128}));
}

TEST_F(EditorAccions, VoiceAndLevelExcludeEachOtherOnWhatTheItemUses) {
    ModelAccions m = obrir();
    EXPECT_TRUE(m.nivell_actiu);
    m.veu_triar(3);
    m.veu_triar(3);
    EXPECT_EQ(m.llista_veu, QStringList{QStringLiteral("Veu 03")});
    EXPECT_EQ(it.veu[3], 1);
    EXPECT_FALSE(m.nivell_actiu);
    EXPECT_EQ(m.veu1.size(), 15); // "Tria ..." and words 1 to 14
    // A voice token in the series keeps the level off after the list empties.
    m.teclat_click(10, 1);
    m.veu_triar(5);
    EXPECT_EQ(it.serie, QStringLiteral("{Veu 005}"));
    EXPECT_EQ(m.llista_veu.size(), 1);
    m.veu_esborrar(0);
    EXPECT_EQ(it.veu[3], 0);
    EXPECT_FALSE(m.nivell_actiu);
    m.posar_paraula(QString());
    EXPECT_TRUE(m.nivell_actiu);
    EXPECT_EQ(d.fonemes_item, FALS);
    // Only "Llista" ticked: nothing changes.
    m.teclat_click(3, 1);
    m.veu_triar(4);
    EXPECT_EQ(it.veu[4], 0);
}

TEST_F(EditorAccions, WordLabelStaysWhileTheEditedSeriesUsesIt) {
    ModelAccions m = obrir();
    m.veu_triar(3);
    m.teclat_click(10, 1);
    m.veu_triar(3);
    m.teclat_click(10, 0);
    EXPECT_EQ(m.sons, QStringLiteral("3,"));
    m.veu_esborrar(0);
    EXPECT_EQ(m.sons, QStringLiteral("3,"));
}

#include "actions/ACCIONS.h"
#include "actions/visor_zones.h"
#include "activitat_gran.h"

TEST_F(EditorAccions, FormWritesTheItemThroughItsControls) {
    it.teclat[4] = 1;
    ACCIONS f(it, a, d, nullptr);
    f.obrir_pagina(1, text_idioma(33) + u' ' + tradueix(QStringLiteral("Teclat")));
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Accions de  Teclat"));
    EXPECT_TRUE(f.teclat[4]->isChecked());
    f.teclat[0]->click();
    f.Command1[30]->click(); // F1
    f.Command1[18]->click(); // cursor up
    EXPECT_EQ(f.tecles->count(), 2);
    EXPECT_EQ(it.teclat[0], 1);
    EXPECT_EQ(it.teclat[6], 1);
    f.teclat[10]->click();
    f.llista_tecles->setText(QStringLiteral("ab"));
    f.ok_text->click();
    EXPECT_EQ(f.Paraula->text(), QStringLiteral("ab"));
    f.Canc_Click(1);
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_EQ(it.tecles_llista, QStringLiteral("{F1}"));
    EXPECT_EQ(it.serie, QStringLiteral("ab"));

    // A second, hidden load shows the same as the first did.
    ACCIONS g(it, a, d, nullptr);
    EXPECT_EQ(g.model.tecles, f.model.tecles);
    EXPECT_EQ(g.Paraula->text(), QStringLiteral("ab"));
    g.Paraula->setText(QStringLiteral("{F1"));
    g.model.posar_paraula(g.Paraula->text());
    g.Canc_Click(0);
    EXPECT_EQ(it.serie, QStringLiteral("ab"));
}

#include "ajudes_exercici.h"
#include "contestador.h"
#include "devices/captura_so.h"
#include "devices/modul_veu.h"
#include "platform/motor_veu.h"

#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

TEST_F(EditorAccions, EveryWayOutChecksAndKeepsTheEdits) {
    // Accept on the key page of a window never shown takes the typed text.
    {
        ACCIONS f(it, a, d, nullptr);
        f.obrir_pagina(1, QString());
        f.llista_tecles->setText(QStringLiteral("{F5}"));
        f.Canc_Click(1);
        EXPECT_EQ(f.result(), QDialog::Accepted);
        EXPECT_EQ(it.tecles_llista, QStringLiteral("{F5}"));
    }
    // The close box and Escape: the same checks, then the edits stay.
    ACCIONS g(it, a, d, nullptr);
    g.obrir_pagina(2, QString());
    g.show();
    g.Paraula->setText(QStringLiteral("{F2"));
    EXPECT_EQ(it.serie, QStringLiteral("{F2")); // set in code, followed all the same
    g.decimes->setText(QStringLiteral("2.5"));
    {
        proves::Contestador c;
        QTest::keyClick(&g, Qt::Key_Escape);
        g.close();
        EXPECT_EQ(c.textos, (QStringList{text_idioma(50), text_idioma(50)}));
    }
    EXPECT_TRUE(g.isVisible());
    g.Paraula->setText(QStringLiteral("{F2}"));
    g.llista_tecles->setText(QStringLiteral("{F6"));
    {
        proves::Contestador c;
        g.close();
        EXPECT_EQ(c.textos, QStringList{text_idioma(49)});
    }
    g.llista_tecles->clear();
    QTest::keyClick(&g, Qt::Key_Escape);
    EXPECT_FALSE(g.isVisible());
    EXPECT_EQ(it.serie, QStringLiteral("{F2}"));
    EXPECT_EQ(it.tecles_llista, QStringLiteral("{F5}"));
    EXPECT_EQ(a.decimes_veu, 2);
}

TEST_F(EditorAccions, FormTokensReplaceTheSelectionAndListsTakeEveryDeleteKey) {
    zona_a(a, 3);
    it.veu[3] = 1;
    it.veu[4] = 1;
    ACCIONS f(it, a, d, nullptr);
    f.obrir_pagina(0, QString());
    f.Paraula->setText(QStringLiteral("{F1}{F2}"));
    // A combo's popup leaves the selection: the zone's token replaces it.
    f.Paraula->setSelection(4, 4);
    f.tria_zones_mouse->setCurrentIndex(1);
    emit f.tria_zones_mouse->activated(1);
    EXPECT_EQ(it.serie, QStringLiteral("{F1}{Zona 003}"));

    // The keypad's decimal key deletes whatever character it prints.
    ASSERT_EQ(f.llista_veu->count(), 2);
    for (const Qt::Key k : {Qt::Key_Comma, Qt::Key_Period}) {
        f.llista_veu->setCurrentRow(0);
        QKeyEvent e(QEvent::KeyPress, k, Qt::KeypadModifier, QStringLiteral("."));
        QApplication::sendEvent(f.llista_veu, &e);
    }
    EXPECT_EQ(f.llista_veu->count(), 0);
    EXPECT_EQ(it.veu[3], 0);
    EXPECT_EQ(it.veu[4], 0);
}

TEST(EditorAccionsVeu, EngineButtonsReachTheEngineAndStayOffWithoutIt) {
    proves::EntornProva entorn;
    entorn.rellotge.pas = 0.05; // the unit start's pause passes at once
    QWidget jugador;
    finestra_captura() = [&jugador] { return &jugador; };
    item it;
    it.veu[2] = 1;
    {
        // No engine: a stale ready flag enables none of its controls, and
        // words are still assigned.
        dispositius().motor_veu_preparat = CERT;
        ACCIONS e(it, activitat(), dispositius(), nullptr);
        for (QWidget* w : std::initializer_list<QWidget*>{
                 e.CommandEntrenament, e.CommandObrir, e.CommandGuardar, e.CommandVeureLesFuncions,
                 e.CommandControlDelVolum, e.sons, e.decimes, e.findChild<QLabel*>(QStringLiteral("Label1"))})
            EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
        e.veu1->setCurrentIndex(5);
        emit e.veu1->activated(5);
        EXPECT_EQ(it.veu[5], 1);
        EXPECT_EQ(e.llista_veu->count(), 2);
        dispositius().motor_veu_preparat = FALS;
    }
    proves::MotorProva motor;
    motor.sons = QStringLiteral("PA,PE");
    plataforma::posar_motor_veu(&motor);
    activitat().paraules_veu[0].clear();
    ACCIONS e(it, activitat(), dispositius(), nullptr);
    e.obrir_pagina(3, QString());
    EXPECT_TRUE(e.CommandEntrenament->isEnabled());
    EXPECT_FALSE(e.CommandGuardar->isEnabled());
    // A unit that cannot start: the engine's message and nothing more.
    motor.resultat_reconeixement = 1;
    {
        proves::Contestador c;
        e.CommandEntrenament->click();
        EXPECT_EQ(c.textos, QStringList{text_idioma(55)});
    }
    EXPECT_EQ(motor.entrenaments, 0);
    EXPECT_FALSE(e.CommandControlDelVolum->isEnabled());
    motor.resultat_reconeixement = 0;
    e.CommandEntrenament->click();
    EXPECT_EQ(motor.entrenaments, 1);
    EXPECT_EQ(motor.llista_unitat, QStringLiteral("A,AE,È,É,I,O,U"));
    EXPECT_TRUE(e.CommandControlDelVolum->isEnabled());
    // The opened set's words come from the engine.
    motor.fitxer_obert = 1;
    e.CommandObrir->click();
    EXPECT_EQ(e.sons->text(), QStringLiteral("PA,PE"));
    for (QPushButton* b : {e.CommandGuardar, e.CommandVeureLesFuncions, e.CommandControlDelVolum}) {
        ASSERT_TRUE(b->isEnabled()) << b->objectName().toStdString();
        b->click();
    }
    EXPECT_EQ(motor.desats, 1);
    EXPECT_EQ(motor.grafiques, 1);
    EXPECT_EQ(motor.nivells, 1);
    restaurar_ganxo_veu(dispositius().procOld_rec);
    finestra_captura() = nullptr;
}

TEST_F(EditorAccions, IconPopupSpeaksTheInterfaceLanguage) {
    idioma() = IDIOMA_ESPANOL;
    it.serie = QStringLiteral("{F1}{F2}");
    ACCIONS f(it, a, d, nullptr);
    f.obrir_pagina(1, QString());
    QStringList opcions;
    QTimer::singleShot(0, &f, [&opcions] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (const QAction* o : menu->actions())
                opcions << o->text();
            menu->close();
        }
    });
    QLabel* l = f.ICO_SER[1];
    QMouseEvent p(QEvent::MouseButtonPress, QPointF(5, 5), l->mapToGlobal(QPointF(5, 5)), Qt::RightButton,
                  Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(l, &p);
    EXPECT_EQ(opcions, (QStringList{QStringLiteral("Borrar"), QStringLiteral("Cancelar")}));
    EXPECT_EQ(it.serie, QStringLiteral("{F1}{F2}"));
}

TEST_F(EditorAccions, VoiceComboGoesBackOnlyWhenAWordIsAdded) {
    ACCIONS f(it, a, d, nullptr);
    f.obrir_pagina(3, QString());
    auto triar = [&f](int k) {
        f.veu1->setCurrentIndex(k);
        emit f.veu1->activated(k);
    };
    triar(3);
    EXPECT_EQ(f.veu1->currentIndex(), 0);
    EXPECT_EQ(f.llista_veu->count(), 1);
    // A word already listed adds nothing, so the choice stays shown.
    triar(3);
    EXPECT_EQ(f.veu1->currentText(), QStringLiteral("Veu 03"));
    EXPECT_EQ(f.llista_veu->count(), 1);
    f.teclat[3]->click();
    triar(4);
    EXPECT_EQ(f.veu1->currentText(), QStringLiteral("Veu 04"));
    EXPECT_EQ(it.veu[4], 0);
    f.teclat[10]->click();
    triar(5);
    EXPECT_EQ(f.veu1->currentText(), QStringLiteral("Veu 05"));
    EXPECT_EQ(it.serie, QStringLiteral("{Veu 005}"));
}

TEST_F(EditorAccions, PreviewLabelsShowTheirZoneInTheComboAndAddingSelectsTheFirstEntry) {
    zona_a(a, 2);
    zona_a(a, 10);                           // free slots below zone 10
    a.zones[2] = zona{60, 60, 120, 120, {}}; // beside zone 10, not under it
    ACCIONS f(it, a, d, nullptr);
    f.obrir_pagina(0, QString());
    f.show();
    QTest::mouseClick(f.zm, Qt::LeftButton, {}, f.zm->rect_etiqueta(10).center());
    EXPECT_EQ(f.tria_zones_mouse->currentText(), text_idioma(35) + QStringLiteral("010"));
    EXPECT_EQ(it.zones_ratoli, QStringLiteral("H0A"));
    EXPECT_EQ(f.Llista_zones_mouse->currentRow(), 0);
    // The combo's entry is selected whatever it was before.
    f.Llista_zones_mouse->setCurrentRow(-1);
    f.tria_zones_mouse->setCurrentIndex(1);
    emit f.tria_zones_mouse->activated(1);
    EXPECT_EQ(it.zones_ratoli, QStringLiteral("H0AH02"));
    EXPECT_EQ(f.Llista_zones_mouse->count(), 2);
    EXPECT_EQ(f.Llista_zones_mouse->currentRow(), 0);
    // A zone already accepted changes nothing, the selection included.
    f.Llista_zones_mouse->setCurrentRow(1);
    QTest::mouseClick(f.zm, Qt::LeftButton, {}, f.zm->rect_etiqueta(2).center());
    EXPECT_EQ(f.tria_zones_mouse->currentIndex(), 1);
    EXPECT_EQ(f.Llista_zones_mouse->currentRow(), 1);

    f.obrir_pagina(6, QString());
    QTest::mouseClick(f.zw, Qt::LeftButton, {}, f.zw->rect_etiqueta(10).center());
    EXPECT_EQ(f.tria_zones_web->currentText(), text_idioma(71) + QStringLiteral("010"));
    EXPECT_EQ(it.zones_web, QStringLiteral("W0A"));
    EXPECT_EQ(f.Llista_zones_web->currentRow(), 0);
    proves::zones_apilades(a, 32767, QString()); // the most: zones an item can name, 255 under 355, 455...
    ACCIONS g(it, a, d, nullptr);
    g.show();
    for (auto [combo, visor] : {std::pair{g.tria_zones_mouse, g.zm}, std::pair{g.tria_zones_web, g.zw}}) {
        g.obrir_pagina(visor == g.zm ? 0 : 6, QString());
        ASSERT_EQ(combo->count(), 256);
        EXPECT_EQ(combo->itemText(255), text_idioma(visor == g.zm ? 35 : 71) + QStringLiteral("255"));
        QTest::mouseClick(visor, Qt::LeftButton, {}, visor->rect_etiqueta(255).center());
    }
    EXPECT_EQ(it.zones_ratoli + it.zones_web, QStringLiteral("H0AH02HFFW0AWFF"));
}

TEST_F(EditorAccions, ASecondDeleteTakesNoEntryNobodySelected) {
    zona_a(a, 1), zona_a(a, 2);
    it.teclat[3] = it.veu[3] = it.veu[4] = 1;
    it.tecles_llista = QStringLiteral("{F1}{F2}"), it.zones_ratoli = QStringLiteral("H01H02");
    it.zones_web = QStringLiteral("W01W02");
    ACCIONS f(it, a, d, nullptr);
    f.show();
    QApplication::setActiveWindow(&f);
    const std::pair<int, QListWidget*> llistes[] = {
        {1, f.tecles}, {0, f.Llista_zones_mouse}, {6, f.Llista_zones_web}, {3, f.llista_veu}};
    for (const auto& [pagina, l] : llistes) {
        f.obrir_pagina(pagina, QString());
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(0)).center());
        // Away and back by keyboard: the first row comes back current, unselected.
        for (const Qt::Key k : {Qt::Key_Delete, Qt::Key_Backtab, Qt::Key_Tab, Qt::Key_Delete})
            QTest::keyClick(QApplication::focusWidget(), k);
        EXPECT_EQ(l->count(), 1) << l->objectName().toStdString();
    }
    EXPECT_EQ(it.tecles_llista + it.zones_ratoli + it.zones_web, QStringLiteral("{F2}H02W02"));
    EXPECT_EQ(it.veu[4], 1);
}
