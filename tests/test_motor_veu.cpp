// Our speech engine on sound made here: tones for the level, espeak-ng takes
// among silence and room noise for training and recognition (tests/dades,
// made by scripts/generar_veu.sh), fed as one stream faster than real time.
#include "platform/finestres.h"
#include "platform/finestres_veu.h"
#include "platform/microfon_sintetic.h"
#include "platform/motor_veu_real.h"
#include "platform/rellotge_sintetic.h"
#include "veu_prova.h"

#include <QApplication>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QTextStream>
#include <cmath>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <numeric>
#include <pthread.h>
#include <random>

using namespace lumi;
using proves::llegir_so;
namespace pf = lumi::plataforma;

namespace {

const QString DADES = QStringLiteral(LUMI_DADES);

// The marks of a stream: the label of each take and the second it starts.
std::vector<std::pair<QString, double>> marques(const QString& f) {
    std::vector<std::pair<QString, double>> v;
    QFile fitxer(f);
    if (!fitxer.open(QIODevice::ReadOnly)) return v;
    QTextStream t(&fitxer);
    QString etiqueta;
    double s = 0;
    while (!(t >> etiqueta >> s).atEnd() || !etiqueta.isEmpty()) {
        v.emplace_back(etiqueta, s);
        etiqueta.clear();
    }
    return v;
}

// A window that keeps what the engine posts to it.
class Receptor : public QWidget {
  public:
    std::vector<std::pair<int, int>> missatges;
    bool event(QEvent* e) override {
        if (e->type() == pf::MissatgeMotor::tipus()) {
            auto* m = static_cast<pf::MissatgeMotor*>(e);
            missatges.emplace_back(m->wParam, m->lParam);
            return true;
        }
        return QWidget::event(e);
    }
    int comptar(int w) const {
        return static_cast<int>(
            std::count_if(missatges.begin(), missatges.end(), [w](const auto& m) { return m.first == w; }));
    }
};

class MotorVeu : public ::testing::Test {
  protected:
    pf::RellotgeSintetic rellotge; // still: the microphone gives nothing by itself
    pf::MicrofonSintetic microfon;
    std::unique_ptr<pf::MotorVeuReal> motor;
    Receptor finestra;
    int32_t handle = 0;

    void SetUp() override {
        pf::posar_rellotge(&rellotge);
        pf::posar_microfon(&microfon);
        motor = std::make_unique<pf::MotorVeuReal>();
        handle = pf::registrar_finestra(&finestra);
    }
    void TearDown() override {
        motor.reset();
        pf::posar_microfon(nullptr);
        pf::posar_rellotge(nullptr);
    }
    void alimentar(const pf::veu::Mostres& m) { proves::alimentar(*motor, m); }
    void cedir() { proves::cedir(*motor); }
    void unitat(QString llista) {
        ASSERT_EQ(motor->IniciarUnitReconeixementDeSonsSenseQuadreInicial(handle, 3, llista), 0);
        motor->AssignarNumeroDeDecimesDeSegonDereconeixement(10);
    }
    // The unit of `llista`, its training window open (null when none opened).
    QWidget* finestra_entrenament(const QString& llista) {
        unitat(llista);
        motor->IniciarEntrenament();
        for (QWidget* t : QApplication::topLevelWidgets())
            if (t->objectName() == u"motor_veu_entrenament") return t;
        return nullptr;
    }
    // Trains "a,i,o" from the training stream, entry after entry.
    void entrenar() {
        unitat(QStringLiteral("a,i,o"));
        motor->enregistrar_presa(0);
        alimentar(llegir_so(DADES + QStringLiteral("/veu_entrenament.flac")));
    }
};

} // namespace

TEST_F(MotorVeu, TonesGiveTheirLevelTwentyTimesASecond) {
    // A tone at 22050 Hz through the synthetic microphone, paced by the clock.
    std::vector<int16_t> to(22050 * 2);
    for (size_t i = 0; i < to.size(); ++i)
        to[i] = static_cast<int16_t>(8000 * std::sin(static_cast<double>(i) * 2 * M_PI * 440 / 22050));
    microfon.posar_mostres(to, 22050);
    ASSERT_EQ(motor->IniciarCapturaNivellDeSo(handle), 0);
    for (int i = 0; i < 100; ++i) {
        rellotge.avancar(0.01);
        motor->bombar();
    }
    cedir();
    // One second heard: 20 levels (the last may wait for its last samples).
    EXPECT_GE(finestra.missatges.size(), 19u);
    EXPECT_LE(finestra.missatges.size(), 20u);
    for (const auto& [w, nivell] : finestra.missatges) {
        EXPECT_EQ(w, 0);
        EXPECT_NEAR(nivell, 8000 >> 8, 1);
    }
    motor->FinalitzarCapturaNivellDeSo();
    // The gain counts before the level; full scale reads 128.
    pf::AjustosVeu a = motor->ajustos();
    a.guany = 10;
    motor->posar_ajustos(a);
    finestra.missatges.clear();
    ASSERT_EQ(motor->IniciarCapturaNivellDeSo(handle), 0);
    pf::veu::Mostres fort(16000, 0);
    for (size_t i = 0; i < fort.size(); ++i)
        fort[i] = static_cast<int16_t>(8000 * std::sin(static_cast<double>(i) * 0.17));
    alimentar(fort);
    ASSERT_EQ(finestra.missatges.size(), 20u);
    EXPECT_EQ(finestra.missatges.back().second, 128);
}

