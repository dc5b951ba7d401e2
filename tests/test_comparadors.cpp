#include "core/codis.h"
#include "player/comparadors.h"
#include "core/tecles.h"
#include "core/text_codec.h"

#include <gtest/gtest.h>

using namespace lumi;

namespace {

struct Comparadors : ::testing::Test {
    Activitat a;
    QString seq;
    QString pendent;
    dades_informe inf;
    EstatDispositius d;
    int completes = 0;
    EntornComprova e{a, seq, pendent, inf, d, [this] { ++completes; }};

    void SetUp() override {
        a.items.resize(4);
        a.nombre_items = 3;
    }
    item& it(int i = 1) { return a.items[i]; }
    void zona(int n, int l, int t, int r, int b) {
        if (static_cast<int>(a.zones.size()) <= n) a.zones.resize(n + 1);
        a.zones[n] = lumi::zona{l, t, r, b, QString()};
        a.zones_max = static_cast<int16_t>(std::max<int>(a.zones_max, n));
    }
};

QString tecla(int vk) {
    return codi_tecla(vk);
}

} // namespace

TEST_F(Comparadors, KeyOptionsInOrderAndTheKeypadList) {
    it().teclat[5] = 1;
    EXPECT_EQ(comprova_tecla(e, 1, 81), 1);  // Q is in the keypad list
    EXPECT_EQ(comprova_tecla(e, 1, 53), 1);  // main keyboard digits too
    EXPECT_EQ(comprova_tecla(e, 1, 101), 1); // keypad 5
    EXPECT_EQ(comprova_tecla(e, 1, 65), 0);  // A is not
    EXPECT_EQ(a.items[0], a.items[1]);       // the judged copy sits in element 0

    it(2).teclat[1] = 1;
    it(2).teclat[2] = 1;
    EXPECT_EQ(comprova_tecla(e, 2, 13), 2);
    EXPECT_EQ(comprova_tecla(e, 2, 32), 2);
    EXPECT_EQ(comprova_tecla(e, 2, 33), 0);

    it(3).teclat[4] = 1;
    it(3).teclat[6] = 1;
    EXPECT_EQ(comprova_tecla(e, 3, 112), 3);
    EXPECT_EQ(comprova_tecla(e, 3, 123), 3);
    EXPECT_EQ(comprova_tecla(e, 3, 124), 0);
    EXPECT_EQ(comprova_tecla(e, 3, 38), 3);
    EXPECT_EQ(comprova_tecla(e, 3, 40), 0);
    EXPECT_EQ(inf.respostes_be + inf.respostes_mal, 0);
}

TEST_F(Comparadors, KeyListAndVoiceWordsTypedAsKeys) {
    it().teclat[3] = 1;
    it().tecles_llista = tecla(65) + tecla(32);
    EXPECT_EQ(comprova_tecla(e, 1, 65), 1);
    EXPECT_EQ(comprova_tecla(e, 1, 32), 1);
    EXPECT_EQ(comprova_tecla(e, 1, 66), 0);

    // Word 3 of the list arrives as the typed character "3".
    it(2).veu[3] = 1;
    a.paraules_veu[0] = QStringLiteral("123");
    EXPECT_EQ(comprova_tecla(e, 2, '3'), 2);
    EXPECT_EQ(comprova_tecla(e, 2, '2'), 0); // word 2 is not this item's
    a.paraules_veu[0] = QStringLiteral("12");
    EXPECT_EQ(comprova_tecla(e, 2, '3'), 0); // not in the word list
}

TEST_F(Comparadors, KeySeriesStepsABrokenStepAndCompletion) {
    it().teclat[10] = 1;
    it().serie = tecla(65) + tecla(66);
    EXPECT_EQ(comprova_tecla(e, 1, 65), -1);
    EXPECT_EQ(inf.respostes_be, 1);
    EXPECT_EQ(seq, tecla(65));
    EXPECT_EQ(comprova_tecla(e, 1, 88), -1); // x breaks the series
    EXPECT_EQ(inf.respostes_mal, 1);
    EXPECT_EQ(seq, tecla(65)); // what was matched stays
    pendent = QStringLiteral("x.bmp");
    EXPECT_EQ(comprova_tecla(e, 1, 66), 1);
    EXPECT_TRUE(seq.isEmpty());
    EXPECT_TRUE(pendent.isEmpty());
    EXPECT_EQ(completes, 1);
    EXPECT_EQ(inf.respostes_be, 1); // completion is counted by the cycle
}

