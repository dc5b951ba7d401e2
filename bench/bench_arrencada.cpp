// The start of an exercise from the command line with a full zone table
// beside one with a hundred zones. (The program's start-up beside a bare Qt
// window is measured under X: bench_tecla_pantalla.cpp.)
#include "activitat_gran.h"
#include "core/fitxer_lrq.h"
#include "core/idioma.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>

namespace {
// One cold start of the probe with its arguments: the resident memory it
// printed, in kB, or -1 when it failed; `ms` takes the milliseconds from its
// start to the first paint of an exercise, when it printed them.
long sonda(const QString& casa, const QStringList& arguments, double* ms = nullptr) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LUMIRAGA_HOME"), casa);
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(LUMI_SONDA_ARRENCADA), arguments);
    if (!p.waitForFinished(60000) || p.exitCode() != 0) return -1;
    const QByteArray out = p.readAllStandardOutput();
    const qsizetype m = out.indexOf("ms_pintat=");
    if (ms && m >= 0) *ms = out.mid(m + 10, out.indexOf('\n', m) - m - 10).toDouble();
    const qsizetype i = out.indexOf("rss_kb=");
    return i >= 0 ? out.mid(i + 7).trimmed().toLong() : -1;
}

// An activity of one item answered by a key, with n zones showing a picture.
QString activitat_zones(const QTemporaryDir& dir, int n) {
    const QString imatge = dir.filePath(QStringLiteral("zona.png"));
    QImage im(64, 48, QImage::Format_RGB32);
    im.fill(Qt::darkCyan);
    im.save(imatge);
    lumi::Activitat a = lumi::proves::activitat_gran(1, dir.path());
    a.items[1].estimuls.clear();
    lumi::proves::zones_apilades(a, n, imatge);
    const QString cami = dir.filePath(QStringLiteral("zones%1.lrq").arg(n));
    QFile f(cami);
    if (f.open(QIODevice::WriteOnly)) f.write(lumi::escriure_activitat(a, lumi::IDIOMA_CATALA, dir.path()));
    return cami;
}
} // namespace

// The program's start to the first paint of the exercise it starts from the
// command line, and the memory then, with 100 zones and with 32,767 (the most
// a file holds): the figures of each, the fastest of the runs as the machine
// is shared, and the full table's over the hundred's.
static void BM_Arrencada_Zones(benchmark::State& state) {
    QTemporaryDir dir, casa;
    const QString cent = activitat_zones(dir, 100), totes = activitat_zones(dir, 32767);
    double ms[2] = {1e9, 1e9}, rss[2] = {};
    for (auto _ : state) {
        int i = 0;
        for (const QString& f : {cent, totes}) {
            double m = -1;
            const long r = sonda(casa.path(), {f}, &m);
            if (r < 0 || m < 0) {
                state.SkipWithError("the probe did not start the exercise");
                return;
            }
            ms[i] = std::min(ms[i], m);
            rss[i++] = double(r);
        }
    }
    state.counters["ms_100"] = ms[0];
    state.counters["ms_32767"] = ms[1];
    state.counters["ratio_ms"] = ms[1] / ms[0];
    state.counters["rss_kb_100"] = rss[0];
    state.counters["rss_kb_32767"] = rss[1];
    state.counters["ratio_rss"] = rss[1] / rss[0];
}

BENCHMARK(BM_Arrencada_Zones)->Unit(benchmark::kMillisecond)->Iterations(10);