TEST_F(MotorVeu, AnUnpluggedMicrophoneStopsTheLevelsAndTheNextStartFails) {
    ASSERT_EQ(motor->IniciarCapturaNivellDeSo(handle), 0);
    rellotge.avancar(0.2);
    motor->bombar();
    microfon.desapareixer();
    rellotge.avancar(0.2);
    motor->bombar();
    cedir();
    const size_t abans = finestra.missatges.size();
    EXPECT_GE(abans, 3u);
    rellotge.avancar(0.2);
    motor->bombar();
    cedir();
    EXPECT_EQ(finestra.missatges.size(), abans);
    motor->FinalitzarCapturaNivellDeSo();
    EXPECT_NE(motor->IniciarCapturaNivellDeSo(handle), 0);
    EXPECT_NE(motor->IniciarReconeixement(), 0);
}

TEST_F(MotorVeu, LevelsHandedOverByTheCaptureThreadArriveInOrderNoneLost) {
    // A rising ramp through SDL's disk driver: every 50 ms is two levels up.
    QTemporaryDir dir;
    const QString fitxer = dir.filePath(QStringLiteral("rampa.raw"));
    std::vector<int16_t> rampa(16000 * 3);
    for (size_t i = 0; i < rampa.size(); ++i)
        rampa[i] = static_cast<int16_t>(static_cast<double>(i) * 0.64);
    QFile f(fitxer);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char*>(rampa.data()), static_cast<qint64>(rampa.size() * 2));
    f.close();
    motor.reset(); // SDL picks its driver when its audio first starts
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILEIN", QFile::encodeName(fitxer));
    qputenv("SDL_DISKAUDIOFILE", "/dev/null");
    pf::posar_microfon(&pf::microfon_maquina()); // what the program installs
    // Before it opens, or once closed, no thread would call a receiver: poll.
    EXPECT_FALSE(pf::microfon_maquina().lliurar_a([](const int16_t*, size_t) {}));
    motor = std::make_unique<pf::MotorVeuReal>();
    pf::AjustosVeu a = motor->ajustos();
    a.guany = 1;
    motor->posar_ajustos(a);
    ASSERT_EQ(motor->IniciarCapturaNivellDeSo(handle), 0);
    QElapsedTimer t;
    t.start();
    while (finestra.missatges.size() < 12 && t.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    const size_t abans = finestra.missatges.size();
    std::this_thread::sleep_for(std::chrono::milliseconds(400)); // nothing polls meanwhile
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents();
    EXPECT_GE(finestra.missatges.size() - abans, 6u); // so these came from SDL's thread
    pf::posar_microfon(&microfon); // the engine lets go of the one it opened, not of microfon()
    motor.reset();
    qunsetenv("SDL_AUDIODRIVER");
    EXPECT_FALSE(pf::microfon_maquina().obert());
    EXPECT_FALSE(pf::microfon_maquina().lliurar_a([](const int16_t*, size_t) {}));
    ASSERT_GE(finestra.missatges.size(), 12u);
    for (size_t i = 1; i < finestra.missatges.size(); ++i)
        EXPECT_EQ(finestra.missatges[i].second - finestra.missatges[i - 1].second, 2) << i;
}

