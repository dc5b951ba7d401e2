// What a start-up probe reports, the same for the program and for the bare
// window: the moment its first paint has gone to the screen (the steady
// clock in ns, the one its parent reads) and, once it has been at rest for a
// while, its resident memory. Then it ends at once.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace lumi::bench {

inline long rss_kb() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& l : f.readAll().split('\n'))
        if (l.startsWith("VmRSS:")) return l.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

class PrimerDibuix : public QObject {
  public:
    static constexpr int REPOS_MS = 300;
    // What a program leaves tidy when it ends normally, done before the
    // sudden end.
    std::function<void()> en_sortir;

    bool eventFilter(QObject* o, QEvent* e) override {
        if (!vist_ && e->type() == QEvent::Paint && o->isWidgetType()) {
            vist_ = true;
            // Runs once this paint and its flush to the screen are done.
            QTimer::singleShot(0, [this] {
                const auto ara = std::chrono::steady_clock::now().time_since_epoch();
                std::printf("pintat_ns=%lld\n",
                            static_cast<long long>(std::chrono::nanoseconds(ara).count()));
                std::fflush(stdout);
                QTimer::singleShot(REPOS_MS, [this] {
                    std::printf("rss_kb=%ld\n", rss_kb());
                    std::fflush(stdout);
                    if (en_sortir) en_sortir();
                    std::_Exit(0);
                });
            });
        }
        return false;
    }

  private:
    bool vist_ = false;
};

} // namespace lumi::bench
