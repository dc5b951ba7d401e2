#include "actions/ACCIONS.h"
#include "actions/captions_accions.h"
#include "actions/ganxos_accions.h"
#include "ajudes.h"
#include "comuns/formulari.h"
#include "comuns/icones.h"
#include "core/camins.h"
#include "core/codis.h"
#include "core/fitxer_lrq.h"
#include "core/idioma.h"
#include "core/llistes.h"
#include "core/vb.h"
#include "planner/model_planificador.h"
#include "planner/Finestra2.h"
#include "planner/paraules.h"
#include "planner/planificar.h"
#include "platform/media_sintetic.h"
#include "player/Form1.h"
#include "platform/motor_veu_sintetic.h"
#include "platform/pantalla.h"
#include "player/menus.h"

#include <QDir>
#include <QFile>
#include <QFontDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

// Texts readable in failures.
static void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

using namespace lumi;
using namespace lumi::proves;

namespace {

const QString S = QString(QChar(0xBB)); // »

QString ordres(int n, int primer = 1) {
    QStringList o;
    for (int i = primer; i < primer + n; ++i)
        o << QStringLiteral("o%1.bmp").arg(i);
    return o.join(S);
}

struct Planificador : ::testing::Test {
    QTemporaryDir tmp;
    ModelPlanificador m;
    std::vector<int> preguntes;
    std::vector<QString> avisos;
    bool resposta = true;

    void SetUp() override {
        idioma() = IDIOMA_CATALA;
        activitat() = Activitat{};
        llistes() = Llistes{};
        jugador() = EstatJugador{};
        dispositius() = EstatDispositius{};
        planificador() = EstatPlanificador{};
        exercici_nou();
        carpeta_activitat() = tmp.path();
        QDir::setCurrent(tmp.path());
        m.pont.preguntar = [this](int n) {
            preguntes.push_back(n);
            return resposta;
        };
        m.pont.avisar = [this](const QString& t) { avisos.push_back(t); };
    }
    void TearDown() override { QDir::setCurrent(QDir::tempPath()); }

    QString abs(const QString& nom) const { return tmp.path() + u'/' + nom; }

    // An item that accepts a key and has one right reaction.
    item amb_accio(const QString& be = QString()) const {
        item it;
        it.teclat[0] = 1;
        it.si_be = be.isEmpty() ? QStringLiteral("1") + S + abs(QStringLiteral("be.bmp")) : be;
        it.retard_be = 2;
        return it;
    }
    void posar_items(const std::vector<item>& v) {
        Activitat& a = activitat();
        a.items.assign(1, item{});
        for (const item& it : v)
            a.items.push_back(it);
        a.nombre_items = static_cast<int16_t>(v.size());
        // Times stay each item's own unless a test ticks the box.
        a.tots_temps_global = 0;
    }
    QStringList fila(int k, int r) const {
        QStringList c;
        for (int j = 1; j <= 7; ++j)
            c << activitat().graella_celles[k][r][j];
        return c;
    }
};

// ------------------------------------------------------------------ grids

TEST_F(Planificador, RowWindowsMarkersAndOrderNumbers) {
    item it = amb_accio();
    it.estimuls = QStringLiteral("3") + S + ordres(6) + u'|' + ordres(7) + u'|' + ordres(8);
    posar_items({it});
    m.item_carregar(1);
    const QString seg = QStringLiteral("Següent_"), ant = QStringLiteral("Anterior_");
    // Six orders: no marker, no numbers.
    EXPECT_EQ(fila(ESTIMULS, 1),
              (QStringList{"o1.bmp", "o2.bmp", "o3.bmp", "o4.bmp", "o5.bmp", "o6.bmp", ""}));
    // Seven orders: orders 1-6 and Next, numbered " 1" to " 6".
    EXPECT_EQ(fila(ESTIMULS, 2),
              (QStringList{"o1.bmp", "o2.bmp", "o3.bmp", "o4.bmp", "o5.bmp", "o6.bmp", seg}));
    VistaGraella v = m.ordres_repinta(ESTIMULS);
    EXPECT_FALSE(v.numeros_ordre[1].has_value());
    EXPECT_EQ(v.numeros_ordre[8].value_or("-"), " 1");
    EXPECT_EQ(v.numeros_ordre[13].value_or("-"), " 6");
    EXPECT_FALSE(v.numeros_ordre[14].has_value()); // the marker
    m.ord_seguent(2, ESTIMULS);
    EXPECT_EQ(fila(ESTIMULS, 2), (QStringList{ant, "o3.bmp", "o4.bmp", "o5.bmp", "o6.bmp", "o7.bmp", ""}));
    v = m.ordres_repinta(ESTIMULS);
    EXPECT_EQ(v.numeros_ordre[9].value_or("-"), " 3");
    EXPECT_EQ(v.numeros_ordre[13].value_or("-"), " 7");
    // No further than the last five.
    m.ord_seguent(2, ESTIMULS);
    EXPECT_EQ(activitat().graella_comptes[ESTIMULS][2][0], 2);
    // Eight orders, windows 1..3.
    m.ord_seguent(3, ESTIMULS);
    EXPECT_EQ(fila(ESTIMULS, 3), (QStringList{ant, "o3.bmp", "o4.bmp", "o5.bmp", "o6.bmp", "o7.bmp", seg}));
    m.ord_seguent(3, ESTIMULS);
    EXPECT_EQ(fila(ESTIMULS, 3), (QStringList{ant, "o4.bmp", "o5.bmp", "o6.bmp", "o7.bmp", "o8.bmp", ""}));
    m.ord_anterior(3, ESTIMULS);
    m.ord_anterior(3, ESTIMULS);
    m.ord_anterior(3, ESTIMULS); // to 0: empty cell 1, orders 1-5, Next
    EXPECT_EQ(fila(ESTIMULS, 3), (QStringList{"", "o1.bmp", "o2.bmp", "o3.bmp", "o4.bmp", "o5.bmp", seg}));
    m.ord_anterior(3, ESTIMULS);
    EXPECT_EQ(activitat().graella_comptes[ESTIMULS][3][0], 0);
    // Rows 1-3 shown, then the first cell of row 4 for a new entry.
    EXPECT_TRUE(v.celles[22].visible);
    EXPECT_FALSE(v.celles[23].visible);
    EXPECT_EQ(m.et_inf[1], "x");
}

TEST_F(Planificador, EmptyListAndScrolledList) {
    item it = amb_accio();
    QStringList sis;
    for (int i = 1; i <= 6; ++i)
        sis << QStringLiteral("e%1.wav").arg(i);
    it.si_mal = QStringLiteral("6") + S + sis.join(u'|');
    posar_items({it});
    m.item_carregar(1);
    const VistaGraella buida = m.ordres_repinta(ESTIMULS);
    EXPECT_TRUE(buida.celles[1].visible);
    for (int i = 2; i <= 28; ++i)
        EXPECT_FALSE(buida.celles[static_cast<size_t>(i)].visible) << i;
    for (int r = 1; r <= 4; ++r)
        EXPECT_FALSE(buida.numeros_entrada[static_cast<size_t>(r)].has_value());
    EXPECT_EQ(m.et_inf[1], "?");
    EXPECT_EQ(m.barra_max[SI_MAL], 6);
    // A scroll bar's range is 1 to the count, also for an empty list.
    EXPECT_EQ(m.barra_max[ESTIMULS], 1);
    m.ord_seguent(1, SI_MAL);
    m.barra_canviada(SI_MAL, 3);
    EXPECT_EQ(fila(SI_MAL, 1).first(), "e3.wav");
    EXPECT_EQ(fila(SI_MAL, 4).first(), "e6.wav");
    const VistaGraella v = m.ordres_repinta(SI_MAL);
    EXPECT_EQ(v.numeros_entrada[1].value_or("-"), " 3");
    EXPECT_EQ(v.numeros_entrada[4].value_or("-"), " 6");
    for (int r = 1; r <= 4; ++r)
        EXPECT_EQ(activitat().graella_comptes[SI_MAL][r][0], 1);
    // Past the end is never asked for.
    m.barra_canviada(SI_MAL, 9);
    EXPECT_EQ(m.barra_valor[SI_MAL], 6);
}

TEST_F(Planificador, InstructionShowsInItsOneRow) {
    item it = amb_accio();
    posar_items({it});
    activitat().consigna = QStringLiteral("Hola") + S + QStringLiteral("so.wav");
    m.item_carregar(1);
    EXPECT_EQ(fila(CONSIGNA, 1), (QStringList{"Hola", "so.wav", "", "", "", "", ""}));
    const VistaGraella v = m.ordres_repinta(CONSIGNA);
    EXPECT_TRUE(v.celles[3].visible);
    EXPECT_FALSE(v.celles[8].visible);
    EXPECT_EQ(v.celles[2].tipus, "SO");
}

// ------------------------------------------------------------------ order edits

TEST_F(Planificador, InsertionsAndRemovalsInEveryListThenStoreAndReload) {
    posar_items({amb_accio(QStringLiteral("1") + S + ordres(4))});
    m.item_carregar(1);
    Llistes& l = llistes();

    // Into the empty first cell of an empty list: entry 1, count 1, range 1..1.
    m.ord_afagir(1, 1, ESTIMULS, QStringLiteral("so.wav"));
    EXPECT_EQ(l.nombre_estimuls, 1);
    EXPECT_EQ(activitat().graella_comptes[ESTIMULS][0][1], 1);
    EXPECT_EQ(m.barra_max[ESTIMULS], 1);
    m.ord_afagir(1, 9, ESTIMULS, QStringLiteral("Hola"));
    EXPECT_EQ(l.llista_estimuls[1], QStringLiteral("so.wav") + S + QStringLiteral("Hola"));
    // An empty row below the last entry becomes the next entry, not one further.
    m.ord_afagir(4, 1, ESTIMULS, QStringLiteral("imatge.gif"));
    EXPECT_EQ(l.nombre_estimuls, 2);
    EXPECT_EQ(l.llista_estimuls[2], "imatge.gif");

    // Column 3 of a row of four: 1, 2, new, 3, 4.
    m.ord_afagir(1, 3, SI_BE, QStringLiteral("nou.wav"));
    EXPECT_EQ(l.llista_be[1], QStringList({"o1.bmp", "o2.bmp", "nou.wav", "o3.bmp", "o4.bmp"}).join(S));
    EXPECT_EQ(activitat().graella_comptes[SI_BE][1][1], 5);
    EXPECT_EQ(activitat().graella_comptes[SI_BE][1][0], 1);
    // Removing position 2 of the row.
    m.ord_esborrar(1, 2, SI_BE);
    EXPECT_EQ(l.llista_be[1], QStringList({"o1.bmp", "nou.wav", "o3.bmp", "o4.bmp"}).join(S));

    // SI_MAL: two entries, then the only order of the first goes: the entry goes.
    m.ord_afagir(1, 1, SI_MAL, QStringLiteral("a.wav"));
    m.ord_afagir(2, 1, SI_MAL, QStringLiteral("b.wav"));
    EXPECT_EQ(l.nombre_mal, 2);
    m.ord_esborrar(1, 1, SI_MAL);
    EXPECT_EQ(l.nombre_mal, 1);
    EXPECT_EQ(l.llista_mal[1], "b.wav");
    EXPECT_EQ(fila(SI_MAL, 2).first(), "");

    // The instruction: one order, then none.
    m.ord_afagir(1, 1, CONSIGNA, QStringLiteral("Benvinguts"));
    EXPECT_EQ(activitat().consigna, "Benvinguts");
    m.ord_esborrar(1, 1, CONSIGNA);
    EXPECT_EQ(activitat().consigna, "");
    m.ord_afagir(1, 1, CONSIGNA, QStringLiteral("Hola"));

    ASSERT_EQ(m.item_desar(1), ModelPlanificador::Desat::fet);
    const item& it = activitat().items[1];
    EXPECT_EQ(it.estimuls,
              QStringLiteral("2") + S + abs("so.wav") + S + QStringLiteral("Hola|") + abs("imatge.gif"));
    EXPECT_EQ(it.si_be,
              QStringLiteral("1") + S +
                  QStringList({abs("o1.bmp"), abs("nou.wav"), abs("o3.bmp"), abs("o4.bmp")}).join(S));
    EXPECT_EQ(it.si_mal, QStringLiteral("1") + S + abs("b.wav"));
    EXPECT_EQ(activitat().consigna, ruta_absoluta(QStringLiteral("Hola")));

    // Reloaded, the grids show the same.
    m.item_carregar(1);
    EXPECT_EQ(fila(ESTIMULS, 2).first(), "imatge.gif");
    EXPECT_EQ(fila(SI_BE, 1).mid(0, 4), (QStringList{"o1.bmp", "nou.wav", "o3.bmp", "o4.bmp"}));
    EXPECT_EQ(l.nombre_mal, 1);
}

TEST_F(Planificador, InsertionWindowFollowsAndNeverGoesBelowTheFront) {
    posar_items({amb_accio(QStringLiteral("2") + S + ordres(6) + u'|' + ordres(6))});
    m.item_carregar(1);
    auto& c = activitat().graella_comptes[SI_BE];
    m.ord_afagir(1, 6, SI_BE, QStringLiteral("n.wav"));
    EXPECT_EQ(c[1][1], 7);
    EXPECT_EQ(c[1][0], 2);
    m.ord_afagir(2, 1, SI_BE, QStringLiteral("p.wav"));
    EXPECT_EQ(c[2][0], 0);
    // With the window at 0, column 1 stands before the first order: the front.
    m.ord_afagir(2, 1, SI_BE, QStringLiteral("q.wav"));
    EXPECT_EQ(c[2][0], 0);
    EXPECT_TRUE(llistes().llista_be[2].startsWith(QStringLiteral("q.wav") + S + QStringLiteral("p.wav") + S));
    // Removing from a row of 8 with window 3: 7 left, window 2.
    c[1][0] = 3;
    m.ord_afagir(1, 9, SI_BE, QStringLiteral("z.wav"));
    ASSERT_EQ(c[1][1], 8);
    m.ord_esborrar(1, 7, SI_BE);
    EXPECT_EQ(c[1][1], 7);
    EXPECT_EQ(c[1][0], 2);
    m.ord_esborrar(1, 1, SI_BE);
    EXPECT_EQ(c[1][0], 1);
}

TEST_F(Planificador, ScrolledRemovalRemovesOnlyThatEntry) {
    QStringList e;
    for (int i = 1; i <= 6; ++i)
        e << QStringLiteral("r%1.wav").arg(i);
    posar_items({amb_accio(QStringLiteral("6") + S + e.join(u'|'))});
    m.item_carregar(1);
    m.barra_canviada(SI_BE, 3);
    m.ord_esborrar(2, 1, SI_BE); // entry 4
    EXPECT_EQ(llistes().nombre_be, 5);
    EXPECT_EQ(llistes().llista_be.mid(1), (QStringList{"r1.wav", "r2.wav", "r3.wav", "r5.wav", "r6.wav"}));
    EXPECT_EQ(m.barra_max[SI_BE], 5);
}

TEST_F(Planificador, DeletingEveryRightReactionNeverStoresAnEmptyList) {
    posar_items({amb_accio()});
    m.item_carregar(1);
    m.ord_esborrar(1, 1, SI_BE);
    EXPECT_EQ(llistes().nombre_be, 0);
    resposta = false;
    EXPECT_EQ(m.item_desar(1), ModelPlanificador::Desat::cancellat);
    EXPECT_EQ(preguntes, std::vector<int>{58});
    // A blank entry is no reaction either.
    llistes().llista_be = QStringList{QString(), QStringLiteral("  ")};
    llistes().nombre_be = 1;
    EXPECT_EQ(m.item_desar(1), ModelPlanificador::Desat::cancellat);
    EXPECT_EQ(activitat().items[1].si_be, QStringLiteral("1") + S + abs("be.bmp"));
}

TEST_F(Planificador, LoadEmptiesTheListsOfTheItemBefore) {
    item a = amb_accio();
    a.estimuls = QStringLiteral("2") + S + QStringLiteral("x.bmp|y.bmp");
    posar_items({a, amb_accio()});
    m.item_carregar(1);
    m.item_carregar(2);
    EXPECT_EQ(llistes().nombre_estimuls, 0);
    m.ord_afagir(1, 1, ESTIMULS, QStringLiteral("z.bmp"));
    m.ordres_OMPLIR(ESTIMULS);
    // No row of the item before comes back.
    EXPECT_EQ(fila(ESTIMULS, 2).first(), "");
    EXPECT_EQ(llistes().llista_estimuls.size(), 2);
    // A row past the last entry stays empty, whatever the array holds there.
    llistes().llista_estimuls << QStringLiteral("fantasma.bmp");
    m.ord_omplir_fila(2, ESTIMULS);
    EXPECT_EQ(fila(ESTIMULS, 2).first(), "");
}

// ------------------------------------------------------------------ series

TEST_F(Planificador, RemovingAnActionJoinsThePlainRunsAroundIt) {
    EXPECT_EQ(serie_de_entrades({QStringLiteral("µabµ"), QStringLiteral("µcdµ")}), "abcd");
    EXPECT_EQ(serie_de_entrades({QStringLiteral("ESPAI"), QStringLiteral("µxµ")}), "{ESPAI}x");
    // The drag of a token past two plain runs.
    const QString l = QStringLiteral("µabµ") + S + QStringLiteral("F1") + S + QStringLiteral("µcdµ");
    EXPECT_EQ(llista_index(9, 2, 0, 3, l), "abcd{F1}");

    item it = amb_accio();
    it.serie = accions_text_a_codis(QStringLiteral("ab{ESPAI}cd"), 0);
    posar_items({it});
    m.item_carregar(1);
    m.accio_esborrar(2);
    EXPECT_EQ(planificador().item_editat[0].serie, "ABCD");
    EXPECT_FALSE(accions_text_a_codis(planificador().item_editat[0].serie, 0).contains(u'µ'));
    EXPECT_EQ(activitat().exercici_modificat, CERT);
    // A position past the series removes nothing.
    m.accio_esborrar(7);
    EXPECT_EQ(planificador().item_editat[0].serie, "ABCD");
}

// ------------------------------------------------------------------ load and store

TEST_F(Planificador, NextExerciseOptionsOnlyForTheExactNumbers) {
    posar_items({amb_accio()});
    Activitat& a = activitat();
    const std::pair<QString, int> casos[] = {{" 1", 0}, {"1", 0},     {" 2", 1},
                                             {"2", 1},  {"2.lrq", 2}, {"", -1}};
    for (const auto& [valor, opcio] : casos) {
        a.exercici_seguent = valor;
        a.exercici_modificat = FALS;
        m.item_carregar(1);
        EXPECT_EQ(m.exer_seg, opcio) << valor.toStdString();
        EXPECT_EQ(m.fit_exer, opcio == 2 ? valor : QString());
        EXPECT_EQ(a.exercici_seguent, valor);
        m.item_desar(1);
        EXPECT_EQ(a.exercici_seguent, valor);
        EXPECT_EQ(a.exercici_modificat, FALS) << valor.toStdString();
    }
}

TEST_F(Planificador, OnlyChangesMarkTheActivityModified) {
    item it = amb_accio();
    it.tecles_llista = accions_text_a_codis(QStringLiteral("{ESPAI}"), 0);
    it.estimuls = QStringLiteral("1") + S + abs("a.bmp") + S + QStringLiteral("Hola");
    posar_items({it, amb_accio()});
    Activitat& a = activitat();
    a.temps_total = 60;
    a.consigna = ruta_absoluta(QStringLiteral("Hola"));
    m.item_ultim_mostrar();
    m.navegar(1);
    m.navegar(2);
    EXPECT_EQ(a.exercici_modificat, FALS);
    EXPECT_EQ(a.items[1], it);
    m.ord_afagir(1, 1, SI_MAL, QStringLiteral("x.wav"));
    EXPECT_EQ(a.exercici_modificat, CERT);
    // A store that changes the item, with nothing else marking it.
    a.exercici_modificat = FALS;
    planificador().item_editat[0].retard_be = 7;
    m.item_desar(2);
    EXPECT_EQ(a.exercici_modificat, CERT);
    a.exercici_modificat = FALS;
    m.t_total = QStringLiteral("61");
    m.item_desar(2);
    EXPECT_EQ(a.exercici_modificat, CERT);
}

TEST_F(Planificador, SettingsAreStoredEvenWhenTheItemIsNot) {
    posar_items({item{}});
    m.item_carregar(1);
    EXPECT_EQ(m.t_total, " 0");
    const std::pair<QString, int16_t> casos[] = {{"40000", 32767}, {"-5", 0}, {"abc", 0}, {" 90", 90}};
    for (const auto& [text, valor] : casos) {
        m.t_total = text;
        m.finestra_opcio = 1;
        m.fitxer_so = QStringLiteral("veus");
        EXPECT_EQ(m.item_desar(1), ModelPlanificador::Desat::sense_accio);
        EXPECT_EQ(activitat().temps_total, valor) << text.toStdString();
        EXPECT_EQ(activitat().finestra_opcio, 1);
        EXPECT_EQ(activitat().carpeta_veu, "veus");
    }
}

TEST_F(Planificador, StoreCopiesToEveryItemAfterAsking) {
    posar_items({amb_accio(), amb_accio(), amb_accio()});
    Activitat& a = activitat();
    a.retard_tots_be = 0;
    a.retard_tots_mal = 3;
    m.item_carregar(2);
    m.ord_afagir(1, 9, SI_BE, QStringLiteral("mes.wav"));
    m.tots_be = 1;
    m.tots_be_Click();
    m.tots_temps = 1;
    EXPECT_EQ(m.item_desar(2), ModelPlanificador::Desat::fet);
    EXPECT_EQ(preguntes, std::vector<int>{17});
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(a.items[i].si_be, a.items[2].si_be);
        EXPECT_EQ(a.items[i].retard_mal, 3);
        EXPECT_EQ(a.items[i].retard_be, i == 2 ? 1 : 0);
    }
    EXPECT_EQ(a.tots_be_global, 1);
    // Asked once.
    m.item_desar(2);
    EXPECT_EQ(preguntes, std::vector<int>{17});
}