TEST_F(MotorVeu, TrainedVowelsAreRecognisedInOtherVoicesAndNoiseIsNot) {
    entrenar();
    const pf::veu::Patrons p = motor->patrons();
    ASSERT_EQ(p.entrades.size(), 3u);
    for (const auto& e : p.entrades)
        EXPECT_EQ(e.preses.size(), 3u) << e.etiqueta.toStdString();
    EXPECT_EQ(finestra.comptar(-1), 1);

    ASSERT_EQ(motor->IniciarReconeixement(), 0);
    std::vector<std::pair<int64_t, int>> paraules;
    QObject::connect(motor.get(), &pf::MotorVeuReal::esdeveniment, [&](const pf::veu::Esdeveniment& e) {
        if (e.tipus == pf::veu::Esdeveniment::Paraula) paraules.emplace_back(e.mostra, e.valor);
    });
    const pf::veu::Mostres prova = llegir_so(DADES + QStringLiteral("/veu_prova.flac"));
    ASSERT_FALSE(prova.empty());
    const size_t missatges_abans = finestra.missatges.size();
    alimentar(prova);

    const auto m = marques(DADES + QStringLiteral("/veu_prova.txt"));
    ASSERT_EQ(m.size(), 37u);
    // Each word belongs to the last take that began before it; sample
    // counts go on from the training stream.
    const int64_t primer =
        static_cast<int64_t>(llegir_so(DADES + QStringLiteral("/veu_entrenament.flac")).size());
    std::map<QString, int> encerts, errors;
    int falses = 0;
    std::vector<bool> sentida(m.size());
    for (const auto& [mostra, k] : paraules) {
        const double t = static_cast<double>(mostra - primer) / pf::veu::MOSTRES_PER_SEGON;
        int j = -1;
        for (size_t i = 0; i < m.size(); ++i)
            if (m[i].second < t) j = static_cast<int>(i);
        ASSERT_GE(j, 0);
        const QString& etiqueta = m[static_cast<size_t>(j)].first;
        const QString dita =
            QStringList{QStringLiteral("a"), QStringLiteral("i"), QStringLiteral("o")}.value(k - 1);
        if (etiqueta == u"-")
            ++falses;
        else if (dita == etiqueta && !sentida[static_cast<size_t>(j)])
            ++encerts[etiqueta];
        else
            ++errors[etiqueta];
        sentida[static_cast<size_t>(j)] = true;
    }
    for (const char* s : {"a", "i", "o"}) {
        EXPECT_GE(encerts[QLatin1String(s)], 9) << s;
        EXPECT_EQ(errors[QLatin1String(s)], 0) << s;
    }
    EXPECT_EQ(falses, 0); // untrained syllables, noise bursts and silence
    // Every word reached the unit's window as its number.
    int posades = 0;
    for (size_t i = missatges_abans; i < finestra.missatges.size(); ++i)
        if (finestra.missatges[i].first > 0) ++posades;
    EXPECT_EQ(posades, static_cast<int>(paraules.size()));
}

TEST_F(MotorVeu, TrainingThroughTheWindowsButtonsIsReadyOnce) {
    QWidget* w = finestra_entrenament(QStringLiteral("a,i,o"));
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->property(pf::PROPIETAT_FINESTRA_DISPOSITIU).toBool());
    auto* enregistrar = w->findChild<QPushButton*>(QStringLiteral("veu_enregistrar"));
    ASSERT_NE(enregistrar, nullptr);
    enregistrar->click();
    alimentar(llegir_so(DADES + QStringLiteral("/veu_entrenament.flac")));
    EXPECT_EQ(finestra.comptar(-1), 1);
    EXPECT_EQ(motor->entrada_enregistrant(), -1);
    // A take discarded once training ended: the line asks for it again.
    w->findChild<QListWidget*>(QStringLiteral("veu_entrades"))->setCurrentRow(0);
    w->findChild<QPushButton*>(QStringLiteral("veu_descartar"))->click();
    EXPECT_EQ(
        w->findChild<QLabel*>(QStringLiteral("veu_estat"))->text(),
        pf::text_motor("falta").arg(
            QStringLiteral("a"), pf::text_motor("preses_n").arg(QStringLiteral("2"), QStringLiteral("/3"))));
    // More takes later (the patterns window) do not make it ready again.
    motor->enregistrar_presa(1);
    alimentar(llegir_so(DADES + QStringLiteral("/veu_entrenament.flac")));
    EXPECT_EQ(finestra.comptar(-1), 1);
    w->close();
}

// An "o" said into «a» before two genuine "a" makes up its three takes: the
// window asks for one "a" more once «i» has its takes, and that one tells
// the "o" out.
TEST_F(MotorVeu, ThreeTakesWithOneFarFromTheOtherTwoAreConfirmedByOneMore) {
    const pf::veu::Mostres flux = llegir_so(DADES + QStringLiteral("/veu_entrenament.flac"));
    auto tros = [&](double de, double a) {
        return pf::veu::Mostres(flux.begin() + static_cast<std::ptrdiff_t>(de * 16000),
                                flux.begin() + static_cast<std::ptrdiff_t>(a * 16000));
    };
    pf::veu::Mostres sessio = tros(7.27, 8.0); // o a a i i i
    for (const auto& t : {tros(0.5, 2.5), tros(3.35, 6.3), pf::veu::Mostres(32000)})
        sessio.insert(sessio.end(), t.begin(), t.end());
    QWidget* w = finestra_entrenament(QStringLiteral("a,i,"));
    ASSERT_NE(w, nullptr);
    w->findChild<QPushButton*>(QStringLiteral("veu_enregistrar"))->click();
    alimentar(sessio);
    EXPECT_EQ(motor->entrada_enregistrant(), 0);
    EXPECT_TRUE(
        w->findChild<QLabel*>(QStringLiteral("veu_estat"))->text().contains(pf::text_motor("confirmar")));
    EXPECT_EQ(finestra.comptar(-1), 1); // ready all the same
    alimentar(tros(2.4, 3.3));
    EXPECT_EQ(motor->entrada_enregistrant(), -1);
    EXPECT_TRUE(motor->patrons().presa_apartada(0, 0));
    EXPECT_EQ(motor->patrons().preses_valides(0), 3);
    w->close();
}

