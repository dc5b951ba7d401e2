// Reactions and the reaction player on the player window, with an injected
// clock, random source and recording media services.
#include "core/fitxer_lrq.h"
#include "platform/pantalla.h"

#include "presentacio_prova.h"
#include "player/reproductor_reaccio.h"
#include "core/tecles.h"

#include <QTemporaryDir>
#include <QTest>

using namespace lumi;
using namespace lumi::proves;

namespace {

struct Reaccions : FinestraProva {
    void SetUp() override {
        FinestraProva::SetUp();
        f->exercici_en_marxa = true;
        activitat().items[1].retard_be = 2;
        activitat().items[1].retard_mal = 1;
    }
    void TearDown() override {
        rellotge.en_llegir = nullptr;
        restaurar_serveis_reaccio();
        if (f) f->exercici_en_marxa = false;
        FinestraProva::TearDown();
        plataforma::mostrar_cursor();
    }
    // Item i's right reactions, as a list.
    static void be(int i, const QStringList& entrades) {
        activitat().items[i].si_be = QString::number(entrades.size()) + sep() + entrades.join(u'|');
    }
    // Runs f while watching the screen when the clock passes `quan` seconds.
    struct Vist {
        bool imatge = false, text = false, cursor_amagat = false;
    };
    Vist durant(double quan, const std::function<void()>& fer, double& durada) {
        Vist v;
        const double inici = rellotge.t;
        bool fet = false;
        rellotge.en_llegir = [&] {
            if (!fet && rellotge.t - inici >= quan) {
                fet = true;
                v.imatge = f->Image2->isVisible();
                v.text = f->Label_par->isVisible();
                v.cursor_amagat = plataforma::cursor_amagat();
            }
        };
        fer();
        rellotge.en_llegir = nullptr;
        durada = rellotge.t - inici;
        return v;
    }
    // Series: item 1 with `codis` key codes; P codes matched.
    void serie(int codis) {
        item& it = activitat().items[1];
        it.teclat[10] = 1;
        it.serie.clear();
        for (int k = 0; k < codis; ++k)
            it.serie += codi_tecla('A' + k);
        activitat().items[0] = it;
    }
    void pas(int P) {
        f->sequencia_parcial = activitat().items[1].serie.left(3 * P);
        f->reaccio_serie_be(1);
    }
};

} // namespace

TEST_F(Reaccions, SoundPictureAndTextPlayForTheirTimeThenClear) {
    be(1,
       {QStringLiteral("so.wav") + sep() + QStringLiteral("p300x200.jpg") + sep() + QStringLiteral("Hola")});
    jugador().media_actual.clear();
    double durada = 0;
    const Vist v = durant(
        1.5, [&] { f->reaccio_be(1); }, durada);
    EXPECT_TRUE(v.imatge);
    EXPECT_TRUE(v.text);
    EXPECT_TRUE(v.cursor_amagat);
    EXPECT_TRUE(crides.contains(QStringLiteral("so so.wav")));
    EXPECT_GE(durada, 2.0);
    EXPECT_LT(durada, 2.5);
    EXPECT_FALSE(f->Image2->isVisible());
    EXPECT_FALSE(f->Label_par->isVisible());
    EXPECT_TRUE(f->Image1->isVisible());
    EXPECT_FALSE(plataforma::cursor_amagat());
    EXPECT_TRUE(informe_detall().endsWith(QStringLiteral("| BE so.wav") + sep() +
                                          QStringLiteral("p300x200.jpg") + sep() + QStringLiteral("Hola")));
}

TEST_F(Reaccions, ReactionTimesAreNotScaledByTheSpeed) {
    jugador().velocitat = 0.5f;
    be(1, {QStringLiteral("Hola")});
    double durada = 0;
    durant(
        0, [&] { f->reaccio_be(1); }, durada);
    EXPECT_GE(durada, 2.0);
    EXPECT_LT(durada, 2.5);
    // Wrong reactions use their own time, unscaled as well.
    durant(
        0, [&] { f->reaccio_mal(1); }, durada);
    EXPECT_GE(durada, 1.0);
    EXPECT_LT(durada, 1.5);
}

TEST_F(Reaccions, AnEmptyEntryWaitsItsTimeAndClears) {
    f->Image2->show();
    double durada = 0;
    durant(
        0, [&] { f->fitxer_executa(QString(), 1.5f); }, durada);
    EXPECT_GE(durada, 1.5);
    EXPECT_TRUE(crides.isEmpty());
    EXPECT_FALSE(f->Image2->isVisible());
    // No reactions of that kind: the log line stands alone.
    f->reaccio_mal(1);
    EXPECT_TRUE(informe_detall().endsWith(QStringLiteral("| mal ")));
}