// ------------------------------------------------------------------ item commands

TEST_F(Planificador, DeleteFirstMiddleAndLastThenUndo) {
    std::vector<item> v;
    for (int i = 1; i <= 4; ++i) {
        item it = amb_accio();
        it.retard_accio = static_cast<float>(i);
        v.push_back(it);
    }
    v[2] = item{}; // an item without an action beside the deleted one
    v[2].retard_accio = 3;
    posar_items(v);
    const std::vector<item> original = activitat().items;
    m.item_ultim_mostrar();
    Activitat& a = activitat();

    m.navegar(2);
    ASSERT_TRUE(m.esborrar());
    EXPECT_EQ(a.nombre_items, 3);
    EXPECT_EQ(m.item_mostrat, 2);
    EXPECT_EQ(planificador().item_editat[0].retard_accio, 3);
    EXPECT_EQ(a.exercici_modificat, CERT);
    ASSERT_TRUE(m.desfer());
    EXPECT_EQ(a.nombre_items, 4);
    EXPECT_EQ(a.items, original);

    m.navegar(1);
    m.esborrar();
    EXPECT_EQ(a.items[1].retard_accio, 2);
    EXPECT_EQ(m.item_mostrat, 1);
    m.desfer();
    m.navegar(4);
    m.esborrar();
    EXPECT_EQ(m.item_mostrat, 3);
    EXPECT_EQ(a.nombre_items, 3);
    EXPECT_EQ(planificador().item_editat[0].retard_accio, 3);
    m.desfer();
    EXPECT_EQ(a.items, original);

    // One item: nothing happens.
    posar_items({amb_accio()});
    a.exercici_modificat = FALS;
    m.item_ultim_mostrar();
    EXPECT_FALSE(m.esborrar());
    EXPECT_EQ(a.nombre_items, 1);
}

TEST_F(Planificador, CopyAndPasteKeepTheCodesAndTheEditedLists) {
    item it = amb_accio();
    it.tecles_llista = accions_text_a_codis(QStringLiteral("{ESPAI}{F1}"), 0);
    it.serie = accions_text_a_codis(QStringLiteral("ab{ESPAI}"), 0);
    posar_items({amb_accio(), it});
    m.item_ultim_mostrar();
    EXPECT_TRUE(m.copiar_actiu);
    m.ord_afagir(1, 1, SI_MAL, QStringLiteral("mal.wav"));
    m.copiar();
    EXPECT_TRUE(m.enganxar_actiu);
    ASSERT_TRUE(m.enganxar());
    Activitat& a = activitat();
    ASSERT_EQ(a.nombre_items, 3);
    EXPECT_EQ(a.items[3].tecles_llista, it.tecles_llista);
    EXPECT_EQ(a.items[3].serie, it.serie);
    EXPECT_EQ(a.items[3].si_mal, QStringLiteral("1") + S + abs("mal.wav"));
    EXPECT_EQ(a.items[3], a.items[2]);
    EXPECT_EQ(m.item_mostrat, 3);
    EXPECT_FALSE(m.enganxar_actiu);
    EXPECT_EQ(planificador().item_editat.size(), 1u);
}