// The list as the action editor writes it, a noise burst heard before the
// first take, then one take more from the patterns window.
TEST_F(MotorVeu, TrainingSkipsTheUnnamedEntrySetsAStrayTakeAsideAndOnePressRecordsOneTake) {
    // The room before the first take with a noise burst in it, then the
    // stream's "a" and "i" takes (its first 6.3 s).
    const pf::veu::Mostres flux = llegir_so(DADES + QStringLiteral("/veu_entrenament.flac"));
    pf::veu::Mostres sessio(flux.begin(), flux.begin() + 9600), a_i(flux.begin(), flux.begin() + 100800);
    std::mt19937 g(1);
    for (size_t i = 2400; i < 7200; ++i)
        sessio[i] = static_cast<int16_t>(sessio[i] + std::uniform_int_distribution(-6000, 6000)(g));
    sessio.insert(sessio.end(), a_i.begin(), a_i.end());
    unitat(QStringLiteral("1,2,"));
    motor->IniciarEntrenament();
    motor->VeureFinestraGrafiques();
    std::map<QString, QWidget*> w;
    for (QWidget* t : QApplication::topLevelWidgets())
        w[t->objectName()] = t;
    auto fill = [&](const char* f, const char* nom) { return w[f]->findChild<QListWidget*>(nom); };
    auto enregistrar = [&](const char* f) { w[f]->findChild<QPushButton*>("veu_enregistrar")->click(); };
    enregistrar("motor_veu_entrenament");
    alimentar(sessio);
    EXPECT_EQ(fill("motor_veu_entrenament", "veu_entrades")->count(), 2); // no row asks for «»
    fill("motor_veu_entrenament", "veu_entrades")->setCurrentRow(0);
    const pf::veu::Patrons p = motor->patrons();
    EXPECT_TRUE(p.entrades[2].preses.empty());
    EXPECT_EQ(finestra.comptar(-1), 1);
    // The burst is shown set aside among the first sound's takes; each take
    // heard again is its own word, none rejected for a lookalike.
    const QListWidget* preses = fill("motor_veu_entrenament", "veu_preses");
    EXPECT_EQ(preses ? preses->findItems(pf::text_motor("apartada"), Qt::MatchContains).size() : -1, 1);
    ASSERT_EQ(motor->IniciarReconeixement(), 0);
    alimentar(a_i);
    std::vector<int> paraules;
    for (const auto& [paraula, nivell] : finestra.missatges)
        if (paraula > 0) paraules.push_back(paraula);
    EXPECT_EQ(paraules, (std::vector<int>{1, 1, 1, 2, 2, 2}));
    motor->PararReconeixement();

    fill("motor_veu_patrons", "veu_entrades")->setCurrentRow(1);
    enregistrar("motor_veu_patrons");
    alimentar(a_i);
    EXPECT_EQ(motor->entrada_enregistrant(), -1);
    for (size_t i : {0, 1, 2})
        EXPECT_EQ(motor->patrons().entrades[i].preses.size(), p.entrades[i].preses.size() + (i == 1)) << i;
}