TEST_F(Reaccions, ATimerDoesNotTickDuringTheFinalWait) {
    int ticks = 0;
    QObject::connect(f->t_joystick, &QTimer::timeout, [&] { ++ticks; });
    f->t_joystick->start(1);
    rellotge.pas = 0.002; // slow enough for real time to pass
    f->fitxer_executa(QStringLiteral("Hola"), 0.2f);
    EXPECT_EQ(ticks, 0);
    f->t_joystick->stop();
}

TEST_F(Reaccions, ActivityFileStopsTheRunAndStartsTheOtherAtOnce) {
    QTemporaryDir dir;
    const QString altra = dir.filePath(QStringLiteral("altra.lrq"));
    {
        const Activitat guardada = activitat();
        Activitat& a = activitat();
        a.items.assign(2, item{});
        a.nombre_items = 1;
        a.items[1].estimuls = QStringLiteral("1") + sep() + QStringLiteral("Nova");
        a.items[1].teclat[0] = 1;
        ASSERT_TRUE(desar_exercici(altra));
        activitat() = guardada;
    }
    const unsigned abans = f->generacio_exercici;
    f->fitxer_executa(altra + sep() + QStringLiteral("so.wav"), 30);
    EXPECT_EQ(f->generacio_exercici, abans + 1);
    EXPECT_TRUE(f->exercici_en_marxa);
    EXPECT_EQ(activitat().nombre_items, 1);
    EXPECT_EQ(informe().nom_exercici, altra);
    EXPECT_FALSE(crides.contains(QStringLiteral("so so.wav")));
    // The reaction's 30 seconds were not waited out.
    EXPECT_LT(rellotge.t, 100 + 30);
    f->exercici_atura();
}