TEST_F(Planificador, AddOnlyWithAnAction) {
    posar_items({item{}});
    Activitat& a = activitat();
    a.retard_tots_accio = 4;
    m.item_ultim_mostrar();
    EXPECT_FALSE(m.afegir());
    EXPECT_EQ(a.nombre_items, 1);
    EXPECT_EQ(a.exercici_modificat, FALS);
    planificador().item_editat[0].ratoli[1] = 1;
    ASSERT_TRUE(m.afegir());
    EXPECT_EQ(a.nombre_items, 2);
    EXPECT_EQ(m.item_mostrat, 2);
    EXPECT_EQ(a.items[2].retard_accio, 4);
    EXPECT_EQ(a.exercici_modificat, CERT);
    // The item before had no right reaction: asked, cancelled, not stored.
    EXPECT_EQ(preguntes, std::vector<int>{58});
}

TEST_F(Planificador, UndoAfterAChangeAndWithoutASnapshot) {
    posar_items({amb_accio()});
    m.item_ultim_mostrar();
    QFile::remove(cami_desfer());
    const std::vector<item> abans = activitat().items;
    EXPECT_FALSE(m.desfer());
    ASSERT_EQ(avisos.size(), 1u);
    EXPECT_TRUE(avisos[0].startsWith(text_idioma(45)));
    EXPECT_TRUE(avisos[0].endsWith(cami_desfer()));
    EXPECT_EQ(activitat().items, abans);

    // The snapshot is what a save writes.
    ASSERT_TRUE(m.escriure_desfer());
    QFile f(cami_desfer());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), escriure_activitat(activitat(), idioma(), carpeta_activitat()));

    m.ord_afagir(1, 9, SI_BE, QStringLiteral("nou.wav"));
    m.item_desar(1); // a store writes no snapshot: the change before it is undone
    EXPECT_NE(activitat().items, abans);
    activitat().exercici_modificat = FALS;
    ASSERT_TRUE(m.desfer());
    EXPECT_EQ(activitat().items, abans);
    EXPECT_EQ(activitat().exercici_modificat, CERT);
}

TEST_F(Planificador, AnActivityWithoutItemsGetsOne) {
    Activitat& a = activitat();
    a.items.assign(1, item{});
    a.items[0].retard_be = 9;
    a.nombre_items = 0;
    m.item_ultim_mostrar();
    EXPECT_EQ(a.nombre_items, 1);
    EXPECT_EQ(m.item_mostrat, 1);
    planificador().item_editat[0].teclat[0] = 1;
    resposta = false;
    m.item_desar(0);
    EXPECT_EQ(a.items[0].retard_be, 9);
}

TEST_F(Planificador, AFailedSnapshotIsReportedOnce) {
    posar_items({amb_accio(), amb_accio()});
    cami_desfer() = tmp.path() + QStringLiteral("/no/hi/es/lrq.tmp");
    m.item_ultim_mostrar();
    EXPECT_FALSE(m.escriure_desfer());
    m.esborrar();
    ASSERT_EQ(avisos.size(), 1u);
    EXPECT_TRUE(avisos[0].startsWith(tradueix(QStringLiteral("fitxers|no_desat"))));
}

// ------------------------------------------------------------------ general page

struct Retards : Planificador {
    void posar(std::array<const char*, 8> v) {
        for (size_t i = 0; i < 8; ++i)
            m.retard[i] = QString::fromUtf8(v[i]);
    }
    QStringList caixes() const {
        QStringList l;
        for (const QString& t : m.retard)
            l << t;
        return l;
    }
    void SetUp() override {
        Planificador::SetUp();
        posar_items({amb_accio()});
        m.item_carregar(1);
    }
};

TEST_F(Retards, TheActivityGroupByTheChangedBox) {
    // Boxes: 0 right, 1 action, 2 stimulus, 6 wrong; item group left at 1.
    posar({"1", "5", "3", "1", "1", "1", "2", "1"});
    m.retard_LostFocus(2); // 3 + 1 <= 5: only rewritten
    EXPECT_EQ(caixes(), (QStringList{" 1", " 5", " 3", " 1", " 1", " 1", " 2", " 1"}));
    EXPECT_EQ(activitat().retard_tots_accio, 5.0f);
    EXPECT_EQ(activitat().retard_tots_mal, 2.0f);

    posar({"1", "5", "6", "1", "1", "1", "1", "1"});
    m.retard_LostFocus(2); // R = -1 < 1: R = 1 and A = 7
    EXPECT_EQ(m.retard[1], " 7");
    EXPECT_EQ(m.retard[2], " 6");
    EXPECT_EQ(m.retard[0], " 1");

    posar({"4", "5", "3", "1", "1", "1", "4", "1"});
    m.retard_LostFocus(0); // S = 1, A stays
    EXPECT_EQ(m.retard[2], " 1");
    EXPECT_EQ(m.retard[1], " 5");

    posar({"9", "5", "3", "1", "1", "1", "2", "1"});
    m.retard_LostFocus(0); // R = 2: 3 + 2 is not above 5
    EXPECT_EQ(caixes().mid(0, 3), (QStringList{" 9", " 5", " 3"}));
    posar({"9", "5", "3", "1", "1", "1", "9", "1"});
    m.retard_LostFocus(0); // S = -4: S = 0 and A = 9
    EXPECT_EQ(m.retard[2], " 0");
    EXPECT_EQ(m.retard[1], " 9");

    posar({"2", "1", "0", "1", "1", "1", "2", "1"});
    m.retard_LostFocus(1); // S = 0, reactions keep 2
    EXPECT_EQ(caixes().mid(0, 3), (QStringList{" 2", " 1", " 0"}));
    EXPECT_EQ(m.retard[6], " 2");

    // Computed in Double and shown in Str's form of one.
    posar({"4.3", "5", "1", "1", "1", "1", "4.3", "1"});
    m.retard_LostFocus(1);
    EXPECT_EQ(m.retard[2], " .7");
    EXPECT_EQ(activitat().retard_tots_estimul, 0.7f);
    // What is no number goes back to the stored time, never read in part; signs keep their place.
    posar({"abc", "2x", "-1", "1", "1", "1", " .5", "1"});
    m.retard_LostFocus(6);
    EXPECT_EQ(caixes().mid(0, 3), (QStringList{" 4.3", " 5", "-1"}));
    EXPECT_EQ(m.retard[6], " .5");
}

TEST_F(Retards, TheItemGroupMirrorsTheRuleAndStoresTheWorkingCopy) {
    posar({"1", "9", "1", "1", "1", "1", "1", "4"});
    // Item boxes: 3 action, 4 right, 5 stimulus, 7 wrong.
    posar({"1", "9", "1", "5", "4", "3", "1", "4"});
    m.retard_LostFocus(4); // as box 0: s = 1
    EXPECT_EQ(caixes().mid(3, 3), (QStringList{" 5", " 4", " 1"}));
    posar({"1", "9", "1", "5", "1", "6", "1", "1"});
    m.retard_LostFocus(5); // as box 2: r = 1, a = 7
    EXPECT_EQ(m.retard[3], " 7");
    posar({"1", "9", "1", "1", "2", "0", "1", "2"});
    m.retard_LostFocus(3); // as box 1
    EXPECT_EQ(caixes().mid(3, 3), (QStringList{" 1", " 2", " 0"}));
    const item& w = planificador().item_editat[0];
    EXPECT_EQ(w.retard_accio, 1.0f);
    EXPECT_EQ(w.retard_be, 2.0f);
    EXPECT_EQ(w.retard_mal, 2.0f);
    // Box 7, any index above the groups' own, only rewrites.
    posar({"1", "9", "1", "2", "3", "4", "1", "5"});
    m.retard_LostFocus(7);
    EXPECT_EQ(caixes(), (QStringList{" 1", " 9", " 1", " 2", " 3", " 4", " 1", " 5"}));
    EXPECT_EQ(w.retard_estimul, 4.0f);
    EXPECT_EQ(w.retard_mal, 5.0f);
}

TEST_F(Retards, ModificarTempsTotesFlagsAndTheQuestion) {
    posar_items({amb_accio(), amb_accio()});
    m.item_carregar(2);
    m.item_mostrat = 2;
    m.tots_temps = 1;
    m.tots_temps_Click();
    EXPECT_EQ(activitat().tots_temps_global, 1);
    EXPECT_EQ(m.retard_actiu, (std::array<bool, 8>{true, true, true, false, false, false, true, true}));
    planificador().temps_tots_canviats = false;
    m.retard[1] = QStringLiteral("8");
    m.retard_LostFocus(1); // an activity time while ticked
    EXPECT_TRUE(planificador().temps_tots_canviats);
    resposta = false;
    m.item_desar(2);
    EXPECT_EQ(preguntes, std::vector<int>{70});
    EXPECT_EQ(m.tots_temps, 0); // Cancel unticks
    EXPECT_EQ(activitat().tots_temps_global, 0);
    EXPECT_NE(activitat().items[1].retard_accio, 8.0f);
    EXPECT_EQ(m.retard_actiu, (std::array<bool, 8>{false, false, false, true, true, true, true, true}));
    // Unticked, an activity box changes no flag.
    planificador().temps_tots_canviats = false;
    m.retard_LostFocus(0);
    EXPECT_FALSE(planificador().temps_tots_canviats);
}

TEST_F(Planificador, NextExerciseWindowOptionAndRandomStimulus) {
    posar_items({amb_accio()});
    m.item_carregar(1);
    Activitat& a = activitat();
    m.Exer_seg_Click(1);
    EXPECT_EQ(a.exercici_seguent, " 2");
    EXPECT_EQ(m.exer_seg, 1);
    m.exercici_triat(QStringLiteral("altre.lrq"));
    EXPECT_EQ(a.exercici_seguent, "altre.lrq");
    EXPECT_EQ(m.fit_exer, "altre.lrq");
    EXPECT_EQ(m.exer_seg, 2);
    // Cancel in the chooser keeps what was set.
    m.exercici_triat(QString());
    EXPECT_EQ(a.exercici_seguent, "altre.lrq");
    m.Exer_seg_Click(0);
    EXPECT_EQ(a.exercici_seguent, " 1");
    EXPECT_TRUE(m.fit_exer.isEmpty());
    // Leaving the file box empty clears the setting.
    m.fit_exer_LostFocus();
    EXPECT_TRUE(a.exercici_seguent.isEmpty());
    EXPECT_EQ(m.exer_seg, -1);
    m.fit_exer = QStringLiteral("b.lrq");
    m.fit_exer_LostFocus();
    EXPECT_EQ(a.exercici_seguent, "b.lrq");
    EXPECT_EQ(m.exer_seg, 2);
    a.exercici_modificat = FALS;
    m.Option1_Click(1);
    EXPECT_EQ(m.finestra_opcio, 1);
    EXPECT_EQ(a.exercici_modificat, CERT);
    m.atzar_Click(true);
    EXPECT_EQ(a.mode_estimul, "0");
    m.atzar_Click(false);
    EXPECT_EQ(a.mode_estimul, "1");
    EXPECT_EQ(caracter_prohibit(QStringLiteral("a|b")), u'|');
    EXPECT_EQ(caracter_prohibit(QStringLiteral("a\"b")), u'"');
    EXPECT_EQ(caracter_prohibit(QStringLiteral("a") + S), QChar(0xBB));
    EXPECT_TRUE(caracter_prohibit(QStringLiteral("àé€ ñ")).isNull());
}

// ------------------------------------------------------------------ the ACCIO list

