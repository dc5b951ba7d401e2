// The routes a teacher takes to a run (the start dialog of the first
// activation, the same dialog opened again from the menu, the start item,
// a run with the report window left open), through the real windows and
// dialogs: the learner's keys must be judged and counted on every one.
#include "player/Form1.h"
#include "core/camins.h"
#include "platform/cursor_confinament.h"
#include "platform/pantalla.h"
#include "core/fitxer_lrq.h"
#include "player/finestra_informe.h"
#include "player/inici.h"

#include "presentacio_prova.h"

#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>
#include <deque>

using namespace lumi;
using namespace lumi::proves;

namespace {

// Plays a script over the modal windows that come up: each step waits for a
// modal window of its kind and acts on it, in order.
class Guio {
  public:
    Guio() {
        QObject::connect(&t_, &QTimer::timeout, [this] { mirar(); });
        t_.start(5);
    }
    template <typename W> void quan(std::function<void(W*)> accio) {
        passos_.push_back({[](QWidget* w) {
                               auto* x = qobject_cast<W*>(w);
                               return x && x->isVisible();
                           },
                           [accio](QWidget* w) { accio(qobject_cast<W*>(w)); }});
    }
    bool acabat() const { return passos_.empty(); }

  private:
    struct Pas {
        std::function<bool(QWidget*)> es;
        std::function<void(QWidget*)> accio;
    };
    void mirar() {
        QWidget* w = QApplication::activeModalWidget();
        if (passos_.empty() || !w || !passos_.front().es(w)) return;
        // Taken off first and run on its own: the action may open a nested
        // modal loop whose windows are the next steps, and a timer does not
        // fire again inside its own handler.
        const Pas pas = passos_.front();
        passos_.pop_front();
        QTimer::singleShot(0, w, [pas, w] { pas.accio(w); });
    }
    std::deque<Pas> passos_;
    QTimer t_;
};

enum class Ruta { PrimerDialeg, DialegDelMenu, MenuEngegar, AmbInformeObert };

struct Rutes : ::testing::TestWithParam<Ruta> {
    RellotgeFals rellotge;
    AtzarFix atzar;
    MciGravadora mci;
    QTemporaryDir tmp;
    QString fitxer;
    std::unique_ptr<Form1> f;

    void SetUp() override {
        activitat() = Activitat{};
        jugador() = EstatJugador{};
        llistes() = Llistes{};
        informe() = dades_informe{};
        informe_detall().clear();
        idioma() = IDIOMA_CATALA;
        plataforma::posar_rellotge(&rellotge);
        plataforma::posar_atzar(&atzar);
        plataforma::posar_mci(&mci);
        atzar.valors = {0.1f};

        // Two items answered by the space bar, each question open for long.
        exercici_nou();
        Activitat& a = activitat();
        a.items.resize(3);
        a.nombre_items = 2;
        a.mode_estimul = QStringLiteral("1"); // in order
        for (int i = 1; i <= 2; ++i) {
            item& it = a.items[static_cast<size_t>(i)];
            it = a.items[1];
            it.estimuls = QStringLiteral("1\u00bbPregunta");
            it.si_be = QStringLiteral("1\u00bbBe");
            it.si_mal = QStringLiteral("1\u00bbMalament");
            it.teclat = {};
            it.teclat[2] = 1;
            it.retard_accio = 100000.0f;
            it.retard_estimul = 0.0f;
            it.retard_be = 0.2f;
            it.retard_mal = 0.2f;
        }
        fitxer = tmp.filePath(QStringLiteral("joc.lrq"));
        carpeta_activitat() = tmp.path();
        ASSERT_TRUE(desar_exercici(fitxer));
        activitat() = Activitat{};
    }
    void TearDown() override {
        if (f && f->exercici_en_marxa) f->exercici_atura();
        if (inici::carregat()) inici::instancia()->descarregar();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        f.reset();
        plataforma::alliberar_instancia_unica();
        plataforma::posar_rellotge(nullptr);
        plataforma::posar_atzar(nullptr);
        plataforma::posar_mci(nullptr);
        plataforma::alliberar_cursor();
        plataforma::mostrar_cursor();
        activitat() = Activitat{};
    }

