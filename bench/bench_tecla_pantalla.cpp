// The program beside its floors, on a virtual X server of its own, in one
// run:
// - start-up: from the process's start to its first paint, and its resident
//   memory at rest, for the program (its probe, arrencada.cpp) and for a bare
//   Qt window linked with Qt alone (finestra_nua.cpp); beside it, the same
//   window as the program's first, menu bar and all, made with Qt alone;
// - from a key pressed to the reaction on the screen, as a person sees it:
//   the real program on an activity made for it (one item, every key right, a
//   blue picture as the question and a yellow one as the reaction), and the
//   bare window turning yellow on a key. Each answer is a key sent with the
//   XTEST extension a moment after the question is on the screen; its time
//   ends when the middle of the screen turns yellow (read with XGetImage at
//   every change the server reports). The median and the 99th percentile
//   over 200 answers, after a few unmeasured ones.
// At the end it prints the three ratios. Without Xvfb or the programs it
// stops with a message.
#include "core/activitat.h"
#include "core/fitxer_lrq.h"
#include "core/idioma.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <X11/keysym.h>
#include <algorithm>
#include <map>
#include <string>
#include <benchmark/benchmark.h>
#include <chrono>
#include <poll.h>
#include <thread>
#include <vector>

namespace {

using Rellotge = std::chrono::steady_clock;

constexpr int RESPOSTES = 200;
constexpr int ESCALFAMENT = 10;
constexpr int AMPLADA = 1024, ALCADA = 768;
constexpr float TEMPS_REACCIO = 0.05f; // seconds the reaction stays

enum class Color { Blau, Groc, Altre };

// Changes of the whole screen, reported by the server.
Damage danys = 0;

double percentil(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const size_t k = static_cast<size_t>(p * static_cast<double>(v.size() - 1) + 0.5);
    return v[std::min(k, v.size() - 1)];
}

QString imatge(const QString& carpeta, const QString& nom, Qt::GlobalColor color) {
    QImage im(320, 240, QImage::Format_RGB32);
    im.fill(color);
    const QString cami = carpeta + u'/' + nom;
    im.save(cami, "BMP");
    return cami;
}

// One item that takes any key: a blue question, a yellow reaction shown for
// a moment, then the question again.
bool escriure_activitat(const QString& carpeta, const QString& cami) {
    lumi::Activitat a;
    a.nombre_items = 1;
    a.items.assign(2, lumi::item{});
    lumi::item& it = a.items[1];
    it.teclat[0] = 1;
    it.estimuls = QStringLiteral("1\u00bb") + imatge(carpeta, QStringLiteral("blau.bmp"), Qt::blue);
    it.si_be = QStringLiteral("1\u00bb") + imatge(carpeta, QStringLiteral("groc.bmp"), Qt::yellow);
    it.retard_be = TEMPS_REACCIO;
    it.retard_mal = TEMPS_REACCIO;
    it.retard_accio = 60;
    it.retard_estimul = 0;
    a.tots_temps_global = 1;
    a.mode_estimul = QStringLiteral("1");
    QFile f(cami);
    return f.open(QIODevice::WriteOnly) &&
           f.write(lumi::escriure_activitat(a, lumi::IDIOMA_CATALA, carpeta)) > 0;
}

// The middle of the screen: the player covers it while the exercise plays.
Color color_centre(Display* d) {
    XImage* im =
        XGetImage(d, DefaultRootWindow(d), AMPLADA / 2 - 2, ALCADA / 2 - 2, 4, 4, AllPlanes, ZPixmap);
    if (!im) return Color::Altre;
    const unsigned long p = XGetPixel(im, 2, 2);
    XDestroyImage(im);
    const unsigned long r = (p >> 16) & 0xff, g = (p >> 8) & 0xff, b = p & 0xff;
    if (r < 60 && g < 60 && b > 200) return Color::Blau;
    if (r > 200 && g > 200 && b < 60) return Color::Groc;
    return Color::Altre;
}

// Waits until the screen shows a colour: the middle is read again at every
// change of the screen the server reports (DAMAGE), so the measuring adds no
// load of its own while the program works. The moment is taken once the
// colour is read. False after the time-out.
bool esperar_color(Display* d, Color c, std::chrono::milliseconds limit,
                   Rellotge::time_point* quan = nullptr) {
    const auto fins = Rellotge::now() + limit;
    for (;;) {
        if (color_centre(d) == c) {
            if (quan) *quan = Rellotge::now();
            return true;
        }
        // The next change: an event, or nothing before the time-out.
        bool canvi = false;
        while (!canvi) {
            while (XPending(d) > 0) {
                XEvent ev;
                XNextEvent(d, &ev);
                canvi = true;
            }
            if (canvi) break;
            const auto resta = std::chrono::duration_cast<std::chrono::milliseconds>(fins - Rellotge::now());
            if (resta.count() <= 0) return false;
            pollfd pf{ConnectionNumber(d), POLLIN, 0};
            poll(&pf, 1, static_cast<int>(std::min<long long>(resta.count() + 1, 50)));
        }
        // Reports come again only once the damage so far is taken away.
        XDamageSubtract(d, danys, None, None);
    }
}

// The virtual X server of the whole run, with its display open.
struct Pantalla {
    QTemporaryDir dir;
    QProcess xvfb;
    QString nom;
    Display* d = nullptr;
    QString error;