TEST_F(Planificador, ActionListEntriesInEveryLanguage) {
    item it = amb_accio();
    it.teclat[0] = 1;
    it.teclat[3] = 1; // the key-list flag alone makes no entry
    it.teclat[9] = 1;
    it.serie = accions_text_a_codis(QStringLiteral("ab{ESPAI}"), 0);
    it.tecles_llista = accions_text_a_codis(QStringLiteral("xy"), 0);
    it.web[0] = 1;
    it.jostick[4] = 1;
    it.veu[3] = 1;
    it.nivell = {1, 10, 50};
    it.ratoli[2] = 1;
    it.ratoli[3] = 1;
    it.zones_ratoli = QStringLiteral("H01H0A");
    it.web[11] = 1;
    it.zones_web = QStringLiteral("W0C");
    posar_items({it});
    const std::map<QString, QStringList> esperat{
        {IDIOMA_CATALA,
         {QStringLiteral("Sèrie µABµ»ESPAI"), "Teclat Qualsevol tecla", "Teclat Cursor {Esquerra}",
          "Llista Tecles ", "Web Moure web cam", "Joystick Botó 1", "Veu 03", "Soroll_entre  10 50",
          "Ratolí Clic dret", "Ratolí_Zona 001 010", "WEB 012"}},
        {QStringLiteral("español"),
         {QStringLiteral("Série µABµ»ESPACIO"), "TECLADO Cualquier tecla", "TECLADO Cursor {Izquierda}",
          "Lista de Teclas ", "Web Mover webcam", "Joystick Botón 1", "Voz 03", "Ruidol_entre  10 50",
          "Mouse Clic derecho", "Mouse_Zona 001 010", "WEB 012"}},
        {QStringLiteral("galego"),
         {QStringLiteral("Série µABµ»ESPAZO"), "Teclado Calquera tecla", "Teclado Cursor {Esquerda}",
          "Lista de Teclas ", "Web Mover webcam", "JOYSTICK Botón 1", "Voz 03", "Ruidol_entre  10 50",
          "Mouse Clic dereito", "Mouse_Zona 001 010", "WEB 012"}}};
    for (const auto& [llengua, entrades] : esperat) {
        idioma() = llengua;
        m.item_carregar(1);
        EXPECT_EQ(m.accions_entrades(), entrades) << llengua.toStdString();
        EXPECT_EQ(llistes().llista_accio.mid(1), entrades);
        EXPECT_EQ(activitat().graella_comptes[ACCIO][0][1], 11);
        EXPECT_EQ(m.et_inf[2], "x");
        EXPECT_EQ(activitat().graella_celles[ACCIO][1][1], "µABµ");
    }
}

TEST_F(Planificador, ActionListOfAnItemWithoutActionsIsEmpty) {
    posar_items({item{}});
    m.item_carregar(1);
    EXPECT_TRUE(m.accions_entrades().isEmpty());
    EXPECT_EQ(activitat().graella_comptes[ACCIO][0][1], 0);
    EXPECT_EQ(m.et_inf[2], "?");
    // The item's delay boxes follow the "Modificar Temps Totes" box.
    m.tots_temps = 1;
    m.accions_llista_omplir();
    EXPECT_FALSE(m.retard_actiu[3]);
    EXPECT_FALSE(m.retard_actiu[5]);
}

// ------------------------------------------------------------------ drag and drop, popup, editor

struct Celles : Planificador {
    QString desfer;
    void SetUp() override {
        Planificador::SetUp();
        desfer = cami_desfer();
        cami_desfer() = tmp.path() + QStringLiteral("/lrq.tmp");
    }
    void TearDown() override {
        cami_desfer() = desfer;
        Planificador::TearDown();
    }
    bool instantania() {
        const bool hi_es = QFile::exists(cami_desfer());
        QFile::remove(cami_desfer());
        return hi_es;
    }
    // Stores item 1 and loads it back: what the file would hold.
    item desat_i_recarregat() {
        EXPECT_EQ(m.item_desar(1), ModelPlanificador::Desat::fet);
        m.item_carregar(1);
        return activitat().items[1];
    }
    QString relatives(const QString& t) const { return ruta_relativa(t); }
};

TEST_F(Celles, DropWithinARowMovesTheOrder) {
    item it = amb_accio();
    it.estimuls = QStringLiteral("2") + S + ordres(6) + u'|' + ordres(9, 11);
    posar_items({it});
    m.item_carregar(1);
    instantania();
    // Column 5 onto column 2.
    ASSERT_TRUE(m.ord_DragDrop(2, 5, ESTIMULS, ESTIMULS));
    EXPECT_TRUE(instantania());
    EXPECT_EQ(fila(ESTIMULS, 1),
              (QStringList{"o1.bmp", "o5.bmp", "o2.bmp", "o3.bmp", "o4.bmp", "o6.bmp", ""}));
    // Column 2 onto column 5: before the order that was there.
    ASSERT_TRUE(m.ord_DragDrop(5, 2, ESTIMULS, ESTIMULS));
    EXPECT_EQ(fila(ESTIMULS, 1),
              (QStringList{"o1.bmp", "o2.bmp", "o3.bmp", "o5.bmp", "o4.bmp", "o6.bmp", ""}));
    // A scrolled row moves the order shown, not the one of the unscrolled row.
    m.ord_seguent(2, ESTIMULS);
    m.ord_seguent(2, ESTIMULS); // Previous, o14..o18, Next
    ASSERT_EQ(m.text_cella(ESTIMULS, 11), "o16.bmp");
    ASSERT_TRUE(m.ord_DragDrop(9, 11, ESTIMULS, ESTIMULS));
    const item d = desat_i_recarregat();
    const QStringList segona = relatives(d.estimuls).split(u'|').at(1).split(S);
    EXPECT_EQ(segona, (QStringList{"o11.bmp", "o12.bmp", "o13.bmp", "o16.bmp", "o14.bmp", "o15.bmp",
                                   "o17.bmp", "o18.bmp", "o19.bmp"}));
}

TEST_F(Celles, RefusedDropsWriteNothing) {
    item it = amb_accio();
    it.estimuls = QStringLiteral("1") + S + ordres(3);
    it.si_mal = QStringLiteral("1") + S + ordres(3);
    posar_items({it});
    m.item_carregar(1);
    instantania();
    EXPECT_FALSE(m.ord_DragDrop(2, 2, ESTIMULS, ESTIMULS)); // onto itself
    EXPECT_FALSE(m.ord_DragDrop(6, 1, ESTIMULS, ESTIMULS)); // not an insertion point
    EXPECT_FALSE(m.ord_DragDrop(5, 6, ESTIMULS, ESTIMULS)); // nothing dragged
    EXPECT_FALSE(m.ord_DragDrop(2, 1, ESTIMULS, SI_MAL));   // from another list
    EXPECT_FALSE(instantania());
    EXPECT_EQ(fila(ESTIMULS, 1), (QStringList{"o1.bmp", "o2.bmp", "o3.bmp", "", "", "", ""}));
    EXPECT_EQ(fila(SI_MAL, 1), (QStringList{"o1.bmp", "o2.bmp", "o3.bmp", "", "", "", ""}));
}

TEST_F(Celles, DropOfTheOnlyOrderOfTheLastRow) {
    item it = amb_accio();
    it.si_mal = QStringLiteral("2") + S + ordres(2) + u'|' + QStringLiteral("sol.wav");
    posar_items({it});
    m.item_carregar(1);
    ASSERT_TRUE(m.ord_DragDrop(2, 8, SI_MAL, SI_MAL));
    EXPECT_EQ(fila(SI_MAL, 1), (QStringList{"o1.bmp", "sol.wav", "o2.bmp", "", "", "", ""}));
    EXPECT_EQ(fila(SI_MAL, 2), (QStringList{"", "", "", "", "", "", ""}));
    EXPECT_EQ(llistes().nombre_mal, 1);
    EXPECT_EQ(relatives(desat_i_recarregat().si_mal),
              QStringLiteral("1") + S + "o1.bmp" + S + "sol.wav" + S + "o2.bmp");
    // The only order of the first row dropped into the second: the entries move up.
    it.si_mal = QStringLiteral("2") + S + QStringLiteral("sol.wav") + u'|' + ordres(2);
    posar_items({it});
    m.item_carregar(1);
    ASSERT_TRUE(m.ord_DragDrop(9, 1, SI_MAL, SI_MAL));
    EXPECT_EQ(fila(SI_MAL, 1), (QStringList{"o1.bmp", "sol.wav", "o2.bmp", "", "", "", ""}));
    EXPECT_EQ(relatives(desat_i_recarregat().si_mal),
              QStringLiteral("1") + S + "o1.bmp" + S + "sol.wav" + S + "o2.bmp");
}

TEST_F(Celles, ActionDropReordersTheSeriesOnlyFromItsFirstEntry) {
    item it = amb_accio();
    it.serie = accions_text_a_codis(QStringLiteral("ab{ESPAI}cd{F1}"), 0);
    it.ratoli[1] = 1;
    it.ratoli[2] = 1;
    posar_items({it});
    m.item_carregar(1);
    instantania();
    ASSERT_EQ(fila(ACCIO, 1), (QStringList{"µABµ", "ESPAI", "µCDµ", "F1", "", "", ""}));
    // F1 before ESPAI.
    ASSERT_TRUE(m.accio_DragDrop(2, 4, ACCIO));
    EXPECT_TRUE(instantania()); // a change like any other: "Desfer" undoes it alone
    EXPECT_EQ(planificador().item_editat[0].serie, "AB{F1}{ESPAI}CD");
    EXPECT_EQ(llistes().llista_accio[1], QStringLiteral("Sèrie µABµ»F1»ESPAI»µCDµ"));
    EXPECT_EQ(accions_text_a_codis(desat_i_recarregat().serie, 1), "AB{F1}{ESPAI}CD");
    // Moving the last plain run to the front keeps it a plain run.
    ASSERT_TRUE(m.accio_DragDrop(1, 4, ACCIO));
    EXPECT_EQ(planificador().item_editat[0].serie, "CDAB{F1}{ESPAI}");
    // From another list, onto itself, or below the series row: refused.
    EXPECT_FALSE(m.accio_DragDrop(1, 2, ESTIMULS));
    EXPECT_FALSE(m.accio_DragDrop(2, 2, ACCIO));
    EXPECT_FALSE(m.accio_DragDrop(8, 2, ACCIO));
    // A scrolled list shows another entry in row 1.
    m.barra_canviada(ACCIO, 2);
    EXPECT_FALSE(m.accio_DragDrop(1, 2, ACCIO));
    EXPECT_FALSE(m.accio_popup_permes(1));
    m.barra_canviada(ACCIO, 1);
    EXPECT_TRUE(m.accio_popup_permes(1));
    EXPECT_FALSE(m.accio_popup_permes(8));
    EXPECT_EQ(planificador().item_editat[0].serie, "CDAB{F1}{ESPAI}");
}

TEST_F(Celles, ActionPopupDeleteBetweenTwoPlainRuns) {
    item it = amb_accio();
    it.serie = accions_text_a_codis(QStringLiteral("ab{ESPAI}cd"), 0);
    posar_items({it});
    m.item_carregar(1);
    instantania();
    ASSERT_TRUE(m.menu2_esborrar(2, ACCIO));
    EXPECT_TRUE(instantania());
    EXPECT_EQ(desat_i_recarregat().serie, accions_text_a_codis(QStringLiteral("abcd"), 0));
    EXPECT_EQ(fila(ACCIO, 1).at(0), "µABCDµ");
}

TEST_F(Celles, PopupDeleteCopyAndPaste) {
    item it = amb_accio();
    it.estimuls = QStringLiteral("2") + S + ordres(3) + u'|' + QStringLiteral("x.wav");
    posar_items({it});
    m.item_carregar(1);
    instantania();
    // Copy writes no snapshot; an empty cell copies nothing.
    EXPECT_FALSE(m.menu2_copiar(5, ESTIMULS));
    ASSERT_TRUE(m.menu2_copiar(2, ESTIMULS));
    EXPECT_EQ(m.portapapers(), "o2.bmp");
    EXPECT_FALSE(instantania());
    // Paste on empty cell 5 of a row of three: refused.
    EXPECT_FALSE(m.menu2_enganxar(5, ESTIMULS));
    EXPECT_FALSE(instantania());
    // Into the first row after the last: a new entry, the clipboard kept.
    ASSERT_TRUE(m.menu2_enganxar(15, ESTIMULS));
    EXPECT_TRUE(instantania());
    EXPECT_EQ(m.portapapers(), "o2.bmp");
    // Before a filled cell: used up.
    ASSERT_TRUE(m.menu2_enganxar(8, ESTIMULS));
    EXPECT_TRUE(m.portapapers().isEmpty());
    EXPECT_FALSE(m.menu2_enganxar(1, ESTIMULS));
    EXPECT_EQ(fila(ESTIMULS, 2), (QStringList{"o2.bmp", "x.wav", "", "", "", "", ""}));
    // Delete the only order of row 3: the entry goes.
    ASSERT_TRUE(m.menu2_esborrar(15, ESTIMULS));
    EXPECT_TRUE(instantania());
    EXPECT_FALSE(m.menu2_esborrar(15, ESTIMULS));
    EXPECT_FALSE(instantania());
    ASSERT_TRUE(m.menu2_esborrar(1, ESTIMULS));
    EXPECT_EQ(relatives(desat_i_recarregat().estimuls),
              QStringLiteral("2") + S + "o2.bmp" + S + "o3.bmp|o2.bmp" + S + "x.wav");
    // A new item load empties the clipboard.
    m.menu2_copiar(1, ESTIMULS);
    m.item_carregar(1);
    EXPECT_TRUE(m.portapapers().isEmpty());
}