// Classroom sessions with two strays before a sound's first take, the
// teacher saying what the window asks for: both end set aside and the window
// moves on. A noise and a "mm" before «mama» (set 176, the window asked for
// one more of each); a cough and a noise before «mm», long (132: the window
// stalled) or not (139: it took both).
TEST_F(MotorVeu, TwoStraysBeforeASoundsFirstTakeEndSetAsideThroughTheWindow) {
    // The seed, the session, its lines in the order said and the entry.
    const std::tuple<int, const char*, std::vector<int>, size_t> casos[] = {
        {176, "dona_estranys", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 20, 11, 12, 13, 21}, 2},
        {132, "dona_primers", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 24, 25, 26}, 3},
        {139, "home_primers", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 23, 24, 25}, 3}};
    const QString joc = proves::joc_veu({176, 132, 139});
    if (joc.isEmpty()) GTEST_SKIP() << "espeak-ng made no sound set";
    for (const auto& [llavor, sessio, ordre, entrada] : casos) {
        motor = std::make_unique<pf::MotorVeuReal>();
        const QString base = QStringLiteral("%1/%2/joc_%3").arg(joc).arg(llavor).arg(QLatin1String(sessio));
        const pf::veu::Mostres flux = llegir_so(base + QStringLiteral(".wav"));
        QFile f(base + QStringLiteral(".txt"));
        const QList<QByteArray> linies =
            f.open(QIODevice::ReadOnly) ? f.readAll().split('\n') : QList<QByteArray>();
        QWidget* w = finestra_entrenament(QStringLiteral("o,ma,mama,mm,"));
        ASSERT_TRUE(w && linies.size() > ordre.back());
        w->findChild<QPushButton*>(QStringLiteral("veu_enregistrar"))->click();
        for (int l : ordre) {
            const auto m = linies[l].split(' ');
            const auto en = [&](int col, double d) {
                return flux.begin() + std::lround((m.value(col).toDouble() + d) * 16000);
            };
            if (motor->entrada_enregistrant() >= 0) alimentar(pf::veu::Mostres(en(2, -0.5), en(3, 0.5)));
        }
        EXPECT_EQ(motor->entrada_enregistrant(), -1) << llavor;
        EXPECT_TRUE(motor->patrons().presa_apartada(entrada, 0) &&
                    motor->patrons().presa_apartada(entrada, 1))
            << llavor;
        w->close();
    }
}

TEST_F(MotorVeu, SavedSetsReopenAndForeignFilesOpenNothing) {
    entrenar();
    QTemporaryDir dir;
    const QString fitxer = dir.filePath(QStringLiteral("b.SonsVxdSR02"));
    ASSERT_TRUE(motor->desar_patrons(fitxer));

    pf::MotorVeuReal altre;
    QString llista = QStringLiteral("x,y");
    altre.IniciarUnitReconeixementDeSonsSenseQuadreInicial(handle, 2, llista);
    // A folder opens its first pattern file by name.
    QFile::copy(fitxer, dir.filePath(QStringLiteral("c.SonsVxdSR02")));
    QFile brossa(dir.filePath(QStringLiteral("a.SonsVxdSR02")));
    ASSERT_TRUE(brossa.open(QIODevice::WriteOnly));
    brossa.write("MZ\x90\x00 a file of another engine");
    brossa.close();
    EXPECT_EQ(altre.ObrirFitxerReconeixementDeParaulesDeLaCarpeta(dir.path()), 0);
    EXPECT_EQ(altre.SonsQueSeReconeixen(), QStringLiteral("x,y"));
    QFile::remove(dir.filePath(QStringLiteral("a.SonsVxdSR02")));
    EXPECT_NE(altre.ObrirFitxerReconeixementDeParaulesDeLaCarpeta(dir.path()), 0);
    EXPECT_EQ(altre.SonsQueSeReconeixen(), QStringLiteral("a,i,o"));
    const pf::veu::Patrons p = altre.patrons(), q = motor->patrons();
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(p.entrades[i].preses, q.entrades[i].preses);

    // Damaged (cut short) and empty files: not opened, with the reason. A
    // damaged distance table (one value negative, one huge, two swapped; it
    // ends just before its checksum and the closing "FI") is never used: the
    // set opens as the undamaged one did.
    QFile f(fitxer);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray tot = f.readAll();
    f.close();
    size_t n = 0;
    for (const auto& e : p.entrades)
        n += e.preses.size();
    const auto danyada = [&](size_t x, size_t y, const std::function<void(char*)>& fer) {
        QByteArray b = tot;
        fer(b.data() + tot.size() - 2 - 32 - static_cast<qsizetype>(8 * (n * n - x * n - y)));
        return b;
    };
    const double negatiu = -1, enorme = 1e300;
    const std::pair<QByteArray, bool> fitxers[] = {
        {tot.left(tot.size() / 2), false},
        {QByteArray(), false},
        {tot + "x", false},
        {danyada(1, 2, [&](char* v) { std::memcpy(v, &negatiu, 8); }), true},
        {danyada(2, 1, [&](char* v) { std::memcpy(v, &enorme, 8); }), true},
        {danyada(1, 2, [&](char* v) { std::swap_ranges(v, v + 8, v + 8 * (n - 3)); }), true}};
    for (const auto& [dolent, obre] : fitxers) {
        const QString d = dir.filePath(QStringLiteral("d.SonsVxdSR02"));
        QFile g(d);
        ASSERT_TRUE(g.open(QIODevice::WriteOnly | QIODevice::Truncate) && dolent != tot);
        g.write(dolent);
        g.close();
        QString per_que;
        EXPECT_EQ(altre.obrir_patrons(d, &per_que), obre);
        EXPECT_EQ(per_que.isEmpty(), obre);
        const pf::veu::Patrons r = altre.patrons();
        for (size_t i = 0; obre && i < p.entrades.size(); ++i) {
            EXPECT_EQ(r.escala(i).propia, p.escala(i).propia) << i;
            EXPECT_EQ(r.escala(i).altres, p.escala(i).altres) << i;
            for (size_t k = 0; k < p.entrades[i].preses.size(); ++k)
                EXPECT_EQ(r.presa_apartada(i, k), p.presa_apartada(i, k)) << i << k;
        }
    }
    // Takes longer than training records: not opened either, saying so.
    const QString llarg = dir.filePath(QStringLiteral("e.SonsVxdSR02"));
    ASSERT_TRUE(proves::desar_patrons_sense_distancies(llarg, 2, 1, 4 * pf::veu::MOSTRES_PER_SEGON));
    QString per_que;
    EXPECT_FALSE(altre.obrir_patrons(llarg, &per_que));
    EXPECT_EQ(per_que, QStringLiteral("motiu_llarga"));
    EXPECT_EQ(altre.SonsQueSeReconeixen(), QStringLiteral("a,i,o"));
    EXPECT_EQ(altre.ObrirFitxerReconeixementDeParaulesDeLaCarpeta(dir.filePath(QStringLiteral("cap"))), 0);
}