    Pantalla() {
        const QString exe_xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (exe_xvfb.isEmpty()) {
            error = QStringLiteral("Xvfb is missing (scripts/deps.sh installs it)");
            return;
        }
        // The display number comes back on the server's standard output.
        xvfb.start(exe_xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                              QStringLiteral("0"), QStringLiteral("%1x%2x24").arg(AMPLADA).arg(ALCADA),
                              QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        if (!xvfb.waitForReadyRead(10000)) {
            error = QStringLiteral("Xvfb gave no display");
            return;
        }
        nom = u':' + QString::fromLatin1(xvfb.readAllStandardOutput()).trimmed();
        d = XOpenDisplay(nom.toLatin1().constData());
        int ev = 0, err = 0, major = 0, minor = 0;
        if (!d || !XTestQueryExtension(d, &ev, &err, &major, &minor) ||
            !XDamageQueryExtension(d, &ev, &err)) {
            error = QStringLiteral("no XTEST or DAMAGE on the virtual display");
            return;
        }
        danys = XDamageCreate(d, DefaultRootWindow(d), XDamageReportNonEmpty);
    }

    ~Pantalla() {
        if (d) {
            if (danys) XDamageDestroy(d, danys);
            danys = 0;
            XCloseDisplay(d);
        }
        xvfb.terminate();
        if (!xvfb.waitForFinished(3000)) xvfb.kill();
        xvfb.waitForFinished(3000);
    }

    // A private home, runtime folder and program folder (fresh for each
    // program); no sound server.
    QProcessEnvironment entorn(const QString& carpeta) const {
        QDir().mkpath(carpeta);
        for (const char* c : {"home", "run", "programa"})
            QDir(carpeta).mkdir(QString::fromLatin1(c));
        const QString run = carpeta + QStringLiteral("/run");
        QFile::setPermissions(run, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QFile pulse(carpeta + QStringLiteral("/pulse-client.conf"));
        if (pulse.open(QIODevice::WriteOnly)) pulse.write("autospawn = no\n");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        env.remove(QStringLiteral("PULSE_SERVER"));
        env.insert(QStringLiteral("DISPLAY"), nom);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("HOME"), carpeta + QStringLiteral("/home"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), run);
        env.insert(QStringLiteral("LUMIRAGA_HOME"), carpeta + QStringLiteral("/programa"));
        env.insert(QStringLiteral("PULSE_CLIENTCONFIG"), pulse.fileName());
        return env;
    }

    // A key down and up, as a switch or a keyboard sends it.
    void tecla(KeyCode k) const {
        XTestFakeKeyEvent(d, k, True, CurrentTime);
        XTestFakeKeyEvent(d, k, False, CurrentTime);
        XFlush(d);
    }
};

Pantalla& pantalla() {
    static Pantalla p;
    return p;
}

// What the ratios are made of, by benchmark.
std::map<std::string, double> g_xifres;

const char* const PROGRAMA = "programa";
const char* const NUA = "nua";
const char* const NUA_MENUS = "nua_menus";

QString executable(const char* qui) {
    return QString::fromUtf8(qui) == QLatin1String(PROGRAMA) ? QStringLiteral(LUMI_SONDA_ARRENCADA)
                                                             : QStringLiteral(LUMI_FINESTRA_NUA);
}

bool saltar_si_cal(benchmark::State& state, const QString& error) {
    if (error.isEmpty()) return false;
    state.SkipWithError(error.toUtf8().constData());
    for (auto _ : state) {
    }
    return true;
}

// Start-up to the first paint, from the process's start; the memory of the
// last start at rest. Neither the settling nor the process's end is timed.
// One start of a probe: milliseconds from the process's start to its first
// paint, and its memory at rest; false when it failed.
bool arrencar(const char* qui, const QProcessEnvironment& env, double* ms, long* rss) {
    const QString exe = executable(qui);
    QStringList args;
    if (QString::fromUtf8(qui) == QLatin1String(NUA)) args << QStringLiteral("--arrencada");
    if (QString::fromUtf8(qui) == QLatin1String(NUA_MENUS)) args << QStringLiteral("--arrencada-menus");
    QProcess proc;
    proc.setProcessEnvironment(env);
    proc.setStandardErrorFile(QProcess::nullDevice());
    const auto t0 = Rellotge::now();
    proc.start(exe, args);
    if (!proc.waitForFinished(30000) || proc.exitCode() != 0) return false;
    const QByteArray out = proc.readAllStandardOutput();
    const qsizetype i = out.indexOf("pintat_ns="), j = out.indexOf("rss_kb=");
    if (i < 0 || j < 0) return false;
    const long long pintat = out.mid(i + 10, out.indexOf('\n', i) - i - 10).toLongLong();
    *rss = out.mid(j + 7).trimmed().toLong();
    *ms = static_cast<double>(pintat - std::chrono::nanoseconds(t0.time_since_epoch()).count()) / 1e6;
    return true;
}

// The program's start-up, each start beside one of each floor taken just
// before it, so all meet the same load on the machine.
void BM_Arrencada(benchmark::State& state) {
    Pantalla& p = pantalla();
    if (saltar_si_cal(state, p.error)) return;
    QTemporaryDir dir;
    const QProcessEnvironment env = p.entorn(dir.path());
    std::vector<double> temps, temps_nua, temps_menus;
    long rss = 0, rss_nua = 0, rss_menus = 0;
    for (auto _ : state) {
        double ms = 0, ms_nua = 0, ms_menus = 0;
        if (!arrencar(NUA, env, &ms_nua, &rss_nua) || !arrencar(NUA_MENUS, env, &ms_menus, &rss_menus) ||
            !arrencar(PROGRAMA, env, &ms, &rss)) {
            state.SkipWithError("a start-up probe failed or did not report its first paint");
            return;
        }
        temps.push_back(ms);
        temps_nua.push_back(ms_nua);
        temps_menus.push_back(ms_menus);
        state.SetIterationTime(ms / 1000.0);
    }
    state.counters["mediana_ms"] = percentil(temps, 0.5);
    state.counters["mediana_nua_ms"] = percentil(temps_nua, 0.5);
    state.counters["mediana_menus_ms"] = percentil(temps_menus, 0.5);
    state.counters["rss_kb"] = static_cast<double>(rss);
    state.counters["rss_nua_kb"] = static_cast<double>(rss_nua);
    g_xifres["arrencada_programa"] = percentil(temps, 0.5);
    g_xifres["arrencada_nua"] = percentil(temps_nua, 0.5);
    g_xifres["arrencada_menus"] = percentil(temps_menus, 0.5);
    g_xifres["rss_programa"] = static_cast<double>(rss);
    g_xifres["rss_nua"] = static_cast<double>(rss_nua);
}

void BM_TeclaFinsPantallaXvfb(benchmark::State& state, const char* qui) {
    Pantalla& p = pantalla();
    if (saltar_si_cal(state, p.error)) return;
    const bool programa = QString::fromUtf8(qui) == QLatin1String(PROGRAMA);
    QTemporaryDir dir;
    const QString activitat = dir.filePath(QStringLiteral("latencia.lrq"));
    if (programa && !escriure_activitat(dir.path(), activitat)) {
        saltar_si_cal(state, QStringLiteral("could not write the activity"));
        return;
    }
    QProcess proc;
    proc.setProcessEnvironment(p.entorn(dir.filePath(QStringLiteral("entorn"))));
    proc.setStandardOutputFile(QProcess::nullDevice());
    proc.setStandardErrorFile(QProcess::nullDevice());
    proc.start(programa ? QStringLiteral(LUMI_LUMIRAGA) : QStringLiteral(LUMI_FINESTRA_NUA),
               {programa ? activitat : QStringLiteral("--tecla")});
    struct Final {
        QProcess& p;
        ~Final() {
            p.terminate();
            if (!p.waitForFinished(3000)) p.kill();
            p.waitForFinished(3000);
        }
    } final_{proc};
    if (!proc.waitForStarted(10000) || !esperar_color(p.d, Color::Blau, std::chrono::seconds(20))) {
        saltar_si_cal(state, QStringLiteral("the question never showed (blue in the middle of the screen)"));
        return;
    }
    const KeyCode espai = XKeysymToKeycode(p.d, XK_space);

    // One answer: the key, then the reaction; the question again before the next.
    int sense_reaccio = 0;
    auto respondre = [&](double* ms) {
        if (!esperar_color(p.d, Color::Blau, std::chrono::seconds(5))) return false;
        // No one answers within a millisecond of the question: the previous
        // answer's cycle may still hold the window for that long.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const auto t0 = Rellotge::now();
        p.tecla(espai);
        Rellotge::time_point t1;
        if (!esperar_color(p.d, Color::Groc, std::chrono::seconds(2), &t1)) {
            ++sense_reaccio;
            return false;
        }
        *ms = std::chrono::duration<double, std::milli>(t1 - t0).count();
        return true;
    };

    double ms = 0;
    for (int i = 0; i < ESCALFAMENT; ++i)
        respondre(&ms);
    std::vector<double> temps;
    temps.reserve(RESPOSTES);
    for (auto _ : state) {
        if (respondre(&ms))
            temps.push_back(ms);
        else
            ms = 0;
        state.SetIterationTime(ms / 1000.0);
    }

    if (sense_reaccio > 0) state.SkipWithError("some keys brought no reaction on the screen");
    state.counters["mediana_ms"] = percentil(temps, 0.5);
    state.counters["p99_ms"] = percentil(temps, 0.99);
    state.counters["max_ms"] = temps.empty() ? 0 : *std::max_element(temps.begin(), temps.end());
    state.counters["respostes"] = static_cast<double>(temps.size());
    state.counters["sense_reaccio"] = sense_reaccio;
    g_xifres[std::string("p99_") + qui] = percentil(temps, 0.99);
}

constexpr int ARRENCADES = 30;
BENCHMARK(BM_Arrencada)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(ARRENCADES);
BENCHMARK_CAPTURE(BM_TeclaFinsPantallaXvfb, programa, PROGRAMA)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(RESPOSTES);
BENCHMARK_CAPTURE(BM_TeclaFinsPantallaXvfb, nua, NUA)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(RESPOSTES);

// The three figures beside their floors, from whatever ran.
void imprimir_rati() {
    auto x = [](const std::string& k) {
        auto it = g_xifres.find(k);
        return it == g_xifres.end() ? 0.0 : it->second;
    };
    if (x("arrencada_nua") > 0)
        std::printf("start-up to the first paint: %.2fx the bare window (%.1f ms against %.1f ms)\n",
                    x("arrencada_programa") / x("arrencada_nua"), x("arrencada_programa"),
                    x("arrencada_nua"));
    if (x("arrencada_menus") > 0)
        std::printf(
            "start-up to the first paint: %.2fx the same window with its menu bar, made with Qt alone "
            "(%.1f ms against %.1f ms)\n",
            x("arrencada_programa") / x("arrencada_menus"), x("arrencada_programa"), x("arrencada_menus"));
    if (x("rss_nua") > 0)
        std::printf("memory at rest: %+.1f MB over the bare window (%.1f MB against %.1f MB)\n",
                    (x("rss_programa") - x("rss_nua")) / 1024, x("rss_programa") / 1024, x("rss_nua") / 1024);
    if (x("p99_nua") > 0)
        std::printf("key to pixels, 99th percentile: %.2f ms against %.2f ms for the bare window (%.2fx)\n",
                    x("p99_programa"), x("p99_nua"), x("p99_programa") / x("p99_nua"));
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    QCoreApplication app(argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    imprimir_rati();
    benchmark::Shutdown();
    return 0;
}