TEST_F(Celles, PopupDeleteOnAScrolledListAndRow) {
    item it = amb_accio();
    QStringList e;
    for (int i = 0; i < 5; ++i)
        e << ordres(1, 10 * i + 1);
    e << ordres(9, 60);
    it.si_be = QStringLiteral("6") + S + e.join(u'|');
    posar_items({it});
    m.item_carregar(1);
    m.barra_canviada(SI_BE, 3); // rows show entries 3..6
    // The last row (entry 6) scrolled by Next twice: cell 2 shows o63.
    m.ord_seguent(4, SI_BE);
    m.ord_seguent(4, SI_BE);
    ASSERT_EQ(m.text_cella(SI_BE, 23), "o63.bmp");
    ASSERT_TRUE(m.menu2_esborrar(23, SI_BE));
    EXPECT_FALSE(llistes().llista_be[6].contains(QStringLiteral("o63.bmp")));
    EXPECT_TRUE(llistes().llista_be[6].contains(QStringLiteral("o62.bmp")));
    // The only order of row 3 (entry 5): the later entry moves up and the row
    // past the end stays empty.
    ASSERT_TRUE(m.menu2_esborrar(15, SI_BE));
    EXPECT_EQ(llistes().nombre_be, 5);
    EXPECT_EQ(fila(SI_BE, 4), (QStringList{"", "", "", "", "", "", ""}));
    EXPECT_EQ(fila(SI_BE, 3).at(0), "o60.bmp");
}

TEST_F(Celles, EditedOrderReplacesTheOldOneOnAScrolledRow) {
    item it = amb_accio();
    it.estimuls = QStringLiteral("1") + S + ordres(9);
    posar_items({it});
    m.item_carregar(1);
    m.ord_seguent(1, ESTIMULS);
    m.ord_seguent(1, ESTIMULS); // window 3: Previous, o4..o8, Next
    const int inici = activitat().graella_comptes[ESTIMULS][1][0];
    for (int columna : {2, 6}) {
        ASSERT_EQ(m.text_cella(ESTIMULS, columna), QStringLiteral("o%1.bmp").arg(inici + columna - 1));
        m.ordre_editada(columna, ESTIMULS, QStringLiteral("nou%1.wav").arg(columna), true, inici);
        EXPECT_EQ(m.text_cella(ESTIMULS, columna), QStringLiteral("nou%1.wav").arg(columna));
        EXPECT_EQ(activitat().graella_comptes[ESTIMULS][1][0], inici);
        EXPECT_EQ(activitat().graella_comptes[ESTIMULS][1][1], 9);
    }
    // A new order at an insertion point goes before the cell's order.
    m.ordre_editada(3, ESTIMULS, QStringLiteral("mig.wav"), false, inici);
    const QStringList esperat{"o1.bmp", "o2.bmp", "o3.bmp", "nou2.wav", "mig.wav",
                              "o5.bmp", "o6.bmp", "o7.bmp", "nou6.wav", "o9.bmp"};
    EXPECT_EQ(relatives(desat_i_recarregat().estimuls), QStringLiteral("1") + S + esperat.join(S));
}

// ------------------------------------------------------------------ the window

struct Finestra : Planificador {
    std::unique_ptr<Form1> f;
    std::vector<std::optional<QString>> respostes; // the file choices, in order
    void SetUp() override {
        Planificador::SetUp();
        f = std::make_unique<Form1>();
        ASSERT_TRUE(f->Form_Load());
        carpeta_activitat() = tmp.path();
        triador_fitxer() = [this](QWidget*, const EleccioFitxer&) -> std::optional<QString> {
            if (respostes.empty()) return std::nullopt;
            const bool triat = respostes.front().has_value();
            const QString r = respostes.front().value_or(QString());
            respostes.erase(respostes.begin());
            return triat ? std::optional<QString>(r) : std::nullopt;
        };
    }
    void TearDown() override {
        f.reset();
        triador_fitxer() = dialeg_fitxer;
        plataforma::posar_motor_veu(nullptr);
        Planificador::TearDown();
    }
    QByteArray llegir(const QString& cami) const {
        QFile fitxer(cami);
        return fitxer.open(QIODevice::ReadOnly) ? fitxer.readAll() : QByteArray();
    }
};

TEST_F(Finestra, CloseStoresTheItemAndLeavesThePlayerWithItsMenus) {
    posar_items({amb_accio(), amb_accio()});
    activitat().fitxer_actual = abs("a.lrq");
    {
        planificar p(f.get());
        p.Form_Load();
        p.show();
        EXPECT_EQ(p.Label2->text(), "2");
        EXPECT_TRUE(p.mn_acc[2]->isEnabled());
        EXPECT_TRUE(QFile::exists(cami_desfer()));
        EXPECT_TRUE(planificador().visible);
        ASSERT_TRUE(entorn_planificador().item_editat);
        EXPECT_EQ(entorn_planificador().item_editat(), &planificador().item_editat[0]);
        EXPECT_EQ(entorn_planificador().item_mostrat(), 2);
        // The Esc stop with both windows up.
        f->atura_per_esc();
        EXPECT_FALSE(planificador().visible);

        p.model.ord_afagir(1, 9, SI_BE, QStringLiteral("afegit.wav"));
        p.mn_sortir_Click();
        EXPECT_TRUE(activitat().items[2].si_be.endsWith(abs("afegit.wav")));
        EXPECT_EQ(jugador().estat_finestra, 2);
    }
    EXPECT_EQ(entorn_planificador().item_editat(), nullptr);
    EXPECT_EQ(entorn_planificador().item_mostrat(), 0);
}

TEST_F(Finestra, NavigatorAndItemButtons) {
    posar_items({amb_accio(), amb_accio(), amb_accio()});
    planificar p(f.get());
    p.Form_Load();
    EXPECT_EQ(p.HScroll1->maximum(), 3);
    EXPECT_TRUE(p.Label2->isReadOnly());
    p.HScroll1->setValue(1);
    EXPECT_EQ(p.Label2->text(), "1");
    p.Command1[5]->click();
    EXPECT_EQ(activitat().nombre_items, 2);
    EXPECT_EQ(p.HScroll1->maximum(), 2);
    EXPECT_EQ(p.Label2->text(), "1");
    p.mn_acc[2]->trigger();
    p.mn_acc[3]->trigger();
    EXPECT_EQ(activitat().nombre_items, 3);
    EXPECT_EQ(p.Label2->text(), "3");
    EXPECT_FALSE(p.mn_acc[3]->isEnabled());
    EXPECT_FALSE(p.mn_disc[3]->isEnabled());
    // The right reactions' page shows the item's reaction.
    p.reaccions_Click(3);
    EXPECT_TRUE(p.Frame2[0]->isVisibleTo(&p));
    EXPECT_FALSE(p.Frame0->isVisibleTo(&p));
    EXPECT_TRUE(p.celles[SI_BE][1]->isVisibleTo(&p));
    EXPECT_FALSE(p.celles[SI_BE][1]->pixmap().isNull());
    p.close();
}

TEST_F(Finestra, NewAndOpenAskBeforeDroppingChangesAndACancelLosesNothing) {
    posar_items({amb_accio(), amb_accio()});
    planificar p(f.get());
    p.Form_Load();
    Activitat& a = activitat();
    a.exercici_modificat = CERT;
    const std::vector<item> abans = a.items;

    auto r = respondre_missatge(QMessageBox::Cancel);
    p.mn_disc_Click(0);
    EXPECT_TRUE(r->vist);
    EXPECT_EQ(a.items, abans);
    r = respondre_missatge(QMessageBox::Cancel);
    p.mn_disc_Click(1);
    EXPECT_TRUE(r->vist);
    EXPECT_EQ(a.items, abans);
    // Agreed, then the choice cancelled: still the same activity.
    r = respondre_missatge(QMessageBox::Ok);
    p.mn_disc_Click(1);
    EXPECT_EQ(a.items, abans);
    EXPECT_EQ(a.nombre_items, 2);

    // Opened: the example, its last item shown, the snapshot rewritten.
    const QString exemple = tmp.filePath(QStringLiteral("primera.lrq"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(LUMI_EXEMPLES "/primera/primera.lrq"), exemple));
    respostes = {exemple};
    r = respondre_missatge(QMessageBox::Ok);
    p.mn_disc_Click(1);
    EXPECT_EQ(a.fitxer_actual, exemple);
    EXPECT_EQ(a.nombre_items, 3);
    EXPECT_EQ(p.Label2->text(), "3");
    EXPECT_EQ(f->windowTitle(), QStringLiteral("LUMIRAGA - ") + exemple);
    EXPECT_EQ(llegir(cami_desfer()), escriure_activitat(a, idioma(), carpeta_activitat()));
    EXPECT_TRUE(planificador().visible);

    // New: one empty item.
    p.mn_disc_Click(0);
    EXPECT_EQ(a.nombre_items, 1);
    EXPECT_EQ(p.Label2->text(), "1");
    EXPECT_EQ(llegir(cami_desfer()), escriure_activitat(a, idioma(), carpeta_activitat()));
}

TEST_F(Finestra, SaveStoresTheItemAndAFailureKeepsTheChanges) {
    posar_items({amb_accio()});
    planificar p(f.get());
    p.Form_Load();
    Activitat& a = activitat();
    p.model.ord_afagir(1, 1, SI_MAL, QStringLiteral("mal.wav"));
    const QString dolent = tmp.filePath(QStringLiteral("no/hi/es/a.lrq"));
    respostes = {dolent};
    auto r = respondre_missatge(QMessageBox::Ok);
    p.mn_disc_Click(2);
    ASSERT_TRUE(r->vist);
    EXPECT_EQ(r->text, tradueix(QStringLiteral("fitxers|no_desat")) + QStringLiteral("\n") + dolent);
    EXPECT_EQ(a.exercici_modificat, CERT);
    EXPECT_TRUE(a.items[1].si_mal.endsWith(QStringLiteral("mal.wav")));

    const QString bo = tmp.filePath(QStringLiteral("b.lrq"));
    respostes = {bo};
    p.mn_disc_Click(2);
    EXPECT_EQ(a.exercici_modificat, FALS);
    EXPECT_EQ(a.fitxer_actual, bo);
    EXPECT_TRUE(llegir(bo).contains("mal.wav"));
}

TEST_F(Finestra, NextFileBoxDropsEveryCharacterThatWouldBreakTheFile) {
    posar_items({amb_accio()});
    planificar p(f.get());
    p.Form_Load();
    const QString tecleja = QStringLiteral("a|b\"c") + QChar(0xBB) + QStringLiteral("d||e.lrq");
    p.fit_exer->setText(tecleja);
    emit p.fit_exer->textEdited(tecleja);
    EXPECT_EQ(p.fit_exer->text(), "abcde.lrq");
    EXPECT_EQ(p.fit_exer->toolTip(), avis_caracter(tecleja));
    EXPECT_FALSE(p.fit_exer->toolTip().isEmpty());
    emit p.fit_exer->textEdited(p.fit_exer->text());
    EXPECT_EQ(p.fit_exer->text(), "abcde.lrq");
    EXPECT_TRUE(p.fit_exer->toolTip().isEmpty());
}

TEST_F(Finestra, PatternBoxFollowsTheSpeechEngineAndCloseCentresThePointer) {
    posar_items({amb_accio()});
    {
        planificar p(f.get());
        p.Form_Load();
        EXPECT_FALSE(p.fitxer_so->isEnabled());
    }
    plataforma::MotorVeuSintetic motor;
    plataforma::posar_motor_veu(&motor);
    planificar p(f.get());
    p.Form_Load();
    EXPECT_TRUE(p.fitxer_so->isEnabled());
    EXPECT_TRUE(p.buto[3]->isEnabled());
    f->Image1->resize(201, 609);
    jugador().marge_x = jugador().marge_y = 1;
    p.close();
    // Each sum rounded once, halves to even: 101.5 and 305.5.
    EXPECT_EQ(plataforma::cursor_posat(), f->centralWidget()->mapToGlobal(QPoint(102, 306)));
}

