#include "core/activitat.h"
#include "core/idioma.h"

#include <gtest/gtest.h>

using namespace lumi;

namespace {
struct NovaActivitat : ::testing::Test {
    Activitat a;
    Llistes l;
    EstatDispositius d;
    EstatJugador j;
    QString titol;
    bool maximitzada = false;
    QList<int> provats;

    EntornNou entorn(int joystick_present = -1) {
        EntornNou e;
        e.escriptori = QRect(0, 0, 1280, 800);
        e.joystick_provar = [this, joystick_present](int id) {
            provats.append(id);
            if (id != joystick_present) return false;
            d.num_joystick = static_cast<int16_t>(id + 1);
            d.sensibilitat_joystick = 3;
            return true;
        };
        e.finestra_maximitzada = [this] { return maximitzada; };
        e.posar_titol = [this](const QString& t) { titol = t; };
        return e;
    }
    void SetUp() override { idioma() = IDIOMA_CATALA; }
};
} // namespace

TEST_F(NovaActivitat, HasOneItemWithTheDefaultTimesAndNothingElse) {
    a.items.resize(5);
    a.items[3].serie = QStringLiteral("H39");
    a.nombre_items = 4;
    a.exercici_modificat = CERT;
    a.fitxer_actual = QStringLiteral("/x/a.lrq");
    exercici_nou(a, l, d, j, entorn());

    EXPECT_EQ(a.nombre_items, 1);
    ASSERT_EQ(a.items.size(), 2u); // element 0 stays for the player
    item esperat;
    esperat.retard_accio = 5.0f;
    esperat.retard_be = 1.0f;
    esperat.retard_mal = 1.0f;
    EXPECT_EQ(a.items[1], esperat);
    EXPECT_EQ(a.items[0], item{});
    EXPECT_TRUE(a.fitxer_actual.isEmpty());
    EXPECT_EQ(a.exercici_modificat, FALS);
    EXPECT_EQ(a.font, (font_text{QStringLiteral("Arial"), 24, 65535, CERT, FALS}));
    EXPECT_EQ(a.tots_temps_global, 1);
    EXPECT_EQ(a.tots_be_global + a.tots_mal_global + a.tots_estimul_global, 0);
    EXPECT_EQ(a.retard_tots_accio, 5.0f);
    EXPECT_EQ(a.retard_tots_be, 1.0f);
    EXPECT_EQ(a.retard_tots_mal, 1.0f);
    EXPECT_EQ(a.retard_tots_estimul, 0.0f);
    EXPECT_EQ(a.mode_estimul, QStringLiteral("0"));
    EXPECT_EQ(a.reserva_enter, 0);
    EXPECT_EQ(a.zones_max, 0);
    ASSERT_EQ(a.zones.size(), 1u);
    EXPECT_EQ(a.zones[0], (zona{0, 0, 1280, 800, QString()}));
    EXPECT_EQ(j.velocitat, 1.0f);
    EXPECT_EQ(d.wc_retard, 100);
    EXPECT_EQ(d.wc_modus, 0);
    EXPECT_EQ(titol, QStringLiteral("LUMIRAGA - Sense nom"));
}

