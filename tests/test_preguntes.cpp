#include "player/Form1.h"
#include "ajudes_exercici.h"
#include "platform/instancia.h"

#include <gtest/gtest.h>

using namespace lumi;
using namespace lumi::proves;

namespace {
struct Preguntes : ::testing::Test {
    EntornProva entorn;
    Form1 f;
    void SetUp() override {
        ASSERT_TRUE(f.Form_Load());
        jugador().estat_finestra = 1; // already activated: no start dialog
        entorn.rellotge.dia = 36000.25;
    }
    void TearDown() override { plataforma::alliberar_instancia_unica(); }

    // The items asked by n questions, from the start of an exercise.
    std::vector<int> preguntar(int n) {
        jugador().item_anterior = -1;
        std::vector<int> r;
        for (int i = 0; i < n; ++i) {
            f.pregunta_seguent();
            r.push_back(jugador().index_actual);
        }
        return r;
    }
};
} // namespace

TEST_F(Preguntes, InOrderAsksEveryItemInTurnAndCountsEachQuestion) {
    activitat_de_prova(3);
    EXPECT_EQ(preguntar(6), (std::vector<int>{1, 2, 3, 1, 2, 3}));
    EXPECT_EQ(informe().nombre_preguntes, 6);
    EXPECT_EQ(informe().preguntes_no_respostes, 6);
    EXPECT_EQ(informe().pregunta_oberta, -1);
    const QString linia = QStringLiteral("\r\n10:00:00|************ NOU ESTIMUL ************");
    EXPECT_EQ(informe_detall().count(linia), 6);
    EXPECT_TRUE(informe_detall().startsWith(linia));
}

TEST_F(Preguntes, EachQuestionDropsTheSeriesInProgress) {
    activitat_de_prova(2);
    f.sequencia_parcial = QStringLiteral("H1EH1F");
    f.reaccio_serie_pendent = QStringLiteral("be.wav");
    f.pregunta_seguent();
    EXPECT_TRUE(f.sequencia_parcial.isEmpty());
    EXPECT_TRUE(f.reaccio_serie_pendent.isEmpty());
}

TEST_F(Preguntes, InOrderAnEmptyItemIsPassedOverAndTheOrderGoesOnFromIt) {
    activitat_de_prova(3);
    activitat().items[2].estimuls = QStringLiteral("0") + QChar(0xBB);
    EXPECT_EQ(preguntar(6), (std::vector<int>{1, 3, 3, 1, 3, 3}));
    EXPECT_EQ(informe().nombre_preguntes, 6);
}

// The presentation draws from the same source after the question is chosen,
// so each case scripts one question's draws.
TEST_F(Preguntes, AtRandomTheSameItemNeverComesTwiceRunning) {
    activitat_de_prova(4);
    activitat().mode_estimul = QStringLiteral("0");
    auto preguntar_amb = [&](int anterior, std::deque<float> valors) {
        jugador().item_anterior = static_cast<int16_t>(anterior);
        entorn.atzar.valors = std::move(valors);
        entorn.atzar.demanats = 0;
        f.pregunta_seguent();
        return jugador().index_actual;
    };
    // Item 1 was asked last: two draws of it are set aside.
    EXPECT_EQ(preguntar_amb(0, {0.1f, 0.2f, 0.6f}), 3);
    EXPECT_GE(entorn.atzar.demanats, 3);
    EXPECT_EQ(jugador().item_anterior, 2);
    EXPECT_EQ(preguntar_amb(2, {0.55f, 0.99f}), 4);
    EXPECT_EQ(preguntar_amb(-1, {0.0f}), 1);
    // With two items they alternate.
    activitat_de_prova(2);
    activitat().mode_estimul = QStringLiteral("0");
    EXPECT_EQ(preguntar_amb(0, {0.2f, 0.3f, 0.9f}), 2);
    EXPECT_EQ(preguntar_amb(1, {0.9f, 0.6f, 0.1f}), 1);
    // A source stuck on the last item asked: the other one, all the same.
    EXPECT_EQ(preguntar_amb(1, {0.6f}), 1);
}

TEST_F(Preguntes, OneItemIsAskedEveryTimeInEitherOrder) {
    activitat_de_prova(1);
    EXPECT_EQ(preguntar(3), (std::vector<int>{1, 1, 1}));
    activitat().mode_estimul = QStringLiteral("0");
    entorn.atzar.valors = {0.5f};
    EXPECT_EQ(preguntar(3), (std::vector<int>{1, 1, 1}));
}

TEST_F(Preguntes, AForcedItemIsAskedOnceWhateverTheOrder) {
    activitat_de_prova(6);
    activitat().mode_estimul = QStringLiteral("0");
    entorn.atzar.valors = {0.7f}; // item 5
    jugador().item_anterior = -1;
    f.pregunta_seguent();
    ASSERT_EQ(jugador().index_actual, 5);
    // The jump goes to item 5 again: the no-repeat rule does not apply.
    jugador().item_salt = QStringLiteral("005");
    entorn.atzar.valors = {0.1f};
    f.pregunta_seguent();
    EXPECT_EQ(jugador().index_actual, 5);
    EXPECT_TRUE(jugador().item_salt.isEmpty());
    f.pregunta_seguent();
    EXPECT_EQ(jugador().index_actual, 1);
}

TEST_F(Preguntes, AForcedItemWithNothingToShowGoesToTheNextThatHas) {
    activitat_de_prova(6);
    activitat().items[5].estimuls.clear();
    jugador().item_salt = QStringLiteral("005");
    f.pregunta_seguent();
    EXPECT_EQ(jugador().index_actual, 6);
    EXPECT_EQ(jugador().item_anterior, 4);
}

TEST_F(Preguntes, AJumpOutsideTheActivityIsIgnored) {
    activitat_de_prova(3);
    for (const QString& salt : {QStringLiteral("000"), QStringLiteral("004"), QStringLiteral("999"),
                                QStringLiteral("-02"), QStringLiteral("abc")}) {
        jugador().item_anterior = 0; // item 1 asked last: in order, item 2 comes
        jugador().item_salt = salt;
        f.pregunta_seguent();
        EXPECT_EQ(jugador().index_actual, 2) << salt.toStdString();
        EXPECT_TRUE(jugador().item_salt.isEmpty());
    }
}

TEST_F(Preguntes, NothingIsAskedWhenNoItemHasStimuli) {
    activitat_de_prova(3);
    for (int i = 1; i <= 3; ++i)
        activitat().items[static_cast<size_t>(i)].estimuls = QStringLiteral("0") + QChar(0xBB);
    jugador().index_actual = 2;
    f.pregunta_seguent();
    EXPECT_EQ(jugador().index_actual, 0);
    EXPECT_EQ(informe().nombre_preguntes, 0);
    EXPECT_TRUE(informe_detall().isEmpty());

    // An activity without items at all asks nothing either.
    activitat().items.resize(1);
    activitat().nombre_items = 0;
    f.pregunta_seguent();
    EXPECT_EQ(jugador().index_actual, 0);
    EXPECT_EQ(informe().nombre_preguntes, 0);
}
