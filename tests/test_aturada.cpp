// A stop that comes while the player waits in place (a program starting, the
// event queue running between questions): nothing of the stopped run goes on.
#include "core/informe.h"
#include "presentacio_prova.h"

#include <QKeyEvent>

using namespace lumi;
using namespace lumi::proves;

namespace {
struct Aturada : FinestraProva {
    void SetUp() override {
        FinestraProva::SetUp();
        informe() = dades_informe{};
        activitat().mode_estimul = QStringLiteral("1");
    }
    void TearDown() override {
        f->exercici_atura();
        FinestraProva::TearDown();
    }
};
} // namespace

TEST_F(Aturada, EscWhileAStimulusProgramStartsEndsThatStimulus) {
    const QString entrada =
        QStringLiteral("/act/p.exe") + sep() + QStringLiteral("/act/b.mp3") + sep() + QStringLiteral("Text");
    posar_estimul(1, entrada, 0);
    posar_estimul(2, entrada, 0);
    // Starting a program yields to the queue for a while: Esc lands there.
    serveis_presentacio().executar_programa = [this](const QString& x, int16_t m) {
        crides << QStringLiteral("executar %1 %2").arg(x).arg(m);
        f->atura_per_esc();
        return 77;
    };
    f->engegar_exercici();
    EXPECT_FALSE(f->exercici_en_marxa);
    // The program it started is still closed; the rest is not played.
    EXPECT_EQ(crides.filter(QStringLiteral("executar")).size(), 1);
    EXPECT_TRUE(crides.contains(QStringLiteral("tancar 77")));
    EXPECT_FALSE(crides.contains(QStringLiteral("media /act/b.mp3")));
    EXPECT_TRUE(f->Label_par->isHidden());
    EXPECT_EQ(informe().nombre_preguntes, 1);
}

TEST_F(Aturada, EscHandledWhileTheNextQuestionIsChosenAsksNothingMore) {
    posar_estimul(1, QStringLiteral("u"), 0);
    posar_estimul(2, QStringLiteral("dos"), 0);
    f->engegar_exercici();
    ASSERT_TRUE(f->exercici_en_marxa);
    ASSERT_EQ(informe().nombre_preguntes, 1);
    QCoreApplication::postEvent(f.get(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    f->pregunta_seguent();
    EXPECT_FALSE(f->exercici_en_marxa);
    EXPECT_EQ(informe().nombre_preguntes, 1);
    EXPECT_EQ(informe().preguntes_no_respostes, 1);
    EXPECT_EQ(informe_detall().count(QStringLiteral("NOU ESTIMUL")), 1);
    EXPECT_FALSE(f->Label_par->isVisible());
    // Outside a run the sequence still works as before.
    f->pregunta_seguent();
    EXPECT_NE(jugador().index_actual, 0);
    EXPECT_EQ(informe().nombre_preguntes, 2);
}

TEST_F(Aturada, AProgramOfAStoppedRunIsClosedWithoutWaitingOutItsTime) {
    posar_estimul(1, QStringLiteral("/act/p.exe"), 5);
    posar_estimul(2, QStringLiteral("/act/p.exe"), 5);
    double parat = -1, tancat = -1;
    serveis_presentacio().executar_programa = [this, &parat](const QString&, int16_t) {
        f->atura_per_esc();
        parat = rellotge.t;
        return 77;
    };
    serveis_presentacio().tancar_finestra = [this, &tancat](int32_t) { tancat = rellotge.t; };
    f->engegar_exercici();
    ASSERT_GE(parat, 0);
    ASSERT_GE(tancat, parat);
    // Closed at once, not five seconds later.
    EXPECT_LT(tancat - parat, 1.0);
}
