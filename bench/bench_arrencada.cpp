// Start-up to the first shown window and memory at rest, of the player beside
// a minimal Qt Widgets program, both measured in the same run.
#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
void arrencar(benchmark::State& state, bool minim) {
    const QString exe = QStringLiteral(LUMI_SONDA_ARRENCADA);
    QTemporaryDir casa;
    long rss = 0;
    for (auto _ : state) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LUMIRAGA_HOME"), casa.path());
        if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        p.setProcessEnvironment(env);
        p.start(exe, minim ? QStringList{QStringLiteral("--minim")} : QStringList{});
        if (!p.waitForFinished(30000) || p.exitCode() != 0) {
            state.SkipWithError("start-up probe failed");
            return;
        }
        const QByteArray out = p.readAllStandardOutput();
        const qsizetype i = out.indexOf("rss_kb=");
        if (i >= 0) rss = out.mid(i + 7).trimmed().toLong();
    }
    state.counters["rss_kb"] = static_cast<double>(rss);
}
} // namespace

static void BM_Arrencada_Jugador(benchmark::State& s) {
    arrencar(s, false);
}
static void BM_Arrencada_QtMinim(benchmark::State& s) {
    arrencar(s, true);
}
BENCHMARK(BM_Arrencada_Jugador)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_Arrencada_QtMinim)->Unit(benchmark::kMillisecond)->Iterations(10);
