// The answer cycle without a window: what each result does to the counters
// and what it asks of the screen, in order.
#include "core/activitat.h"
#include "player/cicle_resposta.h"
#include "player/comparadors.h"
#include "core/informe.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace lumi;

namespace {

struct EscenaGravadora : EscenaResposta {
    QStringList fets;
    std::function<void()> en_reaccio; // runs inside every reaction
    void reaccio_be(int16_t i) override { fet(QStringLiteral("be %1").arg(i)); }
    void reaccio_mal(int16_t i) override { fet(QStringLiteral("mal %1").arg(i)); }
    void reaccio_serie_be(int16_t i) override { fet(QStringLiteral("serie %1").arg(i)); }
    void estimul_presenta(int16_t i) override { fets << QStringLiteral("presenta %1").arg(i); }
    void pregunta_seguent() override { fets << QStringLiteral("seguent"); }
    void pantalla_prepara() override { fets << QStringLiteral("prepara"); }
    void apartar_finestra() override { fets << QStringLiteral("aparta"); }
    void fet(const QString& f) {
        fets << f;
        if (en_reaccio) en_reaccio();
    }
};

struct Cicle : ::testing::Test {
    EscenaGravadora escena;
    CicleResposta cicle{escena};
    void SetUp() override {
        activitat() = Activitat{};
        activitat().items.resize(4);
        activitat().nombre_items = 3;
        jugador() = EstatJugador{};
        informe() = dades_informe{};
        cicle.exercici_en_marxa = true;
    }
    void TearDown() override { activitat() = Activitat{}; }
    // An open question on item i, as the question sequence leaves it.
    void preguntar(int16_t i) {
        jugador().index_actual = i;
        informe().nombre_preguntes += 1;
        informe().preguntes_no_respostes += 1;
        informe().pregunta_oberta = CERT;
        cicle.pregunta_activa = true;
    }
};

} // namespace

TEST_F(Cicle, RightWrongAndSeriesAnswersToTheItemAsked) {
    preguntar(2);
    cicle.comptar_resposta();
    EXPECT_FALSE(cicle.jutjar([](int16_t) { return COMPROVA_MAL; }, true));
    cicle.comptar_resposta();
    cicle.sequencia_parcial = QStringLiteral("H39");
    EXPECT_FALSE(cicle.jutjar([](int16_t) { return COMPROVA_PAS_SERIE; }, true));
    cicle.comptar_resposta();
    EXPECT_FALSE(cicle.jutjar([](int16_t i) { return i; }, true));

    EXPECT_EQ(escena.fets,
              (QStringList{QStringLiteral("mal 2"), QStringLiteral("presenta 2"), QStringLiteral("prepara"),
                           QStringLiteral("serie 2"), QStringLiteral("be 2"), QStringLiteral("seguent")}));
    const dades_informe& inf = informe();
    EXPECT_EQ(inf.nombre_respostes, 3);
    EXPECT_EQ(inf.respostes_mal, 1);
    EXPECT_EQ(inf.respostes_be, 1);
    EXPECT_EQ(inf.preguntes_no_respostes, 0); // closed once, by the first answer
    EXPECT_FALSE(cicle.pregunta_activa);
}

TEST_F(Cicle, AStopOrAChainDuringTheReactionAsksNothingMore) {
    preguntar(1);
    // The reaction ended the run (TANCAR, a chained activity).
    escena.en_reaccio = [this] { ++cicle.generacio_exercici; };
    EXPECT_FALSE(cicle.jutjar([](int16_t i) { return i; }, false));
    EXPECT_FALSE(cicle.jutjar([](int16_t) { return COMPROVA_MAL; }, false));
    EXPECT_EQ(escena.fets, (QStringList{QStringLiteral("be 1"), QStringLiteral("mal 1")}));

    // With the activity's option the window steps aside and the answer
    // window stays open for the timer to end.
    escena.en_reaccio = nullptr;
    escena.fets.clear();
    activitat().finestra_opcio = 1;
    EXPECT_TRUE(cicle.jutjar([](int16_t i) { return i; }, false));
    EXPECT_EQ(escena.fets, (QStringList{QStringLiteral("be 1"), QStringLiteral("aparta")}));
    EXPECT_TRUE(cicle.pregunta_activa);
}

TEST_F(Cicle, WithNoItemAskedTheFirstFittingItemWinsAndNothingIsWrong) {
    jugador().index_actual = 0;
    QList<int16_t> jutjats;
    cicle.jutjar(
        [&](int16_t i) {
            jutjats << i;
            return i == 2 ? i : COMPROVA_MAL;
        },
        false);
    EXPECT_EQ(jutjats, (QList<int16_t>{1, 2}));
    EXPECT_EQ(escena.fets, QStringList{QStringLiteral("be 2")});
    EXPECT_EQ(informe().respostes_be, 1);
    EXPECT_EQ(informe().respostes_mal, 0);

    escena.fets.clear();
    cicle.jutjar([](int16_t) { return COMPROVA_MAL; }, false);
    EXPECT_TRUE(escena.fets.isEmpty());
    EXPECT_EQ(informe().respostes_mal, 0);
}