// What comes while a set opens, in the program's event loop: the open ends
// whole or not at all, says why when refused, and the next one runs.
TEST_F(MotorVeu, WhatComesDuringAnOpenFindsNoHalfDoneOpenAndLeavesTheNextFree) {
    QTemporaryDir dir;
    const QString fitxer = dir.filePath(QStringLiteral("p.SonsVxdSR02"));
    ASSERT_TRUE(proves::desar_patrons_sense_distancies(fitxer, 3, 3, 24000));
    pthread_attr_t sense_fils, abans; // no thread can start with a stack this big
    pthread_getattr_default_np(&abans);
    pthread_attr_init(&sense_fils);
    pthread_attr_setstacksize(&sense_fils, size_t{1} << 60);
    QString segon, per_que;
    const std::tuple<const char*, std::function<void()>, bool, const char*, const char*> casos[] = {
        {"no thread", [] {}, false, "motiu_fil", "x,y"},
        {"second open", [&] { motor->obrir_patrons(fitxer, &segon); }, true, "", "1,2,3"},
        {"word list", [&] { unitat(QStringLiteral("x,z")); }, false, "motiu_canviat", "x,z"},
        {"a run listening", [&] { motor->IniciarReconeixement(); }, false, "motiu_escolta", "x,y"},
        {"quit", [] { QCoreApplication::quit(); }, false, "", "x,y"}};
    for (const auto& [que, durant, obert, motiu, sons] : casos) {
        unitat(QStringLiteral("x,y"));
        if (que == std::get<0>(casos[0])) pthread_setattr_default_np(&sense_fils);
        per_que.clear();
        bool fet = !obert;
        QTimer::singleShot(0, [&] {
            QTimer::singleShot(0, durant);
            try {
                fet = motor->obrir_patrons(fitxer, &per_que);
            } catch (const std::exception& e) {
                ADD_FAILURE() << e.what();
            }
            pthread_setattr_default_np(&abans);
            QCoreApplication::quit();
        });
        QCoreApplication::exec();
        EXPECT_EQ(std::tuple(fet, per_que, motor->SonsQueSeReconeixen()),
                  std::tuple(obert, QLatin1String(motiu), QLatin1String(sons)))
            << que;
    }
    EXPECT_EQ(segon, QStringLiteral("motiu_obrint"));
}

// In Catalan, beside a player whose menu bar lies where windows open.
TEST_F(MotorVeu, TheWindowsNumbersTakeTheInterfacesDecimalMarkAndThePlayersMenusStayInSight) {
    const QLocale abans;
    QLocale::setDefault(QLocale(QLocale::Catalan));
    QMenuBar barra(&finestra);
    barra.addMenu(QStringLiteral("Configurar"));
    finestra.setGeometry(40, 30, 720, 540);
    barra.setGeometry(0, 0, 720, 25);
    finestra.show();
    entrenar();
    motor->IniciarEntrenament();
    motor->VeureFinestraGrafiques();
    const QRect menus(barra.mapToGlobal(QPoint(0, 0)), barra.size());
    QWidget* patrons = nullptr;
    for (QWidget* t : QApplication::topLevelWidgets()) {
        if (t->objectName().startsWith(u"motor_veu_")) {
            EXPECT_FALSE(t->frameGeometry().intersects(menus)) << t->objectName().toStdString();
        }
        if (t->objectName() == u"motor_veu_patrons") patrons = t;
    }
    ASSERT_NE(patrons, nullptr);
    EXPECT_EQ(patrons->findChild<QDoubleSpinBox*>(QStringLiteral("veu_llindar"))->text(),
              QStringLiteral("12,0"));
    const QString presa = patrons->findChild<QListWidget*>(QStringLiteral("veu_preses"))->item(0)->text();
    EXPECT_TRUE(presa.contains(QRegularExpression(QStringLiteral(": 0,\\d\\d s")))) << presa.toStdString();
    patrons->findChild<QCheckBox*>(QStringLiteral("veu_prova"))->setChecked(true);
    const pf::veu::Mostres prova = llegir_so(DADES + QStringLiteral("/veu_prova.flac"));
    alimentar(pf::veu::Mostres(prova.begin(), prova.begin() + 3 * pf::veu::MOSTRES_PER_SEGON));
    const QString distancies = patrons->findChild<QLabel*>(QStringLiteral("veu_resultat"))->text();
    EXPECT_TRUE(distancies.contains(QRegularExpression(QStringLiteral("\\(\\d+,\\d\\)"))))
        << distancies.toStdString();
    QLocale::setDefault(abans);
}