TEST_F(Finestra, EveryOrderAndActionKindHasItsPicture) {
    const std::pair<QString, QString> llengues[] = {
        {IDIOMA_CATALA, "catala"}, {IDIOMA_ESPANOL, "espanol"}, {IDIOMA_GALEGO, "galego"}};
    for (const auto& [llengua, nom] : llengues) {
        idioma() = llengua;
        QLabel cella;
        cella.resize(54, 54);
        QStringList ordres{"a.bmp", "b.lrq", "c.wav",         "d.avi",         "e.swf",
                           "f.exe", "Hola",  marca_seguent(), marca_anterior()};
        for (int m : {69, 62, 63, 64, 76, 65, 66, 79})
            ordres << text_idioma(m) + QStringLiteral("_1");
        ordres << text_idioma(10).toUpper() + QStringLiteral("_255");
        for (const QString& o : ordres) {
            const QString tipus = icona_recurs(o, &cella);
            EXPECT_FALSE(tipus.isEmpty()) << o.toStdString() << " " << nom.toStdString();
            EXPECT_FALSE(cella.pixmap().isNull()) << o.toStdString() << " " << nom.toStdString();
        }
        // ITEM orders show the activity files' picture; GFONS and ZFONS share one.
        EXPECT_EQ(imatge_tipus(icona_recurs_tipus(text_idioma(79) + QStringLiteral("_001"))),
                  imatge_tipus(QStringLiteral("LRQ")));
        EXPECT_EQ(imatge_tipus(text_idioma(64)), imatge_tipus(text_idioma(76)));
        for (const QString& accio : {tradueix(QStringLiteral("Clic dret")), QStringLiteral("ESPAI"),
                                     tradueix(QStringLiteral("Joystick")) + QStringLiteral(" 1"),
                                     text_idioma(32) + QStringLiteral("1"), marca_seguent()}) {
            EXPECT_FALSE(icona_accio(accio, &cella).isEmpty()) << accio.toStdString();
            EXPECT_FALSE(cella.pixmap().isNull()) << accio.toStdString();
        }
        EXPECT_EQ(icona_recurs(QString(), &cella), "");
        EXPECT_TRUE(cella.pixmap().isNull());
    }
    idioma() = IDIOMA_CATALA;

    std::vector<QLabel*> celles;
    std::vector<std::unique_ptr<QLabel>> propietat;
    for (int i = 0; i < 4; ++i) {
        propietat.push_back(std::make_unique<QLabel>());
        celles.push_back(propietat.back().get());
    }
    icona_marcar(celles, 2);
    EXPECT_EQ(celles[2]->frameShape(), QFrame::Panel);
    EXPECT_EQ(celles[1]->frameShape(), QFrame::NoFrame);
    icona_marcar(celles, 9); // no such cell: nothing changes
    EXPECT_EQ(celles[2]->frameShape(), QFrame::Panel);
    icona_marcar(celles, 3);
    EXPECT_EQ(celles[2]->frameShape(), QFrame::NoFrame);
}

// Every caption key of the form reaches one of its controls, with its text.
template <class F> void claus_arriben(const QString& nom_form, int nombre, const F& crear) {
    const QString arrel = QStringLiteral(LUMI_EXEMPLES) + QStringLiteral("/../lang/");
    const std::pair<QString, QString> llengues[] = {
        {IDIOMA_CATALA, "catala.json"}, {IDIOMA_ESPANOL, "espanol.json"}, {IDIOMA_GALEGO, "galego.json"}};
    for (const auto& [llengua, fitxer] : llengues) {
        QFile j(arrel + fitxer);
        ASSERT_TRUE(j.open(QIODevice::ReadOnly)) << fitxer.toStdString();
        idioma() = llengua;
        auto form = crear();
        tradueix_formulari(form.get());
        const QList<QObject*> controls = controls_formulari(form.get());
        int claus = 0;
        for (const QJsonValue& v :
             QJsonDocument::fromJson(j.readAll()).object().value("traduccions").toArray()) {
            const QString clau = v.toArray().at(0).toString();
            if (!clau.startsWith(nom_form + u'|')) continue;
            ++claus;
            const QStringList parts = clau.split(u'|');
            const QString nom = parts.at(1).trimmed();
            const int index = parts.at(2).trimmed().isEmpty() ? -1 : parts.at(2).trimmed().toInt();
            bool trobat = false;
            for (QObject* c : controls) {
                if (c->objectName() != nom || index_control(c) != index) continue;
                trobat = true;
                EXPECT_EQ(caption_control(c), v.toArray().at(1).toString()) << clau.toStdString();
            }
            EXPECT_TRUE(trobat) << clau.toStdString() << " " << fitxer.toStdString();
        }
        EXPECT_EQ(claus, nombre);
    }
    idioma() = IDIOMA_CATALA;
}

TEST_F(Finestra, EveryCaptionKeyReachesAControlInEveryLanguage) {
    claus_arriben(QStringLiteral("planificar"), 63, [this] { return std::make_unique<planificar>(f.get()); });
    claus_arriben(QStringLiteral("Finestra2"), 16,
                  [] { return std::make_unique<Finestra2>(nullptr, QStringLiteral("t"), 1, 1); });
    claus_arriben(QStringLiteral("paraules"), 2, [] { return std::make_unique<paraules>(nullptr); });
}

} // namespace

// ------------------------------------------------------------------ the cell editor and the words dialog

// The editors' dialogs answered by the test, each call recorded.
struct Editors : Finestra {
    TriadorsOrdres abans;
    std::vector<QString> fitxers_demanats; // the value each chooser opened on
    QString fitxer;                        // what the chooser answers
    QString color;
    std::optional<font_text> font;
    std::optional<QString> entrada;
    QString entrada_proposta;
    int modals = 0;
    std::function<int(QDialog&)> en_modal; // what the user does in a modal form
    void SetUp() override {
        Finestra::SetUp();
        abans = triadors_ordres();
        TriadorsOrdres& t = triadors_ordres();
        t.fitxers = [this](const QString& actual, QWidget*, const QString&) {
            fitxers_demanats.push_back(actual);
            return fitxer;
        };
        t.color = [this](QWidget*, const QString&) { return color; };
        t.font = [this](QWidget*, font_text& f) {
            if (font) f = *font;
            return font.has_value();
        };
        t.entrada = [this](QWidget*, const QString&, const QString&, const QString& valor) {
            entrada_proposta = valor;
            return entrada;
        };
        t.modal = [this](QDialog& d) {
            ++modals;
            return en_modal ? en_modal(d) : static_cast<int>(QDialog::Rejected);
        };
    }
    void TearDown() override {
        triadors_ordres() = abans;
        Finestra::TearDown();
    }
};

TEST_F(Editors, CommandFormats) {
    Finestra2 e(nullptr, QStringLiteral("Llista"), 1, 2);
    EXPECT_EQ(e.dada[0]->text(), " 1");
    EXPECT_EQ(e.dada[1]->text(), " 2");
    EXPECT_FALSE(e.Canc[1]->isEnabled());
    EXPECT_TRUE(e.Canc[6]->isHidden());
    font_text f;
    f.nom = QStringLiteral("Arial");
    f.mida = 14;
    f.negreta = CERT;
    f.cursiva = FALS;
    font = f;
    e.mn_ord_Click(1); // no accept
    EXPECT_EQ(e.Text1->text(), "FONT_Arial 14-1 0");
    EXPECT_FALSE(e.desat);
    e.Canc_Click(1);
    EXPECT_EQ(e.desat.value_or("-"), "FONT_Arial 14-1 0");

    auto espera = [&](const QString& resposta) {
        Finestra2 w(nullptr, QString(), 1, 1);
        w.Text1->setText(QStringLiteral("abans"));
        entrada = resposta;
        w.mn_ord_Click(4);
        return w.desat.value_or("-");
    };
    EXPECT_EQ(espera(QStringLiteral("1,5")), "ESPERA_15");
    EXPECT_EQ(entrada_proposta, "1"); // one second proposed
    EXPECT_EQ(espera(QStringLiteral("2.5")), "ESPERA_25");
    auto r = respondre_missatge(QMessageBox::Ok);
    EXPECT_EQ(espera(QStringLiteral("abc")), "abans"); // no number: refused, saying why
    EXPECT_EQ(r->text, tradueix(QStringLiteral("caixes|no_nombre")).arg(QStringLiteral("abc")));
    entrada.reset();
    EXPECT_EQ(espera(QString()), "abans"); // Cancel stores the text unchanged

    Finestra2 g(nullptr, QString(), 1, 1);
    fitxer = QStringLiteral("fons.bmp");
    g.mn_ord_Click(0);
    EXPECT_EQ(g.desat.value_or("-"), "GFONS_fons.bmp___");
    Finestra2 c(nullptr, QString(), 1, 1);
    color = QStringLiteral("255");
    c.Canc_Click(5);
    EXPECT_EQ(c.desat.value_or("-"), "COLOR_255");
    Finestra2 t(nullptr, QString(), 1, 1);
    t.mn_ord_Click(5);
    EXPECT_EQ(t.Text1->text(), "TANCAR_");
    t.mn_ord_Click(3);
    EXPECT_EQ(t.desat.value_or("-"), "CTFONS_255");
    // Stored once: a later accept changes nothing.
    t.Text1->setText(QStringLiteral("altre"));
    t.Canc_Click(1);
    EXPECT_EQ(t.desat.value_or("-"), "CTFONS_255");
}

TEST_F(Editors, ItemAndZoneMenus) {
    posar_items(std::vector<item>(12, amb_accio()));
    Finestra2 e(nullptr, QString(), 1, 1);
    ASSERT_EQ(e.mn_item.size(), 12u);
    EXPECT_EQ(e.mn_item[11]->text(), "Item 12");
    e.mn_item[8]->trigger();
    EXPECT_EQ(e.Text1->text(), "ITEM_009");
    ASSERT_EQ(e.mn_zona.size(), 1u);
    EXPECT_FALSE(e.mn_zona[0]->isEnabled());
    EXPECT_EQ(e.mn_zona[0]->text(), text_idioma(75));
    // Three digits hold items and zones up to 999: a file with the most zones
    // a file can hold offers no entry the player would read as another zone.
    posar_items(std::vector<item>(1200, item{}));
    activitat().zones.resize(32768);
    activitat().zones_max = 32767;
    Finestra2 m(nullptr, QString(), 1, 1);
    EXPECT_EQ(m.mn_item.size(), 999u);
    ASSERT_EQ(m.mn_zona.size(), 999u);
    EXPECT_EQ(m.mn_zona[1]->text(), "Zona 2");
    fitxer = QStringLiteral("z.gif");
    m.mn_zona[1]->trigger();
    EXPECT_EQ(fitxers_demanats.back(), "002");
    EXPECT_EQ(m.desat.value_or("-"), "ZFONS_z.gif");
}

TEST_F(Editors, DoubleClickOpensTheChooserThatFits) {
    auto doble = [&](const QString& text) {
        Finestra2 e(nullptr, QStringLiteral("Llista"), 1, 1);
        e.Text1->setText(text);
        e.Text1_DblClick();
        return e.desat;
    };
    fitxer = QStringLiteral("nou.jpg");
    EXPECT_EQ(doble(QStringLiteral("foto.jpg:P50")).value_or("-"), "nou.jpg");
    EXPECT_EQ(fitxers_demanats.back(), "foto.jpg:P50"); // a picture: options and all
    EXPECT_EQ(doble(QStringLiteral("so.wav:P2")).value_or("-"), "nou.jpg");
    EXPECT_EQ(fitxers_demanats.back(), "so.wav"); // a sound: the file part
    EXPECT_EQ(doble(QStringLiteral("GFONS_fons.bmp___")).value_or("-"), "GFONS_nou.jpg___");
    EXPECT_EQ(fitxers_demanats.back(), "fons.bmp");
    // A file whose name holds "_" is not a placement.
    EXPECT_EQ(doble(QStringLiteral("foto_nova.png")).value_or("-"), "nou.jpg");
    EXPECT_EQ(fitxers_demanats.back(), "foto_nova.png");
    // The chooser cancelled: the order stays as it was.
    fitxer.clear();
    EXPECT_EQ(doble(QStringLiteral("a.wav")).value_or("-"), "a.wav");
    // ESPERA shows the seconds.
    entrada = QStringLiteral("3");
    EXPECT_EQ(doble(QStringLiteral("ESPERA_15")).value_or("-"), "ESPERA_30");
    EXPECT_EQ(entrada_proposta, "1.5");
    // Plain words: the editor on them; Cancel keeps them.
    EXPECT_FALSE(doble(QStringLiteral("bon dia")).has_value());
    EXPECT_EQ(modals, 1);
}