TEST_F(Comparadors, SeriesAnyInputTokenAndAWrongFirstKey) {
    it().teclat[10] = 1;
    it().serie = tecla(65) + QStringLiteral("hff") + tecla(66);
    EXPECT_EQ(comprova_tecla(e, 1, 88), 0); // a wrong first code is just wrong
    EXPECT_EQ(inf.respostes_mal, 0);
    EXPECT_TRUE(seq.isEmpty());
    EXPECT_EQ(comprova_tecla(e, 1, 65), -1);
    // "HFF" takes any key, any click, any joystick event, any position.
    EXPECT_EQ(comprova_tecla(e, 1, 88), -1);
    EXPECT_EQ(seq, tecla(65) + QStringLiteral("HFF"));
    seq = tecla(65);
    EXPECT_EQ(comprova_zona(e, 1, 2, 5, 5), -1);
    seq = tecla(65);
    EXPECT_EQ(comprova_joystic(e, 1, QStringLiteral("1")), -1);
    seq = tecla(65);
    EXPECT_EQ(comprova_web(e, 1, 0, 0), -1);
    EXPECT_EQ(inf.respostes_be, 5);
}

TEST_F(Comparadors, AStepThatAnOptionMakesRightIsCountedOnce) {
    it().teclat[10] = 1;
    it().teclat[6] = 1; // the up arrow is also right
    it().serie = tecla(38) + tecla(40);
    EXPECT_EQ(comprova_tecla(e, 1, 38), 1);
    EXPECT_EQ(inf.respostes_be, 0);
    EXPECT_EQ(inf.respostes_mal, 0);

    // A click that breaks a series but is a right click for the item.
    it(2).teclat[10] = 1;
    it(2).ratoli[2] = 1;
    it(2).serie = QStringLiteral("M02M02");
    seq.clear();
    EXPECT_EQ(comprova_zona(e, 2, 1, 1, 1), -1);
    EXPECT_EQ(inf.respostes_be, 1);
    EXPECT_EQ(comprova_zona(e, 2, 2, 1, 1), 1);
    EXPECT_EQ(inf.respostes_mal, 0);
}

TEST_F(Comparadors, MouseButtonsZonesAndRounding) {
    zona(1, 10, 10, 20, 20);
    it().ratoli[3] = 1;
    it().zones_ratoli = QStringLiteral("Z01");
    EXPECT_EQ(comprova_zona(e, 1, 1, 15, 15), 1);
    EXPECT_EQ(comprova_zona(e, 1, 1, 5, 5), 0);     // outside every zone, ratoli(1) off
    EXPECT_EQ(comprova_zona(e, 1, 1, 20, 15), 0);   // right edge is outside
    EXPECT_EQ(comprova_zona(e, 1, 1, 15, 20), 0);   // bottom edge too
    EXPECT_EQ(comprova_zona(e, 1, 1, 9.5f, 15), 1); // 9.5 rounds to 10
    EXPECT_EQ(comprova_zona(e, 1, 1, 8.5f, 15), 0); // 8.5 rounds to 8
    EXPECT_EQ(comprova_zona(e, 1, 2, 15, 15), 0);   // a right click is no zone click
    EXPECT_EQ(comprova_zona(e, 1, 4, 15, 15), 0);

    it(2).ratoli[1] = 1;
    it(2).ratoli[2] = 1;
    EXPECT_EQ(comprova_zona(e, 2, 1, 500, 500), 1);
    EXPECT_EQ(comprova_zona(e, 2, 2, 500, 500), 1);
    EXPECT_EQ(comprova_zona(e, 2, -1, 500, 500), 0);

    it(3).ratoli[0] = 1;
    EXPECT_EQ(comprova_zona(e, 3, -1, 1, 1), 1);
    // A zone of a larger number than the activity has is never hit.
    it(3).ratoli[0] = 0;
    it(3).ratoli[3] = 1;
    it(3).zones_ratoli = QStringLiteral("Z05");
    EXPECT_EQ(comprova_zona(e, 3, 1, 15, 15), 0);
}

TEST_F(Comparadors, PointerMoveOverAZoneTakesASeriesStep) {
    zona(2, 0, 0, 50, 50);
    it().teclat[10] = 1;
    it().serie = QStringLiteral("Z02M02");
    EXPECT_EQ(comprova_zona(e, 1, -1, 100, 100), 0); // not over the zone
    EXPECT_EQ(comprova_zona(e, 1, -1, 10, 10), -1);
    EXPECT_EQ(inf.respostes_be, 1);
    EXPECT_EQ(comprova_zona(e, 1, 1, 100, 100), 1);
}

TEST_F(Comparadors, JoystickEventsButtonsAndOneCountPerEvent) {
    it().jostick[0] = 1;
    EXPECT_EQ(comprova_joystic(e, 1, QStringLiteral("DA")), 1); // any character may fit
    EXPECT_EQ(comprova_joystic(e, 1, QStringLiteral("D")), 0);
    it(2).jostick[5] = 1; // button 2
    EXPECT_EQ(comprova_joystic(e, 2, QStringLiteral("2")), 1);
    EXPECT_EQ(comprova_joystic(e, 2, QStringLiteral("13")), 0);
    it(3).teclat[3] = 1;
    it(3).tecles_llista = QStringLiteral("J0R");
    EXPECT_EQ(comprova_joystic(e, 3, QStringLiteral("ER")), 3);

    // A series broken by a two-character event counts one wrong answer.
    it(2).teclat[10] = 1;
    it(2).serie = QStringLiteral("J0AJ0RJ0D");
    EXPECT_EQ(comprova_joystic(e, 2, QStringLiteral("A")), -1);
    EXPECT_EQ(inf.respostes_be, 1);
    EXPECT_EQ(comprova_joystic(e, 2, QStringLiteral("DE")), -1);
    EXPECT_EQ(inf.respostes_mal, 1);
    // Two characters that fit two steps complete it; the step before stays.
    EXPECT_EQ(comprova_joystic(e, 2, QStringLiteral("RD")), 2);
    EXPECT_EQ(inf.respostes_be, 2);
    EXPECT_TRUE(seq.isEmpty());
}