// Sets nobody tuned on (see generar_veu.py --joc), trained through the list
// "o,ma,mama,mm," and the training flow, with no stray sound in the session,
// one, or several (the teacher following the window); held-out takes among
// untrained sounds of every kind.
TEST(ReconeixementVeu, EveryListeningTimeRecognisesHeldOutTakesAndRejectsTheRest) {
    pf::veu::NucliVeu n; // a hum after a reset is heard whole, in a loud room still rising as listening began
    n.enregistrant = true;
    n.nivells = false;
    pf::veu::Mostres so(32000);
    for (unsigned i = 0; i < so.size(); ++i)
        so[i] = static_cast<int16_t>((std::rand() % 601 - 300) * std::min(1.0, i / 1600.0) +
                                     (i - 16000 < 9600) * 4000 * std::sin(i * 0.06));
    n.alimentar(so.data(), 16000);
    n.reiniciar();
    const auto fets = n.alimentar(so.data() + 16000, 16000);
    EXPECT_GE(fets.size() == 1 ? fets[0].presa.size() : 0, 9600u) << fets.size() << " utterances";
    // So is a word that opens on a voiced steady stretch and ends within a
    // few dB of it ("mamá": the m, the a, then a softer "ma").
    constexpr double amplades[] = {0, 1500, 8000, 2500, 0};
    for (unsigned i = 0; i < so.size(); ++i)
        so[i] = static_cast<int16_t>(std::rand() % 61 - 30 +
                                     amplades[(i >= 4000) + (i >= 6400) + (i >= 9600) + (i >= 13600)] *
                                         std::sin(i * 0.06));
    n.reiniciar();
    const auto mama = n.alimentar(so.data(), so.size());
    EXPECT_GE(mama.size() == 1 ? mama[0].presa.size() : 0, 9600u) << mama.size() << " utterances";
    std::vector<int> llavors(6);
    std::iota(llavors.begin(), llavors.end(), proves::LLAVORS_PROVA);
    // And sets where a stray once won or training stalled: 109 (one stray), 221
    // («mm» now voiced, now hardly), 278 (a stray first in «ma»), 357 (close «ma»).
    const int feble = proves::LLAVORS_PROVA + 8, casos[] = {feble, 221, 278, 357};
    std::vector<int> jocs = llavors;
    jocs.insert(jocs.end(), std::begin(casos), std::end(casos));
    const QString joc = proves::joc_veu(jocs);
    if (joc.isEmpty()) GTEST_SKIP() << "espeak-ng made no sound set";
    for (const int sessio : {proves::Neta, proves::UnEstrany, proves::EstranysFinestra})
        for (const int decimes : {2, 10, 14}) {
            if (sessio == proves::EstranysFinestra && decimes != 10) continue;
            const auto t = proves::avaluar_jocs(joc, llavors, decimes, sessio);
            int estranys = 0;
            for (const auto& x : t) {
                EXPECT_LE(x.retard, 0.1) << "latest word after its window, at " << decimes;
                // Several strays in one session: marks stay, saved and opened
                // again too, and the window asks again until every sound has
                // its takes.
                EXPECT_EQ(sessio == proves::EstranysFinestra
                              ? x.marques_perdudes + x.incomplets + x.marques_reobertes
                              : 0,
                          0);
                estranys += x.estranys_valids;
            }
            EXPECT_LE(estranys, 1) << "strays or wrong takes counted valid";
            const auto r = proves::resum_veu(t);
            for (const auto& [nom, x] : r) {
                qInfo() << "session" << sessio << decimes << nom << x.mitjana << "worst" << x.pitjor;
                // Each untrained kind at most 1 in 20, in the stretch too;
                // the syllables that share a sound and coughs come nearest.
                const bool propers = nom == u"x_comuna" || nom == u"x_tos" || nom == u"x_seguit";
                EXPECT_TRUE(!nom.startsWith(u"x_") || x.mitjana <= (propers ? 0.05 : 0.025))
                    << nom.toStdString() << " at " << decimes;
            }
            // Trained sounds are held at what this method reaches on these
            // sets (the aim is 95 %, 90 % worst), a stray take or none.
            EXPECT_GE(r.at(QStringLiteral("encerts")).mitjana, 0.96) << decimes;
            EXPECT_GE(r.at(QStringLiteral("encerts")).pitjor, 0.9) << decimes;
            EXPECT_GE(r.at(QStringLiteral("pitjor_so")).mitjana, 0.85) << decimes;
            EXPECT_GE(r.at(QStringLiteral("soroll_abans")).mitjana, 0.93) << decimes;
        }
    for (const int l : casos) {
        const auto t =
            proves::avaluar_jocs(joc, {l}, 10, l == feble ? proves::UnEstrany : proves::EstranysFinestra);
        EXPECT_EQ(t[0].incomplets + t[0].estranys_valids, 0) << l;
        const auto r = proves::resum_veu(t);
        EXPECT_GE(r.at(QStringLiteral("encerts")).pitjor, 0.9) << l;
        EXPECT_GE(r.at(QStringLiteral("pitjor_so")).pitjor, 6.0 / 7 - 1e-9) << l;
    }
    // A unit started again with the same list keeps the marks its set opened
    // with (105: one of them came out otherwise, judged again).
    for (const char* veu : {"/joc_home", "/joc_dona"}) {
        pf::MotorVeuReal motor;
        ASSERT_TRUE(motor.obrir_patrons(
            proves::entrenat(joc + QStringLiteral("/105"), veu, proves::EstranysFinestra, 10)));
        const pf::veu::Patrons abans = motor.patrons();
        QString llista = motor.SonsQueSeReconeixen();
        ASSERT_EQ(motor.IniciarUnitReconeixementDeSonsSenseQuadreInicial(0, 0, llista), 0);
        const pf::veu::Patrons despres = motor.patrons();
        for (size_t i = 0; i < abans.entrades.size(); ++i)
            for (size_t k = 0; k < abans.entrades[i].preses.size(); ++k)
                EXPECT_EQ(despres.presa_apartada(i, k), abans.presa_apartada(i, k)) << veu << i << k;
    }
}