TEST_F(Editors, WordsDialogAndRefusedCharacters) {
    // A placed text opens the words dialog on its placement and words.
    Finestra2 e(nullptr, QString(), 1, 1);
    e.Text1->setText(QStringLiteral("CENTRAT_hola"));
    QString vist_lloc, vist_text;
    en_modal = [&](QDialog& d) {
        auto& p = dynamic_cast<paraules&>(d);
        vist_lloc = p.Combo1->currentText();
        vist_text = p.Text1->text();
        p.Combo1->setCurrentIndex(0);
        p.Text1->clear();
        QTest::keyClicks(p.Text1, QStringLiteral("bon|dia"));
        EXPECT_FALSE(p.Command1[1]->isEnabled());
        EXPECT_FALSE(p.avis->text().isEmpty());
        p.Text1->setText(QStringLiteral("adéu"));
        EXPECT_TRUE(p.Command1[1]->isEnabled());
        QTest::mouseClick(p.Command1[1], Qt::LeftButton);
        return p.result();
    };
    e.Text1_DblClick();
    EXPECT_EQ(vist_lloc, "Centrat");
    EXPECT_EQ(vist_text, "hola");
    EXPECT_EQ(e.desat.value_or("-"), "CAPÇALERA_adéu");

    // Typed into the editor: refused while it holds a separator or a quote.
    Finestra2 w(nullptr, QString(), 1, 1);
    w.show();
    QTest::keyClicks(w.Text1, QStringLiteral("a") + S);
    EXPECT_FALSE(w.Canc[1]->isEnabled());
    EXPECT_FALSE(w.avis->text().isEmpty());
    w.Canc_Click(1);
    EXPECT_FALSE(w.desat.has_value());
    Finestra2 x(nullptr, QString(), 1, 1);
    QTest::keyClicks(x.Text1, QStringLiteral("diu \"hola\""));
    EXPECT_FALSE(x.Canc[1]->isEnabled());
    x.Text1->setText(QStringLiteral("diu 'hola' €"));
    EXPECT_TRUE(x.Canc[1]->isEnabled());
    QTest::mouseClick(x.Canc[1], Qt::LeftButton);
    EXPECT_EQ(x.desat.value_or("-"), "diu 'hola' €");
    // Blanks alone are no order.
    Finestra2 b(nullptr, QString(), 1, 1);
    b.Text1->setText(QStringLiteral("   "));
    EXPECT_FALSE(b.Canc[1]->isEnabled());
    b.Canc_Click(1);
    EXPECT_FALSE(b.desat.has_value());
}

// ------------------------------------------------------------------ the window's cells and general page

TEST_F(Editors, WindowCellsEditDragAndPopupThenStoreAndReload) {
    const QString desfer = cami_desfer();
    cami_desfer() = tmp.path() + QStringLiteral("/lrq.tmp");
    item it = amb_accio(QStringLiteral("1") + S + abs(QStringLiteral("be.bmp")));
    it.estimuls = QStringLiteral("1") + S + abs(QStringLiteral("a.bmp")) + S + abs(QStringLiteral("b.wav"));
    posar_items({it, amb_accio()});
    planificar p(f.get());
    p.Form_Load();
    p.show();
    p.HScroll1->setValue(1); // an item before the last
    p.menu1_Click(2);
    // Hover: the order in the list's label, none over an empty cell; ACCIO in
    // key-list form.
    p.cella_MouseMove(ESTIMULS, 2, Qt::NoButton);
    EXPECT_FALSE(p.inf[ESTIMULS]->isHidden());
    EXPECT_EQ(p.inf[ESTIMULS]->text(), "b.wav");
    p.cella_MouseMove(ESTIMULS, 3, Qt::NoButton);
    EXPECT_TRUE(p.inf[ESTIMULS]->isHidden());
    p.cella_MouseMove(ACCIO, 1, Qt::NoButton);
    EXPECT_EQ(p.inf[ACCIO]->text(), "{Teclat Qualsevol tecla}");
    QLabel* c1 = p.celles[ESTIMULS][1];
    // First click marks, a double click opens the chooser that fits.
    QTest::mouseClick(c1, Qt::LeftButton);
    EXPECT_EQ(p.marcada(ESTIMULS), 1);
    fitxer = QStringLiteral("c.gif");
    QTest::mouseDClick(c1, Qt::LeftButton);
    EXPECT_EQ(fitxers_demanats.size(), 1u);
    EXPECT_EQ(p.model.text_cella(ESTIMULS, 1), "c.gif");
    // A press on the empty insertion point opens the editor once, however
    // many clicks follow.
    en_modal = [](QDialog& d) {
        auto& e = dynamic_cast<Finestra2&>(d);
        e.Text1->setText(QStringLiteral("CENTRAT_hola"));
        e.Canc_Click(1);
        return e.result();
    };
    p.cella_MouseDown(ESTIMULS, 3, Qt::LeftButton);
    p.cella_DblClick(ESTIMULS, 3);
    EXPECT_EQ(modals, 1);
    EXPECT_EQ(p.model.text_cella(ESTIMULS, 3), "CENTRAT_hola");
    // Drag cell 3 onto cell 1: a marked cell, then the move and the release.
    QFile::remove(cami_desfer());
    p.cella_MouseDown(ESTIMULS, 3, Qt::LeftButton);
    EXPECT_EQ(p.marcada(ESTIMULS), 3);
    p.cella_MouseDown(ESTIMULS, 3, Qt::LeftButton);
    EXPECT_TRUE(p.arrossegant());
    p.cella_DragDrop(ESTIMULS, 1);
    EXPECT_TRUE(QFile::exists(cami_desfer()));
    EXPECT_EQ(p.model.text_cella(ESTIMULS, 1), "CENTRAT_hola");
    // The popup's "Esborrar" on cell 2 (c.gif).
    QTimer::singleShot(0, &p, [&p] {
        p.menu2[2]->trigger();
        p.amagat->close();
    });
    p.cella_MouseDown(ESTIMULS, 2, Qt::RightButton);
    EXPECT_EQ(p.marcada(ESTIMULS), 2);
    EXPECT_FALSE(planificador().sel_est);
    EXPECT_EQ(p.model.text_cella(ESTIMULS, 2), "b.wav");
    // "Desfer": the row before the delete, orders not yet stored included, on the same item.
    p.desfer->trigger();
    EXPECT_EQ(p.Label2->text(), "1");
    EXPECT_EQ(fila(ESTIMULS, 1).mid(0, 3), (QStringList{"CENTRAT_hola", "c.gif", "b.wav"}));
    p.close();
    const item d = activitat().items[1];
    EXPECT_EQ(ruta_relativa(d.estimuls), QStringList({"1", "CENTRAT_hola", "c.gif", "b.wav"}).join(S));
    cami_desfer() = desfer;
}

TEST_F(Editors, UndoGivesBackTheActivityAsItWasBeforeTheLastChange) {
    item it = amb_accio();
    it.estimuls = QStringLiteral("1") + S + abs(QStringLiteral("a.bmp")) + S + abs(QStringLiteral("b.wav"));
    fitxer = QStringLiteral("d.bmp");
    en_modal = [](QDialog& d) {
        dynamic_cast<Finestra2&>(d).Text1->setText(QStringLiteral("c.wav"));
        return dynamic_cast<Finestra2&>(d).Canc_Click(1), 1;
    };
    // Steps on item 3's stimulus cells: 0 press, 1 double click, 2 drop, 10 + n popup item n; a move,
    // "Desfer".
    const QString dos = "1" + S + "a.bmp" + S + "b.wav", tres = dos + S + "c.wav";
    // clang-format off
    for (const auto& [passos, moure, esperat] : std::vector<std::tuple<std::vector<std::pair<int, int>>, int, QString>>{
             {{{0, 3}}, 1, dos}, {{{0, 1}, {1, 1}}, 2, dos}, {{{0, 3}, {12, 1}}, 3, tres}, {{{0, 3}, {12, 1}}, 1, tres},
             {{{0, 3}, {13, 3}, {14, 1}}, 3, tres}, {{{0, 3}, {13, 3}, {14, 1}}, 2, tres},
             {{{0, 3}, {0, 3}, {2, 1}}, 3, tres}, {{{0, 3}, {0, 3}, {2, 1}}, 1, tres}}) {
        // clang-format on
        posar_items({amb_accio(), amb_accio(), it});
        activitat().tots_temps_global = 1; // each store copies the activity's times: no change of hers
        planificar p(f.get());
        p.Form_Load();
        for (const auto& [pas, cella] : passos) {
            if (pas >= 10)
                QTimer::singleShot(0, &p, [&p, pas] { p.menu2[pas - 10]->trigger(), p.amagat->close(); });
            if (pas == 1) p.cella_DblClick(ESTIMULS, cella);
            if (pas == 2) p.cella_DragDrop(ESTIMULS, cella);
            if (pas > 2 || !pas) p.cella_MouseDown(ESTIMULS, cella, pas ? Qt::RightButton : Qt::LeftButton);
        }
        p.HScroll1->setValue(moure);
        p.desfer->trigger();
        EXPECT_EQ(p.Label2->text(), QString::number(moure));
        respostes = {abs("d.lrq")};
        p.mn_disc_Click(2); // what "Desar" writes
        EXPECT_TRUE(llegir(abs("d.lrq")).contains((u'"' + esperat + u'"').toLatin1()));
    }
}

// Pairs of general-page changes, then one "Desfer", with and without a "Desar" between them: what
// "Desar" writes then is what it writes after the first change alone.
TEST_F(Editors, OneUndoTakesBackOnlyTheLastChangeOfTheGeneralPage) {
    auto caixa = [](QLineEdit*(planificar::*c), const char* t) {
        return
            [c, t](planificar& p) { (p.*c)->setText(QString::fromUtf8(t)), emit(p.*c)->editingFinished(); };
    };
    auto retard = [](size_t i, const char* t) {
        return [i, t](planificar& p) {
            p.retard[i]->setText(QString::fromUtf8(t)), emit p.retard[i]->editingFinished();
        };
    };
    auto clic = [](auto c) { return [c](planificar& p) { c(p)->click(); }; };
    const std::function<void(planificar&)> temps_total = caixa(&planificar::t_total, "60"),
                                           tots = clic([](planificar&p) { return p.tots_temps; }),
                                           atzar = clic([](planificar&p) { return p.atzar; }),
                                           seguent = clic([](planificar&p) { return p.Exer_seg[1]; }),
                                           minim = clic([](planificar&p) { return p.Option1[1]; }),
                                           color = clic([](planificar&p) { return p.buto[1]; }),
                                           fons = clic([](planificar&p) { return p.buto[6]; }),
                                           fitxer = caixa(&planificar::fit_exer, "b.lrq"),
                                           patrons = caixa(&planificar::fitxer_so, "veus");
    const std::vector<std::tuple<int, std::function<void(planificar&)>, std::function<void(planificar&)>>>
        parells{{1, retard(1, "7,5"), temps_total},
                {1, retard(0, "2"), retard(2, "1")},
                {0, retard(3, "8"), retard(4, "3")},
                {0, retard(5, "2"), minim},
                {0, tots, retard(1, "9")},
                {1, atzar, seguent},
                {1, seguent, minim},
                {1, minim, atzar},
                {1, temps_total, color},
                {1, fitxer, fons},
                {0, retard(7, "4"), tots},
                {1, patrons, atzar}};
    this->color = QStringLiteral("255"), this->fitxer = abs(QStringLiteral("f.bmp"));
    for (size_t n = 0; n < parells.size(); ++n)
        for (const bool desar_entre : {false, true}) {
            const auto& [tots_global, primer, segon] = parells[n];
            QByteArray dos;
            auto escrit = [&](bool els_dos) {
                exercici_nou(), activitat().fitxer_actual = abs("d.lrq"); // nothing left from the run before
                posar_items({amb_accio()});
                activitat().tots_temps_global = static_cast<int16_t>(tots_global);
                planificar p(f.get());
                p.model.pont.preguntar = [](int) { return true; }; // times copied to every item
                p.Form_Load();
                primer(p);
                if (desar_entre) respostes = {abs("d.lrq")}, p.mn_disc_Click(2);
                if (els_dos) segon(p);
                if (els_dos && desar_entre)
                    respostes = {abs("d.lrq")}, p.mn_disc_Click(2), dos = llegir(abs("d.lrq"));
                if (els_dos) p.desfer->trigger();
                respostes = {abs("d.lrq")}, p.mn_disc_Click(2);
                return llegir(abs("d.lrq"));
            };
            const QByteArray desfet = escrit(true), un = escrit(false);
            EXPECT_EQ(desfet.toStdString(), un.toStdString())
                << "pair " << n << (desar_entre ? ", saved between" : "");
            if (desar_entre) {
                EXPECT_NE(dos, un) << "pair " << n; // the second change is one
            }
        }
}