    static bool esperar(const std::function<bool()>& fet, int ms = 5000) {
        QElapsedTimer t;
        t.start();
        while (!fet() && t.elapsed() < ms)
            QTest::qWait(5);
        return fet();
    }
    void triar_fitxer(Guio& g) {
        g.quan<QFileDialog>([this](QFileDialog* d) {
            // Typed into the name box and confirmed, as a person does.
            auto* nom = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(nom, nullptr);
            nom->setText(fitxer);
            QTest::keyClick(nom, Qt::Key_Return);
        });
    }
    void engegar_des_de_inici(Guio& g) {
        g.quan<inici>([](inici* d) { QTest::mouseClick(d->Command1[1], Qt::LeftButton); });
        triar_fitxer(g);
    }
    // The player as the program's main shows it, with its first activation.
    void obrir_programa(Guio& g) {
        f = std::make_unique<Form1>();
        ASSERT_TRUE(f->Form_Load());
        f->show();
        f->activateWindow();
        ASSERT_TRUE(esperar([&] { return g.acabat() && !QApplication::activeModalWidget(); }));
    }
};

} // namespace

TEST_P(Rutes, EveryRouteToARunJudgesAndCountsTheLearnersKeys) {
    Guio g;
    switch (GetParam()) {
    case Ruta::PrimerDialeg:
        engegar_des_de_inici(g);
        obrir_programa(g);
        break;
    case Ruta::DialegDelMenu:
        g.quan<inici>([](inici* d) { QTest::keyClick(d, Qt::Key_Escape); });
        obrir_programa(g);
        engegar_des_de_inici(g);
        f->mn_inici->trigger();
        break;
    case Ruta::MenuEngegar:
        g.quan<inici>([](inici* d) { QTest::keyClick(d, Qt::Key_Escape); });
        obrir_programa(g);
        triar_fitxer(g);
        f->mn_engegar->trigger();
        break;
    case Ruta::AmbInformeObert:
        // A first run, stopped; its report stays open beside the player.
        g.quan<inici>([](inici* d) { QTest::keyClick(d, Qt::Key_Escape); });
        obrir_programa(g);
        triar_fitxer(g);
        f->mn_engegar->trigger();
        ASSERT_TRUE(esperar([&] { return f->exercici_en_marxa && g.acabat(); }));
        QTest::keyClick(f.get(), Qt::Key_Escape);
        ASSERT_FALSE(f->exercici_en_marxa);
        f->mn_informe->trigger();
        ASSERT_TRUE(f->finestra_informe()->isVisible());
        f->mn_engegar->trigger();
        break;
    }
    ASSERT_TRUE(esperar([&] { return g.acabat() && f->exercici_en_marxa; }));
    QTest::qWait(50); // activations that follow the closed dialogs
    const int16_t abans = informe().nombre_respostes;

    QTest::keyClick(f.get(), Qt::Key_Space);
    QTest::keyClick(f.get(), Qt::Key_A);
    QTest::keyClick(f.get(), Qt::Key_Space);

    const dades_informe& inf = informe();
    EXPECT_EQ(inf.nombre_respostes - abans, 3);
    EXPECT_EQ(inf.respostes_be, 2);
    EXPECT_EQ(inf.respostes_mal, 1);
    EXPECT_TRUE(informe_detall().contains(QStringLiteral("| BE Be")));
    EXPECT_TRUE(informe_detall().contains(QStringLiteral("Malament")));

    QTest::keyClick(f.get(), Qt::Key_Escape);
    EXPECT_FALSE(f->exercici_en_marxa);
}

INSTANTIATE_TEST_SUITE_P(Totes, Rutes,
                         ::testing::Values(Ruta::PrimerDialeg, Ruta::DialegDelMenu, Ruta::MenuEngegar,
                                           Ruta::AmbInformeObert));
