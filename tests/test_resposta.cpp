// The answer cycle on the player window, driven by simulated keys and clicks.
#include "core/codis.h"
#include "platform/cursor_confinament.h"
#include "platform/pantalla.h"

#include "presentacio_prova.h"
#include "core/tecles.h"

#include <QMouseEvent>
#include <QTest>

using namespace lumi;
using namespace lumi::proves;

namespace {

struct Resposta : FinestraProva {
    QRect confinat_durant; // the pointer box seen while a reaction played

    void SetUp() override {
        FinestraProva::SetUp();
        f->connectar_resposta();
        f->exercici_en_marxa = true;
        f->mn_opcions->menuAction()->setVisible(false);
        atzar.valors = {0.9f, 0.1f};
        Activitat& a = activitat();
        for (int i = 1; i <= 2; ++i) {
            a.items[i].estimuls = QStringLiteral("1\u00bbPregunta");
            a.items[i].si_be = QStringLiteral("1\u00bbBe");
            a.items[i].si_mal = QStringLiteral("1\u00bbMalament");
            a.items[i].retard_be = 0.5f;
            a.items[i].retard_mal = 0.5f;
        }
        jugador().index_actual = 1;
        jugador().item_anterior = 0;
        dades_informe& inf = informe();
        inf = dades_informe{};
        inf.nombre_preguntes = 1;
        inf.preguntes_no_respostes = 1;
        inf.pregunta_oberta = CERT;
        rellotge.en_llegir = [this] {
            if (f && f->resposta_en_curs()) confinat_durant = plataforma::cursor_confinat();
        };
    }
    void TearDown() override {
        rellotge.en_llegir = nullptr;
        if (f) f->exercici_en_marxa = false;
        FinestraProva::TearDown();
        plataforma::alliberar_cursor();
        plataforma::mostrar_cursor();
    }
    void alliberada() {
        EXPECT_TRUE(plataforma::cursor_confinat().isEmpty());
        EXPECT_FALSE(f->forat->isEnabled());
    }
    void moure(QWidget* w, QPoint p) {
        QMouseEvent e(QEvent::MouseMove, QPointF(p), QPointF(w->mapToGlobal(p)), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
        QCoreApplication::sendEvent(w, &e);
    }
};

} // namespace

TEST_F(Resposta, ARightKeyCountsAndAsksTheNextQuestion) {
    activitat().items[1].teclat[2] = 1;
    QTest::keyClick(f.get(), Qt::Key_Space);
    const dades_informe& inf = informe();
    EXPECT_EQ(inf.nombre_respostes, 1);
    EXPECT_EQ(inf.respostes_be, 1);
    EXPECT_EQ(inf.respostes_mal, 0);
    EXPECT_EQ(inf.nombre_preguntes, 2);
    EXPECT_EQ(inf.preguntes_no_respostes, 1); // the first was answered, the second is open
    EXPECT_EQ(jugador().index_actual, 2);
    EXPECT_TRUE(informe_detall().contains(QStringLiteral("| BE Be")));
    EXPECT_FALSE(confinat_durant.isEmpty());
    alliberada();
}

TEST_F(Resposta, AWrongKeyPresentsTheSameItemAndClosesTheQuestionOnce) {
    activitat().items[1].teclat[2] = 1;
    QTest::keyClick(f.get(), Qt::Key_A);
    QTest::keyClick(f.get(), Qt::Key_B);
    const dades_informe& inf = informe();
    EXPECT_EQ(inf.nombre_respostes, 2);
    EXPECT_EQ(inf.respostes_mal, 2);
    EXPECT_EQ(inf.respostes_be, 0);
    EXPECT_EQ(inf.preguntes_no_respostes, 0);
    EXPECT_EQ(inf.nombre_preguntes, 1);
    EXPECT_EQ(jugador().index_actual, 1);
    EXPECT_TRUE(f->pregunta_activa); // presented again with a new answer window
    EXPECT_EQ(informe_detall().count(QStringLiteral("| mal Malament")), 2);
    alliberada();
}

TEST_F(Resposta, KeypadDigitsAreJudgedAsTheMainKeyboardDigits) {
    activitat().items[1].teclat[3] = 1;
    activitat().items[1].tecles_llista = codi_tecla(53);
    int16_t tecla = 101; // keypad 5
    f->Form_KeyDown(tecla, 0);
    EXPECT_EQ(tecla, 53);
    EXPECT_EQ(informe().respostes_be, 1);

    activitat().items[2].teclat[3] = 1;
    activitat().items[2].tecles_llista = codi_tecla(53);
    QTest::keyClick(f.get(), Qt::Key_5, Qt::KeypadModifier);
    EXPECT_EQ(informe().respostes_be, 2);
}

TEST_F(Resposta, SpaceAndEnterLiveGiveTheCodesTheFileStores) {
    const QString espai = accions_text_a_codis(QStringLiteral("{ESPAI}"), 0);
    const QString enter = accions_text_a_codis(QStringLiteral("{ENTER}"), 0);
    EXPECT_EQ(codi_tecla_qt(Qt::Key_Space, false), espai);
    EXPECT_EQ(codi_tecla_qt(Qt::Key_Return, false), enter);
    EXPECT_EQ(codi_tecla_qt(Qt::Key_Enter, true), enter);

    item& it = activitat().items[1];
    it.teclat[10] = 1;
    it.serie = espai + enter;
    QTest::keyClick(f.get(), Qt::Key_Space);
    EXPECT_EQ(f->sequencia_parcial, espai);
    QTest::keyClick(f.get(), Qt::Key_Enter, Qt::KeypadModifier);
    // The step and the completion: two right answers, and the next question.
    EXPECT_EQ(informe().respostes_be, 2);
    EXPECT_EQ(jugador().index_actual, 2);
}

TEST_F(Resposta, SeriesStepsAWrongStepAndCompletionAreCounted) {
    item& it = activitat().items[1];
    it.teclat[10] = 1;
    it.serie = codi_tecla('A') + codi_tecla('B') + codi_tecla('C');
    it.si_be = QStringLiteral("1\u00bbCENTRAT_BRAVO");
    QTest::keyClick(f.get(), Qt::Key_A);
    QTest::keyClick(f.get(), Qt::Key_X);
    QTest::keyClick(f.get(), Qt::Key_B);
    const dades_informe& inf = informe();
    EXPECT_EQ(inf.respostes_be, 2);
    EXPECT_EQ(inf.respostes_mal, 1);
    EXPECT_EQ(inf.nombre_respostes, 3);
    EXPECT_EQ(jugador().index_actual, 1); // no new question inside a series
    EXPECT_EQ(f->reaccio_serie_pendent, QStringLiteral("CENTRAT_BRAVO"));
    QTest::keyClick(f.get(), Qt::Key_C);
    EXPECT_EQ(inf.respostes_be, 3);
    EXPECT_EQ(inf.nombre_respostes, 4);
    EXPECT_TRUE(f->reaccio_serie_pendent.isEmpty());
    EXPECT_EQ(jugador().index_actual, 2);
    alliberada();
}

TEST_F(Resposta, ClicksOnAnyChildAreJudgedInWindowCoordinates) {
    Activitat& a = activitat();
    a.zones.resize(2);
    a.zones[1] = zona{100, 100, 200, 200, QString()};
    a.zones_max = 1;
    a.items[1].ratoli[3] = 1;
    a.items[1].zones_ratoli = QStringLiteral("Z01");
    // The text label lies over the zone: the click lands on it.
    f->Label_par->setGeometry(150, 150, 40, 40);
    f->Label_par->show();
    f->Label_par->raise();
    QTest::mouseClick(f->Label_par, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(informe().respostes_be, 1);
    EXPECT_EQ(jugador().index_actual, 2);

    // A right click outside the zone, on the main picture, is wrong.
    a.items[2].ratoli[3] = 1;
    a.items[2].zones_ratoli = QStringLiteral("Z01");
    f->Image1->setGeometry(400, 300, 100, 100);
    f->Image1->show();
    f->Image1->raise();
    QTest::mouseClick(f->Image1, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(informe().respostes_mal, 1);
    EXPECT_EQ(informe().nombre_respostes, 2);
    alliberada();
}

TEST_F(Resposta, AMiddleClickIsNeverAnAnswerNorClosesTheMedium) {
    activitat().items[1].ratoli[1] = 1;
    jugador().media_actual = QStringLiteral("so.wav");
    QTest::mouseClick(f->centralWidget(), Qt::MiddleButton, Qt::NoModifier, QPoint(50, 50));
    EXPECT_EQ(informe().nombre_respostes, 0);
    EXPECT_FALSE(crides.contains(QStringLiteral("media ")));
    QTest::mouseClick(f->centralWidget(), Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    EXPECT_EQ(informe().respostes_be, 1);
    EXPECT_TRUE(crides.contains(QStringLiteral("media ")));
}

TEST_F(Resposta, InputIsIgnoredWhileAnotherFormIsOpenOrTheMenusShow) {
    activitat().items[1].teclat[0] = 1;
    activitat().items[1].ratoli[1] = 1;
    {
        QWidget altre;
        altre.show();
        jugador().media_actual = QStringLiteral("so.wav");
        QTest::keyClick(f.get(), Qt::Key_Space);
        // The key closes the medium and is caught and released, but not counted.
        EXPECT_TRUE(crides.contains(QStringLiteral("media ")));
        EXPECT_EQ(informe().nombre_respostes, 0);
        alliberada();
        crides.clear();
        QTest::mouseClick(f->centralWidget(), Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
        EXPECT_TRUE(crides.isEmpty());
        EXPECT_EQ(informe().nombre_respostes, 0);
    }
    f->mn_opcions->menuAction()->setVisible(true);
    QTest::keyClick(f.get(), Qt::Key_Space);
    QTest::mouseClick(f->centralWidget(), Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    EXPECT_EQ(informe().nombre_respostes, 0);

    // After the run has stopped (the total time), nothing is judged either.
    f->mn_opcions->menuAction()->setVisible(false);
    f->exercici_en_marxa = false;
    QTest::keyClick(f.get(), Qt::Key_Space);
    EXPECT_EQ(informe().nombre_respostes, 0);
    f->exercici_en_marxa = true;
    QTest::keyClick(f.get(), Qt::Key_Space);
    EXPECT_EQ(informe().nombre_respostes, 1);
}

TEST_F(Resposta, PointerMovesAreJudgedOnlyForItemsThatAskForThem) {
    activitat().items[1].ratoli[0] = 1;
    jugador().usa_ratoli_sobre = 0;
    moure(f->centralWidget(), QPoint(300, 300));
    EXPECT_EQ(informe().nombre_respostes, 0);

    jugador().usa_ratoli_sobre = 1;
    moure(f->centralWidget(), QPoint(301, 300));
    EXPECT_EQ(informe().respostes_be, 1);
    EXPECT_EQ(informe().nombre_respostes, 1);
    EXPECT_EQ(jugador().index_actual, 2);

    // Item 2 does not react to moves: a move is never wrong.
    moure(f->centralWidget(), QPoint(310, 300));
    EXPECT_EQ(informe().nombre_respostes, 1);
    EXPECT_EQ(informe().respostes_mal, 0);
    alliberada();
}

TEST_F(Resposta, OnlyTheLearnersOwnMovesOutsideTheMainPictureAnswer) {
    for (int i = 1; i <= 2; ++i)
        activitat().items[i].ratoli[0] = 1;
    jugador().usa_ratoli_sobre = 1;
    // The program puts the pointer on the main picture at a question, in the
    // middle when it releases the window and when the window is laid out.
    f->pregunta_seguent();
    f->atrapa_no();
    f->Form_Resize();
    for (int k = 0; k < 5; ++k)
        QApplication::processEvents();
    EXPECT_EQ(informe().respostes_be, 0);
    EXPECT_EQ(informe().nombre_respostes, 0);

    // The main picture forwards clicks only.
    f->Image1->show();
    moure(f->Image1, QPoint(3, 3));
    EXPECT_EQ(informe().respostes_be, 0);

    moure(f->centralWidget(), QPoint(5, 7));
    EXPECT_EQ(informe().respostes_be, 1);
    alliberada();
}

TEST_F(Resposta, AnAnswerDuringTheInstructionDoesNotCutItShort) {
    f->exercici_en_marxa = false;
    f->mn_opcions->menuAction()->setVisible(true);
    Activitat& a = activitat();
    a.consigna = QStringLiteral("Escolta");
    a.mode_estimul = QStringLiteral("1");
    for (int i = 1; i <= 2; ++i)
        a.items[i].teclat[2] = 1;
    const double inici = rellotge.t;
    double premut = 0;
    rellotge.en_llegir = [&] {
        // One key, a second into the instruction's five.
        if (premut == 0 && rellotge.t > inici + 1 && f->exercici_en_marxa) {
            premut = rellotge.t;
            QCoreApplication::postEvent(
                f.get(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" ")));
        }
    };
    f->engegar_exercici();
    rellotge.en_llegir = nullptr;
    ASSERT_GT(premut, 0);
    EXPECT_EQ(informe().respostes_be, 1);
    // The first question came after the instruction's whole time.
    EXPECT_GE(rellotge.t - inici, 5.0);
    EXPECT_EQ(informe().nombre_preguntes, 1);
    f->exercici_atura();
}

TEST_F(Resposta, EscStopsTheRunAndShiftEscClosesTheWindow) {
    QTest::keyClick(f.get(), Qt::Key_Escape);
    EXPECT_FALSE(f->exercici_en_marxa);
    EXPECT_TRUE(f->mn_opcions->menuAction()->isVisible());
    EXPECT_EQ(informe().nombre_respostes, 0);

    f->exercici_en_marxa = true;
    f->mn_opcions->menuAction()->setVisible(false);
    ASSERT_TRUE(f->isVisible());
    QTest::keyClick(f.get(), Qt::Key_Escape, Qt::ShiftModifier);
    EXPECT_FALSE(f->exercici_en_marxa);
    EXPECT_FALSE(f->isVisible());
}

TEST_F(Resposta, AModifierTheItemTakesAnswersAtItsPressAnotherOnlyReleasedWithNoOtherKey) {
    activitat().items[1].teclat[3] = 1;
    activitat().items[1].tecles_llista = codi_tecla(16);
    QTest::keyPress(f.get(), Qt::Key_Shift);
    EXPECT_EQ(informe().respostes_be, 1);
    QTest::keyPress(f.get(), Qt::Key_Control);
    QTest::keyClick(f.get(), Qt::Key_A);
    QTest::keyRelease(f.get(), Qt::Key_Control);
    QTest::keyClick(f.get(), Qt::Key_Control);
    EXPECT_EQ(informe().respostes_mal, 2);
}

TEST_F(Resposta, AnUndecidedSoundLevelChangesNothing) {
    activitat().items[1].teclat[0] = 1; // a key item: it does not listen
    dispositius().nivell_so_actiu = -2;
    dispositius().nivell_so = 120;
    f->T_so_Timer();
    EXPECT_EQ(informe(), ([] {
                  dades_informe d;
                  d.nombre_preguntes = 1;
                  d.preguntes_no_respostes = 1;
                  d.pregunta_oberta = CERT;
                  return d;
              }()));

    activitat().items[1].nivell = {1, 20, 60};
    dispositius().nivell_so = 40;
    f->T_so_Timer();
    EXPECT_EQ(informe().respostes_be, 1);
    EXPECT_TRUE(f->T_so->isActive());
    alliberada();
}

TEST_F(Resposta, WithNoItemAskedTheFirstFittingItemWins) {
    jugador().index_actual = 0;
    informe().pregunta_oberta = 0;
    activitat().items[2].teclat[2] = 1;
    QTest::keyClick(f.get(), Qt::Key_Space);
    EXPECT_EQ(informe().respostes_be, 1);
    EXPECT_EQ(informe().nombre_preguntes, 1); // no question asked
    EXPECT_EQ(jugador().index_actual, 0);
    QTest::keyClick(f.get(), Qt::Key_Z);
    EXPECT_EQ(informe().nombre_respostes, 2);
    EXPECT_EQ(informe().respostes_mal, 0);
}