TEST_F(Editors, TimeBoxesTakeADecimalCommaOrPointInEveryLanguageAndRefuseTheRest) {
    for (const QString& llengua : {IDIOMA_CATALA, IDIOMA_ESPANOL, IDIOMA_GALEGO}) {
        idioma() = llengua;
        planificar p(f.get());
        p.Form_Load();
        const QString no = tradueix(QStringLiteral("caixes|no_nombre")).arg(QStringLiteral("7,5 s"));
        for (QLineEdit* caixa : p.retard)
            for (const auto& [escrit, segons] : {std::pair{"7,5", 7.5F}, {"2.5", 2.5F}, {"7,5 s", 2.5F}}) {
                auto r = respondre_missatge(QMessageBox::Ok);
                caixa->setText(QString::fromUtf8(escrit)), emit caixa->editingFinished();
                EXPECT_EQ(caixa->text(), text_temps(segons)) << escrit;
                EXPECT_EQ(r->text, escrit[3] == ' ' ? no : QString());
            }
        auto r = respondre_missatge(QMessageBox::Ok);
        p.t_total->setText(QStringLiteral("7,5 s")), emit p.t_total->editingFinished();
        EXPECT_EQ(r->text, no);
    }
}

// As much of the editor on the screen as the screen's size allows: all of it on one big enough.
TEST_F(Finestra, TheKeyEditorBesideAPlannerAtTheScreensLeftEdgeIsNotPushedOffIt) {
    planificar p(f.get());
    p.Form_Load(), p.show(), p.move(0, 0); // the offscreen screen's top left corner
    QTimer::singleShot(0, &p, [&p] {
        const QRect pantalla = p.screen()->availableGeometry(),
                    e = QApplication::activeModalWidget()->frameGeometry();
        EXPECT_EQ(e.intersected(pantalla).size(), e.size().boundedTo(pantalla.size())) << e.x();
        QApplication::activeModalWidget()->close();
    });
    p.ACC_Click(1);
}

TEST_F(Editors, RightReactionAskedThroughTheCellEditor) {
    posar_items({amb_accio()});
    activitat().items[1].si_be.clear();
    planificar p(f.get());
    p.Form_Load();
    int vegades = 0;
    p.model.pont.preguntar = [&](int n) {
        EXPECT_EQ(n, 58);
        return ++vegades == 1;
    };
    en_modal = [](QDialog& d) {
        auto& e = dynamic_cast<Finestra2&>(d);
        EXPECT_EQ(e.dada[0]->text(), " 1");
        e.Text1->setText(QStringLiteral("be.wav"));
        e.Canc_Click(1);
        return e.result();
    };
    EXPECT_EQ(p.model.item_desar(1), ModelPlanificador::Desat::fet);
    EXPECT_EQ(vegades, 1);
    EXPECT_EQ(modals, 1);
    EXPECT_EQ(ruta_relativa(activitat().items[1].si_be), QStringLiteral("1") + S + "be.wav");
}

TEST_F(Editors, GeneralPageChoosersDelaysAndSoundPreview) {
    posar_items({amb_accio()});
    activitat().font = font_text{"Arial", 24, 0, CERT, FALS}; // not installed here
    plataforma::MciSintetic mci;
    plataforma::posar_mci(&mci);
    planificar p(f.get());
    p.Form_Load();
    Activitat& a = activitat();
    // A delay box left: the rule runs and the boxes show Str's form.
    p.retard[2]->setText(QStringLiteral("6"));
    p.retard[1]->setText(QStringLiteral("5"));
    p.retard[0]->setText(QStringLiteral("1"));
    p.retard[6]->setText(QStringLiteral("1"));
    emit p.retard[2]->editingFinished();
    EXPECT_EQ(p.retard[1]->text(), " 7");
    EXPECT_EQ(a.retard_tots_accio, 7.0f);
    // "Tria exercici" cancelled keeps the next activity.
    a.exercici_seguent = QStringLiteral(" 2");
    p.buto_Click(0);
    EXPECT_EQ(a.exercici_seguent, " 2");
    fitxer = QStringLiteral("seguent.lrq");
    p.buto_Click(0);
    EXPECT_EQ(a.exercici_seguent, "seguent.lrq");
    EXPECT_TRUE(p.Exer_seg[2]->isChecked());
    // The sound: chosen, previewed, and cleared by Cancel.
    QFile so(abs(QStringLiteral("fons.wav")));
    ASSERT_TRUE(so.open(QIODevice::WriteOnly));
    so.close();
    fitxer = QStringLiteral("fons.wav");
    p.buto_Click(5);
    EXPECT_EQ(a.fitxer_so_fons, "fons.wav");
    EXPECT_EQ(p.so->toolTip(), "fons.wav");
    mci.ordres.clear();
    p.so_Click();
    EXPECT_TRUE(mci.ordres.join(u'\n').contains(QStringLiteral("fons.wav")))
        << mci.ordres.join(u'\n').toStdString();
    EXPECT_FALSE(p.so_sonant());
    a.fitxer_so_fons = QStringLiteral("musica.mp3");
    p.so_Click();
    EXPECT_TRUE(p.so_sonant());
    p.so_Click();
    EXPECT_FALSE(p.so_sonant());
    fitxer.clear();
    p.buto_Click(5);
    EXPECT_TRUE(a.fitxer_so_fons.isEmpty());
    // A picture that cannot be read: none shown, its name on hover.
    fitxer = QStringLiteral("no_hi_es.bmp");
    p.buto_Click(6);
    EXPECT_EQ(a.fitxer_imatge_fons, "no_hi_es.bmp");
    EXPECT_TRUE(p.IMG_fons->pixmap().isNull());
    EXPECT_EQ(p.IMG_fons->toolTip(), "no_hi_es.bmp");
    QMouseEvent sobre(QEvent::MouseMove, QPointF(3, 3), QPointF(3, 3), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(p.IMG_fons, &sobre);
    EXPECT_FALSE(p.inf_con->isHidden());
    EXPECT_EQ(p.inf_con->text(), "no_hi_es.bmp");
    EXPECT_EQ(p.titol_consigna->text(), text_idioma(16));
    // Colours and the next-file box.
    color = QStringLiteral("65280");
    p.buto_Click(1);
    EXPECT_EQ(a.color_fons, 65280);
    p.buto_Click(4);
    EXPECT_EQ(planificador().font_editada.color, 65280);
    // The real font box, left as it opened on the stored size and style: the font stays.
    triadors_ordres().font = abans.font;
    QFont vista;
    QTimer::singleShot(0, [&vista] {
        if (auto* d = qobject_cast<QFontDialog*>(QApplication::activeModalWidget()))
            vista = d->currentFont(), d->accept();
    });
    p.buto[2]->click();
    EXPECT_EQ(std::tuple(vista.pointSize(), vista.bold()), std::tuple(24, true));
    EXPECT_EQ(planificador().font_editada, activitat().font);
    p.fit_exer->clear();
    QTest::keyClicks(p.fit_exer, QStringLiteral("x|"));
    EXPECT_FALSE(p.fit_exer->toolTip().isEmpty()); // the box says why
    QTest::keyClicks(p.fit_exer, QStringLiteral("y\"z.lrq"));
    EXPECT_EQ(p.fit_exer->text(), "xyz.lrq");
    EXPECT_EQ(ModelPlanificador::titol_accions(2), "Accions de  Joystick");
    idioma() = IDIOMA_ESPANOL;
    EXPECT_EQ(ModelPlanificador::titol_accions(0), "Acciones de  Mouse");
    idioma() = IDIOMA_CATALA;
    p.close();
    plataforma::posar_mci(nullptr);
}

TEST_F(Editors, ActionEditorBridgeOpensOnTheEntrysPageAndRebuildsTheList) {
    posar_items({amb_accio()});
    planificar p(f.get());
    p.Form_Load();
    p.menu1_Click(3);
    // Nothing installed: a double click on the marked action opens nothing.
    obrir_editor_accions() = nullptr;
    p.cella_MouseDown(ACCIO, 1, Qt::LeftButton);
    p.cella_DblClick(ACCIO, 1);
    EXPECT_EQ(p.model.accions_entrades().size(), 1);
    std::vector<std::pair<int, QString>> obertures;
    obrir_editor_accions() = [&](int pagina, const QString& titol) {
        obertures.emplace_back(pagina, titol);
        planificador().item_editat[0].ratoli[1] = 1; // what the editor would change
    };
    p.cella_DblClick(ACCIO, 1);
    obrir_editor_accions() = nullptr;
    ASSERT_EQ(obertures.size(), 1u);
    EXPECT_EQ(obertures[0], (std::pair<int, QString>{1, "Accions de  Teclat"}));
    EXPECT_EQ(p.model.accions_entrades().size(), 2);
    EXPECT_EQ(p.model.text_cella(ACCIO, 8), "Ratolí Clic esquerre");
    EXPECT_FALSE(p.sel_acc);
}

TEST_F(Editors, ActionEditorOnAnEmptyActionCellOffersEveryPage) {
    // An item that only takes a key: its mouse page is reached from the
    // empty cell after its key entry, through the page bar.
    posar_items({amb_accio()});
    planificar p(f.get());
    p.Form_Load();
    p.menu1_Click(3);
    bool barra = false, ratoli = false;
    obrir_editor_accions() = [&](int pagina, const QString& titol) {
        ACCIONS e(planificador().item_editat[0], activitat(), dispositius(), &p);
        e.obrir_pagina(pagina, titol);
        QTimer::singleShot(0, &e, [&] {
            barra = e.Frame1[5]->isVisibleTo(&e) && e.Canc[3]->isVisibleTo(&e);
            e.Canc[3]->click(); // Ratolí
            ratoli = e.Frame1[0]->isVisibleTo(&e);
            e.ratoli[2]->click();
            e.Canc_Click(1);
        });
        e.exec();
    };
    p.cella_MouseDown(ACCIO, 2, Qt::LeftButton);
    obrir_editor_accions() = nullptr;
    EXPECT_TRUE(barra);
    EXPECT_TRUE(ratoli);
    EXPECT_EQ(planificador().item_editat[0].ratoli[2], 1);
    EXPECT_TRUE(p.model.accions_entrades().contains(QStringLiteral("Ratolí ") +
                                                    caption_accions(QStringLiteral("ratoli"), 2)));
}

TEST_F(Editors, ActionEditorOnTheKeysPageAgreesWithTheActionList) {
    posar_items({amb_accio()});
    planificar p(f.get());
    p.Form_Load();
    p.menu1_Click(3);
    QStringList vist;
    obrir_editor_accions() = [&](int pagina, const QString& titol) {
        ACCIONS e(planificador().item_editat[0], activitat(), dispositius(), &p);
        e.obrir_pagina(pagina, titol);
        QTimer::singleShot(0, &e, [&] {
            e.teclat[4]->click();
            e.Command1[30]->click(); // F1
            e.Command1[36]->click(); // Space
            e.Canc_Click(1);
        });
        e.exec();
        vist = e.model.tecles;
    };
    p.cella_MouseDown(ACCIO, 1, Qt::LeftButton);
    p.cella_DblClick(ACCIO, 1);
    obrir_editor_accions() = nullptr;
    EXPECT_EQ(vist, (QStringList{QStringLiteral("{F1}"), QStringLiteral("{ESPAI}")}));
    const QStringList l = p.model.accions_entrades();
    EXPECT_TRUE(l.contains(QStringLiteral("Teclat ") + caption_accions(QStringLiteral("teclat"), 4)))
        << l.join(u'|').toStdString();
    EXPECT_TRUE(l.contains(QStringLiteral("Teclat ") + caption_accions(QStringLiteral("teclat"), 2)));
    EXPECT_EQ(planificador().item_editat[0].tecles_llista, QStringLiteral("{F1}"));
    EXPECT_EQ(planificador().item_editat[0].teclat[2], 1);
    p.close();
}