TEST_F(Reaccions, NoImmediateRepeatWithTwoAndThreeReactions) {
    be(1, {QStringLiteral("u"), QStringLiteral("dos")});
    activitat().items[1].retard_be = 0;
    atzar.valors = {0.1f, 0.1f, 0.7f, 0.7f, 0.7f, 0.1f};
    QStringList vistes;
    for (int k = 0; k < 4; ++k) {
        f->reaccio_be(1);
        vistes << informe_detall().section(QStringLiteral("| BE "), -1);
    }
    EXPECT_EQ(vistes, (QStringList{QStringLiteral("u"), QStringLiteral("dos"), QStringLiteral("u"),
                                   QStringLiteral("dos")}));

    // Three: the repeated draw is drawn again, the other two may follow.
    be(2, {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    atzar.valors = {0.5f, 0.5f, 0.5f, 0.9f, 0.9f, 0.0f};
    atzar.usats = 0;
    vistes.clear();
    for (int k = 0; k < 3; ++k) {
        f->reaccio_be(2);
        vistes << informe_detall().section(QStringLiteral("| BE "), -1);
    }
    EXPECT_EQ(vistes, (QStringList{QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("a")}));
    // Keys differ by item: item 1 may repeat its own last after item 2.
    EXPECT_EQ(jugador().reaccio_be_anterior, QStringLiteral(" 2R 0"));
}

TEST_F(Reaccions, AHeldKeyDelaysTheNextQuestionButALostReleaseCannotFreezeIt) {
    be(1, {QStringLiteral("Hola")});
    activitat().items[1].retard_be = 0;
    f->repeticions_tecla = 3; // the release never comes
    const double inici = rellotge.t;
    f->reaccio_be(1);
    EXPECT_GE(rellotge.t - inici, ESPERA_MAXIMA_TECLA);
    EXPECT_LT(rellotge.t - inici, ESPERA_MAXIMA_TECLA + 1);
}

TEST_F(Reaccions, ScreenSaverThatNeverCameUpIsLaunchedOnce) {
    ServeisPresentacio& s = serveis_presentacio();
    int llancaments = 0;
    s.executar_programa = [&](const QString&, int16_t) {
        ++llancaments;
        return 0;
    };
    f->fitxer_executa(QStringLiteral("estalvi.scr"), 1);
    EXPECT_EQ(llancaments, 1);

    // One that closes before its time is started again.
    llancaments = 0;
    s.executar_programa = [&](const QString&, int16_t) { return ++llancaments; };
    serveis_reaccio().finestra_viva = [&](int32_t h) { return h >= 3; };
    f->fitxer_executa(QStringLiteral("estalvi.scr"), 1);
    EXPECT_EQ(llancaments, 3);
}

TEST_F(Reaccions, SlideShowsProgramsAndVideosAreEndedAfterTheirTime) {
    f->fitxer_executa(QStringLiteral("prog.exe:P050") + sep() + QStringLiteral("no.jpg"), 1);
    EXPECT_TRUE(crides.contains(QStringLiteral("executar prog.exe 3")));
    EXPECT_TRUE(crides.contains(QStringLiteral("tancar 77")));
    EXPECT_FALSE(crides.contains(QStringLiteral("imatge no.jpg")));

    crides.clear();
    f->Picture1->show();
    jugador().media_actual = QStringLiteral("peli.avi");
    f->fitxer_executa(QStringLiteral("peli.avi:x"), 0.5f);
    EXPECT_TRUE(crides.contains(QStringLiteral("media peli.avi")));
    EXPECT_TRUE(mci.ordres.contains(QStringLiteral("close peli.avi")));
    EXPECT_FALSE(f->Picture1->isVisible());
    EXPECT_TRUE(jugador().media_actual.isEmpty());
}

TEST_F(Reaccions, SeriesTextGrowsWithHalvesToEven) {
    serie(4);
    be(1, {QStringLiteral("CENTRAT_BRAVO")});
    QStringList vistes;
    for (int P = 1; P <= 3; ++P) {
        pas(P);
        vistes << f->Label_par->text();
    }
    EXPECT_EQ(vistes, (QStringList{QStringLiteral("B"), QStringLiteral("BR"), QStringLiteral("BRAV")}));
    EXPECT_TRUE(informe_detall().contains(QStringLiteral(" SERIE BE ")));
}

TEST_F(Reaccions, SeriesColourBarGrowsFromTheLeft) {
    serie(3);
    be(1, {QStringLiteral("COLOR_255")});
    pas(1);
    EXPECT_TRUE(f->Label_par->isVisible());
    EXPECT_EQ(f->Label_par->geometry(), QRect(0, 0, qRound(f->width() / 3.0), f->height()));
    EXPECT_TRUE(f->Label_par->styleSheet().contains(QStringLiteral("#ff0000")));
    pas(2);
    EXPECT_EQ(f->Label_par->width(), qRound(f->width() * 2 / 3.0));
}

TEST_F(Reaccions, SeriesPictureIsRevealedStepByStep) {
    serie(3);
    be(1, {QStringLiteral("p300x200.jpg")});
    pas(1);
    EXPECT_EQ(f->Image2->geometry(), QRect(462, 284, 100, 200));
    EXPECT_TRUE(f->Image2->isVisible());
    pas(2);
    EXPECT_EQ(f->Image2->geometry(), QRect(412, 284, 200, 200));

    // Placed at 50 percent: a curtain uncovers it from the left.
    f->reaccio_serie_pendent.clear();
    be(1, {QStringLiteral("p400x200.jpg:P050")});
    pas(1);
    EXPECT_EQ(f->Image2->geometry(), QRect(256, 256, 512, 256));
    EXPECT_EQ(f->Label_par->geometry(), QRect(256 + 171, 256, 341, 256));
    pas(2);
    EXPECT_EQ(f->Image2->geometry(), QRect(256, 256, 512, 256));
    EXPECT_EQ(f->Label_par->geometry(), QRect(256 + 341, 256, 171, 256));
}

TEST_F(Reaccions, SeriesStepsPassOverSingleSoundsAndShowTheFirstOrderOnly) {
    serie(3);
    be(1, {QStringLiteral("a.wav"), QStringLiteral("CENTRAT_HOLA") + sep() + QStringLiteral("b.wav")});
    atzar.valors = {0.1f}; // draws the sound: the next entry serves
    pas(1);
    EXPECT_EQ(f->reaccio_serie_pendent, QStringLiteral("CENTRAT_HOLA") + sep() + QStringLiteral("b.wav"));
    EXPECT_FALSE(crides.contains(QStringLiteral("so b.wav")));
    // Only sounds: nothing is shown and the next step draws again.
    f->reaccio_serie_pendent.clear();
    f->Label_par->hide();
    be(1, {QStringLiteral("a.wav"), QStringLiteral("b.WAV")});
    pas(1);
    EXPECT_TRUE(f->reaccio_serie_pendent.isEmpty());
    EXPECT_FALSE(f->Label_par->isVisible());
}

TEST_F(Reaccions, AWrongInputInsideASeriesShowsTheSamePartAgain) {
    f->connectar_resposta();
    f->mn_opcions->menuAction()->setVisible(false);
    jugador().index_actual = 1;
    serie(3);
    be(1, {QStringLiteral("p300x200.jpg")});
    QTest::keyClick(f.get(), Qt::Key_A);
    const QRect primer = f->Image2->geometry();
    EXPECT_EQ(primer.width(), 100);
    QTest::keyClick(f.get(), Qt::Key_X);
    EXPECT_EQ(f->Image2->geometry(), primer);
    EXPECT_TRUE(f->Image2->isVisible());
    EXPECT_EQ(informe().respostes_mal, 1);
    QTest::keyClick(f.get(), Qt::Key_B);
    EXPECT_EQ(f->Image2->width(), 200);
}
