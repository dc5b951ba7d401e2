// The action editor among its neighbours: the speech engine's ready message
// reaching a loaded editor, and a series built in the editor that goes
// through the planner's store, an activity file and a reload unchanged.
#include "actions/ACCIONS.h"
#include "ajudes_exercici.h"
#include "core/camins.h"
#include "core/codis.h"
#include "core/fitxer_lrq.h"
#include "core/idioma.h"
#include "devices/captura_so.h"
#include "devices/modul_veu.h"
#include "planner/model_planificador.h"
#include "player/Form1.h"

#include <QApplication>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace lumi;

namespace {

// Texts compared as UTF-8, so that failures read.
std::string u8(const QString& s) {
    return s.toStdString();
}

void cedir() {
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

} // namespace

// The ready message finds the editor by its name, whether it stands alone or
// over the planner, and enables the three buttons that need a trained set.
TEST(EditorAccionsMotor, ReadyMessageEnablesTheEditorsEngineButtons) {
    for (const bool sobre_planificador : {false, true}) {
        SCOPED_TRACE(sobre_planificador ? "over the planner" : "alone");
        proves::EntornProva entorn;
        entorn.rellotge.pas = 0.05; // the unit start's pause passes at once
        proves::MotorProva motor;
        plataforma::posar_motor_veu(&motor);
        QWidget jugador;
        finestra_captura() = [&jugador] { return &jugador; };
        activitat().paraules_veu[0] = QStringLiteral("1,2,3");
        QWidget planificador;
        item it;
        it.nivell = {1, 10, 90}; // the sound level keeps "Obrir" off at load
        ACCIONS e(it, activitat(), dispositius(), sobre_planificador ? &planificador : nullptr);
        e.obrir_pagina(3, ModelPlanificador::titol_accions(3));
        for (QPushButton* b : {e.CommandGuardar, e.CommandObrir, e.CommandVeureLesFuncions})
            EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();

        ASSERT_TRUE(veu_iniciar_unitat());
        cedir();
        EXPECT_EQ(dispositius().motor_veu_preparat, CERT);
        for (QPushButton* b : {e.CommandGuardar, e.CommandObrir, e.CommandVeureLesFuncions})
            EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
        // The volume control is not the message's to enable.
        EXPECT_FALSE(e.CommandControlDelVolum->isEnabled());
        restaurar_ganxo_veu(dispositius().procOld_rec);
        finestra_captura() = nullptr;
    }
}

namespace {

// A series built in the editor from every kind of input, in one language.
class RondaSerie : public ::testing::TestWithParam<QString> {
  protected:
    QTemporaryDir tmp;
    std::optional<proves::EntornProva> entorn;
    void SetUp() override {
        idioma() = GetParam();
        entorn.emplace();
        planificador() = EstatPlanificador{};
        exercici_nou();
        carpeta_activitat() = tmp.path();
        Activitat& a = activitat();
        // Zone 3 with two free slots below it.
        a.zones.resize(4);
        a.zones[3] = zona{100, 100, 300, 200, {}};
        a.zones_max = 3;
        a.items.assign(2, item{});
        a.nombre_items = 1;
        a.items[1].si_be = QStringLiteral("1") + QChar(0xBB) + tmp.filePath(QStringLiteral("be.bmp"));
        a.tots_temps_global = 0;
    }
    void TearDown() override { idioma() = IDIOMA_CATALA; }