TEST_F(Comparadors, WebcamAbsenceOptionsAndZones) {
    it().web[2] = 1;
    EXPECT_EQ(comprova_web(e, 1, 0, 0), 1);
    EXPECT_EQ(comprova_web(e, 1, 300, 200), 0);

    zona(3, 100, 100, 200, 200);
    it(2).web[11] = 1;
    it(2).zones_web = QStringLiteral("W03");
    EXPECT_EQ(comprova_web(e, 2, 150, 150), 2);
    EXPECT_EQ(comprova_web(e, 2, 250, 150), 0);
    EXPECT_EQ(comprova_web(e, 2, 0, 0), 0);
    it(3).web[0] = 1;
    EXPECT_EQ(comprova_web(e, 3, 5, 5), 1);

    // Series: "WC1" fits whenever the colour is seen.
    it(3).web[0] = 0;
    it(3).teclat[10] = 1;
    it(3).serie = QStringLiteral("WC1W03");
    EXPECT_EQ(comprova_web(e, 3, 5, 5), -1);
    EXPECT_EQ(comprova_web(e, 3, 150, 150), 3);
}

TEST_F(Comparadors, SoundBandsInBothModes) {
    d.nivell_so = 40;
    EXPECT_EQ(f_so(d, 20, 60, 0), 1);
    d.nivell_so = 60;
    EXPECT_EQ(f_so(d, 20, 60, 0), 2);
    d.nivell_so = 61;
    EXPECT_EQ(f_so(d, 20, 60, 0), 0);
    d.nivell_so = 20;
    EXPECT_EQ(f_so(d, 20, 60, 0), 2);

    d.nivells_so[0] = 30;
    d.nivells_so[1] = 50;
    d.nivells_so[10] = 1;
    EXPECT_EQ(f_so(d, 20, 60, 1), 1);
    EXPECT_EQ(d.nivells_so[0] + d.nivells_so[1] + d.nivells_so[10], 0); // the ring is cleared
    d.nivells_so[0] = 30;
    d.nivells_so[1] = 90;
    EXPECT_EQ(f_so(d, 20, 60, 1), 0);
    d.nivells_so[0] = 30;
    EXPECT_EQ(f_so(d, 20, 60, 1), 2); // one reading only
}

TEST_F(Comparadors, SoundMatcherJudgesOnlyItemsThatListen) {
    it().nivell = {1, 20, 60};
    d.nivell_so = 40;
    EXPECT_EQ(comprova_so(e, 1), 1);
    d.nivell_so = 80;
    EXPECT_EQ(comprova_so(e, 1), 0);
    d.nivell_so = 10;
    EXPECT_EQ(comprova_so(e, 1), -2);

    // A key item is never made wrong by room noise.
    it(2).teclat[0] = 1;
    d.nivell_so = 100;
    EXPECT_EQ(comprova_so(e, 2), -2);

    // A series whose next code is a sound band: "S" + level 20 + level 60.
    it(3).teclat[10] = 1;
    it(3).serie =
        QStringLiteral("S") + cp1252_a_caracter(20 + 126) + cp1252_a_caracter(60 + 126) + codi_tecla(65);
    d.nivells_so[0] = 30;
    d.nivells_so[1] = 10;
    EXPECT_EQ(comprova_so(e, 3), -2); // undecided: wait for more
    d.nivells_so[0] = 30;
    d.nivells_so[1] = 40;
    EXPECT_EQ(comprova_so(e, 3), -1);
    EXPECT_EQ(inf.respostes_be, 1);
    // The next code is a key: the sound level has nothing to judge.
    EXPECT_EQ(comprova_so(e, 3), -2);
}

TEST_F(Comparadors, ASoundBandWhoseUpperCaseIsLongerKeepsTheSeriesInStep) {
    // Level 97 is stored as "ß", which a full case mapping makes "SS".
    it().teclat[10] = 1;
    it().serie =
        QStringLiteral("S") + cp1252_a_caracter(20 + 126) + cp1252_a_caracter(97 + 126) + codi_tecla(65);
    ASSERT_EQ(it().serie.at(2), QChar(0xDF));
    d.nivells_so[0] = 50;
    d.nivells_so[1] = 60;
    EXPECT_EQ(comprova_so(e, 1), -1);
    EXPECT_EQ(seq.size(), 3);
    EXPECT_EQ(comprova_tecla(e, 1, 65), 1);
    EXPECT_EQ(completes, 1);
    EXPECT_TRUE(seq.isEmpty());
}