TEST_F(NovaActivitat, ProbesTheJoystickOnTheFirstNewActivityOnly) {
    exercici_nou(a, l, d, j, entorn(-1));
    EXPECT_EQ(provats, (QList<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(d.num_joystick, 100);
    EXPECT_EQ(d.sensibilitat_joystick, 1);
    EXPECT_EQ(d.joystick_sense_us, 10);
    provats.clear();
    exercici_nou(a, l, d, j, entorn(0));
    EXPECT_TRUE(provats.isEmpty());
    EXPECT_EQ(d.num_joystick, 100);
}

TEST_F(NovaActivitat, StopsAtTheFirstJoystickThatAnswers) {
    exercici_nou(a, l, d, j, entorn(1));
    EXPECT_EQ(provats, (QList<int>{0, 1}));
    EXPECT_EQ(d.num_joystick, 2);
    EXPECT_EQ(d.sensibilitat_joystick, 3);
}

TEST_F(NovaActivitat, LeavesTheCaptionWhileAnExerciseIsShown) {
    titol = QStringLiteral("LUMIRAGA - /a.lrq");
    d.motor_veu_preparat = CERT;
    maximitzada = true;
    exercici_nou(a, l, d, j, entorn());
    EXPECT_EQ(titol, QStringLiteral("LUMIRAGA - /a.lrq"));
    EXPECT_EQ(d.motor_veu_preparat, CERT);
    maximitzada = false;
    idioma() = IDIOMA_ESPANOL;
    exercici_nou(a, l, d, j, entorn());
    EXPECT_EQ(titol, QStringLiteral("LUMIRAGA - Sin título"));
    EXPECT_EQ(d.motor_veu_preparat, FALS);
}

TEST_F(NovaActivitat, PutsBackTheSpeechHooksOnlyWhileTheEngineVersionIsUnknown) {
    QList<int32_t> restaurats;
    auto e = entorn();
    e.restaurar_finestra = [&](int32_t p) { restaurats.append(p); };
    d.procOld_so = 7;
    d.procOld_rec = 9;
    exercici_nou(a, l, d, j, e);
    EXPECT_EQ(restaurats, (QList<int32_t>{7, 9}));
    restaurats.clear();
    d.versio_motor_veu = 90;
    exercici_nou(a, l, d, j, e);
    EXPECT_TRUE(restaurats.isEmpty());
}

TEST(DividirLlista, SplitsEntriesAndTrimsAllButTheLast) {
    QStringList ll;
    EXPECT_EQ(dividir_llista(QStringLiteral("2»a.bmp|b.bmp"), ll), 2);
    EXPECT_EQ(ll, (QStringList{QString(), QStringLiteral("a.bmp"), QStringLiteral("b.bmp")}));
    EXPECT_EQ(dividir_llista(QStringLiteral("1» a.bmp "), ll), 1);
    EXPECT_EQ(ll.at(1), QStringLiteral(" a.bmp "));
    EXPECT_EQ(dividir_llista(QStringLiteral("2» a.bmp | b "), ll), 2);
    EXPECT_EQ(ll.at(1), QStringLiteral("a.bmp"));
    EXPECT_EQ(ll.at(2), QStringLiteral(" b "));
    // Orders inside an entry stay joined.
    EXPECT_EQ(dividir_llista(QStringLiteral("1»a.wav»b.jpg»Hola"), ll), 1);
    EXPECT_EQ(ll.at(1), QStringLiteral("a.wav»b.jpg»Hola"));
}

TEST(DividirLlista, EmptyOrZeroLeavesTheListAndACountBelowTheEntriesStops) {
    QStringList ll{QString(), QStringLiteral("x")};
    EXPECT_EQ(dividir_llista(QString(), ll), 0);
    EXPECT_EQ(dividir_llista(QStringLiteral("0»a|b"), ll), 0);
    EXPECT_EQ(dividir_llista(QStringLiteral("a|b"), ll), 0);
    EXPECT_EQ(ll, (QStringList{QString(), QStringLiteral("x")}));
    EXPECT_EQ(dividir_llista(QStringLiteral("1»a|b|c"), ll), 1);
    EXPECT_EQ(ll.size(), 2);
    EXPECT_EQ(ll.at(1), QStringLiteral("a"));
    // More entries announced than written: the rest are empty, never missing.
    EXPECT_EQ(dividir_llista(QStringLiteral("3»a"), ll), 3);
    EXPECT_EQ(ll.size(), 4);
    EXPECT_TRUE(ll.at(3).isEmpty());
    // A count beyond 16 bits is no list at all.
    EXPECT_EQ(dividir_llista(QStringLiteral("99999»a"), ll), 0);
    EXPECT_EQ(dividir_llista(QStringLiteral("-2»a"), ll), 0);
}

TEST(DividirLlista, ItemListsOfTheCurrentActivity) {
    Activitat& a = activitat();
    a.items.assign(3, item{});
    a.items[2].si_be = QStringLiteral("2»bravo.wav|molt.wav");
    carregar_llista_be(2);
    EXPECT_EQ(llistes().nombre_be, 2);
    EXPECT_EQ(llistes().llista_be.at(2), QStringLiteral("molt.wav"));
    carregar_llista_estimul(1);
    EXPECT_EQ(llistes().nombre_estimuls, 0);
}