    static void icona_premuda(ACCIONS& e, int i, Qt::MouseButton boto) {
        QLabel* l = e.ICO_SER[static_cast<size_t>(i)];
        QMouseEvent p(QEvent::MouseButtonPress, QPointF(5, 5), l->mapToGlobal(QPointF(5, 5)), boto, boto,
                      Qt::NoModifier);
        QApplication::sendEvent(l, &p);
        QMouseEvent r(QEvent::MouseButtonRelease, QPointF(5, 5), l->mapToGlobal(QPointF(5, 5)), boto,
                      Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(l, &r);
    }
    // Icon `origen` dropped on icon `desti`, as the drag delivers it.
    static void icona_deixada(ACCIONS& e, int desti, int origen) {
        QMimeData dades;
        dades.setData(QStringLiteral("application/x-lumi-icona"), QByteArray::number(origen));
        QLabel* l = e.ICO_SER[static_cast<size_t>(desti)];
        QDragEnterEvent entra(QPoint(5, 5), Qt::MoveAction, &dades, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(l, &entra);
        QDropEvent d(QPointF(5, 5), Qt::MoveAction, &dades, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(l, &d);
    }
    // A right press on icon i and the popup's first choice, "Esborrar".
    static void icona_esborrada(ACCIONS& e, int i) {
        bool triat = false;
        QTimer::singleShot(0, &e, [&triat] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu) return;
            menu->setActiveAction(menu->actions().value(0));
            QTest::keyClick(menu, Qt::Key_Return);
            triat = true;
        });
        icona_premuda(e, i, Qt::RightButton);
        EXPECT_TRUE(triat) << "no popup on a right press of icon " << i;
    }
};

} // namespace

TEST_P(RondaSerie, StoredSavedReloadedAndShownAgainTheSame) {
    ModelPlanificador m;
    m.pont.preguntar = [](int) { return true; };
    m.item_carregar(1);
    ACCIONS e(planificador().item_editat[0], activitat(), dispositius(), nullptr);
    e.obrir_pagina(1, ModelPlanificador::titol_accions(1));

    // Plain keys are keys, not characters: typed in capitals, as a reload
    // shows them.
    // The key list: an on-screen key and a typed entry.
    e.Command1[30]->click(); // F1
    e.llista_tecles->setText(QStringLiteral("XY"));
    e.ok_text->click();
    // The series: typed text, on-screen keys, then every page's buttons at the
    // caret, then typed text again.
    e.teclat[10]->click();
    QTest::keyClicks(e.Paraula, QStringLiteral("AB"));
    e.Command1[30]->click(); // F1
    e.Command1[1]->click();  // Ins
    e.mouse[1]->click();
    e.joy[4]->click();
    e.B_web[3]->click();
    const int veu = 5;
    e.veu1->setCurrentIndex(veu); // as a choice in the list leaves it
    emit e.veu1->activated(veu);
    ASSERT_EQ(e.model.tria_zones_mouse.size(), 2);
    e.tria_zones_mouse->setCurrentIndex(1); // zone 3
    emit e.tria_zones_mouse->activated(1);
    e.Paraula->end(false);
    QTest::keyClicks(e.Paraula, QStringLiteral("CD"));
    ASSERT_EQ(e.model.serie_total, 9);
    ASSERT_EQ(e.model.serie_primer, 2); // icons 1..7 show entries 3..9

    // Reordered: "CD" (icon 7) dropped on "Ins" (icon 1) goes before it.
    icona_deixada(e, 1, 7);
    // Scrolled back to the start and F1 (now icon 2) deleted: "AB" and "CD"
    // become neighbours and must stay plain keys.
    icona_premuda(e, 8, Qt::LeftButton);
    icona_premuda(e, 8, Qt::LeftButton);
    ASSERT_EQ(e.model.serie_primer, 0);
    icona_esborrada(e, 2);

    const QString esperat = QStringLiteral("ABCD") + token_teclat_pantalla(1) + token_ratoli(1) +
                            token_joystick(4) + token_web(3) + token_veu(veu) + token_zona(3, false);
    EXPECT_EQ(u8(e.Paraula->text()), u8(esperat));
    e.Canc_Click(1);
    ASSERT_EQ(e.result(), QDialog::Accepted);
    const QStringList tecles = e.model.tecles;
    const QString visual = e.model.serie_visual;
    ASSERT_EQ(m.item_desar(1), ModelPlanificador::Desat::fet);

    // Stored as codes: one per plain key and per token, none unknown.
    const QString serie = activitat().items[1].serie;
    const QString llista = activitat().items[1].tecles_llista;
    EXPECT_EQ(serie.size(), 3 * (4 + 6)) << serie.toStdString();
    EXPECT_FALSE(serie.contains(QStringLiteral("H00"))) << serie.toStdString();
    EXPECT_EQ(u8(serie), u8(accions_text_a_codis(esperat, 0)));
    EXPECT_EQ(llista.size(), 3 * 3) << llista.toStdString();
    EXPECT_FALSE(llista.contains(QStringLiteral("H00"))) << llista.toStdString();

    // Saved, the activity thrown away, the file read back.
    const QString cami = tmp.filePath(QStringLiteral("ronda.lrq"));
    ASSERT_TRUE(desar_exercici(cami));
    exercici_nou();
    ASSERT_TRUE(activitat().items.size() < 2 || activitat().items[1].serie.isEmpty());
    QString avis;
    avis_usuari() = [&avis](const QString& t) { avis = t; };
    carregar_exercici(cami);
    avis_usuari() = nullptr;
    ASSERT_TRUE(avis.isEmpty()) << avis.toStdString();
    ASSERT_GE(activitat().items.size(), 2u);
    EXPECT_EQ(u8(activitat().items[1].serie), u8(serie));
    EXPECT_EQ(u8(activitat().items[1].tecles_llista), u8(llista));

    // Opened again on the reloaded item: the same entries, text and icons.
    ModelPlanificador m2;
    m2.item_carregar(1);
    ACCIONS f(planificador().item_editat[0], activitat(), dispositius(), nullptr);
    f.obrir_pagina(1, ModelPlanificador::titol_accions(1));
    EXPECT_EQ(u8(f.Paraula->text()), u8(esperat));
    EXPECT_TRUE(f.teclat[10]->isChecked());
    EXPECT_EQ(u8(f.model.tecles.join(u'|')), u8(tecles.join(u'|')));
    EXPECT_EQ(u8(f.model.serie_visual), u8(visual));
    EXPECT_EQ(f.model.serie_total, 7);
    QStringList mostrades;
    for (int i = 1; i <= 7; ++i)
        mostrades << f.model.entrada_icona(i);
    EXPECT_EQ(u8(mostrades.join(QChar(0xBB))), u8(visual));
    EXPECT_EQ(u8(accions_text_a_codis(f.Paraula->text(), 0)), u8(serie));
}

INSTANTIATE_TEST_SUITE_P(
    TresLlengues, RondaSerie, ::testing::Values(IDIOMA_CATALA, IDIOMA_ESPANOL, IDIOMA_GALEGO),
    [](const ::testing::TestParamInfo<QString>& i) {
        return std::string(i.index == 0 ? "catala" : i.index == 1 ? "espanol" : "galego");
    });