// What the training route does not meet: a take of another sound among an
// entry's takes, a false start (the first quarter of an "o") among the a's,
// and a sound whose takes are all noise (a breath, a click).
TEST(ReconeixementVeu, ATakeOfAnotherSoundIsLeftOutAndASoundOfNoiseAloneKeepsItsTakes) {
    namespace v = pf::veu;
    v::NucliVeu n;
    n.enregistrant = true;
    n.nivells = false;
    const v::Mostres e = llegir_so(DADES + QStringLiteral("/veu_entrenament.flac"));
    std::vector<v::Mostres> s; // a a a i i i o o o
    for (const auto& f : n.alimentar(e.data(), e.size()))
        s.push_back(f.presa);
    ASSERT_EQ(s.size(), 9u);
    std::mt19937 g(3);
    v::Patrons p;
    p.posar_etiquetes({QStringLiteral("i"), QStringLiteral("o"), QStringLiteral("b"), QStringLiteral("a")});
    v::Mostres fals(s[8].begin(), s[8].begin() + static_cast<std::ptrdiff_t>(s[8].size() / 4));
    fals.insert(fals.end(), s[8].end() - 800, s[8].end());
    p.afegir_presa(3, s[0]);
    p.afegir_presa(3, s[1]);
    p.afegir_presa(3, fals);
    for (auto [entrada, k] : {std::pair{0, 3}, {0, 4}, {0, 8}, {1, 6}, {1, 7}, {2, -1}, {2, -1}, {2, -1}}) {
        v::Mostres m(9000);
        for (auto& x : m)
            x = static_cast<int16_t>(std::normal_distribution<>(0, 3000)(g));
        p.afegir_presa(static_cast<size_t>(entrada), k < 0 ? m : s[static_cast<size_t>(k)]);
    }
    // And an "a" cut at 0.69 of the shorter genuine one, as a false start ends.
    p.afegir_presa(
        3, v::Mostres(s[2].begin(), s[2].begin() + static_cast<std::ptrdiff_t>(
                                                       std::min(s[0].size(), s[1].size()) * 69 / 100)));
    for (auto [entrada, valides] : {std::pair{0, 2}, {1, 2}, {2, 3}, {3, 2}})
        EXPECT_EQ(p.preses_valides(static_cast<size_t>(entrada)), valides) << entrada;
    EXPECT_TRUE(p.presa_apartada(0, 2));
    EXPECT_TRUE(p.presa_apartada(3, 2));
    EXPECT_TRUE(p.presa_apartada(3, 3));
}
