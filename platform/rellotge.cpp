#include "platform/rellotge.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTimer>

namespace lumi::plataforma {

namespace {

class RellotgeSistema : public Rellotge {
  public:
    RellotgeSistema() { temps_.start(); }
    double segons_dia() override { return QTime::currentTime().msecsSinceStartOfDay() / 1000.0; }
    double monotonic() override { return temps_.nsecsElapsed() / 1e9; }

  private:
    QElapsedTimer temps_;
};

class AtzarSistema : public Atzar {
  public:
    float seguent() override { return static_cast<float>(QRandomGenerator::global()->generateDouble()); }
};

RellotgeSistema& sistema() {
    static RellotgeSistema r;
    return r;
}
Rellotge* actual = nullptr;

AtzarSistema& atzar_sistema() {
    static AtzarSistema a;
    return a;
}
Atzar* atzar_actual = nullptr;

} // namespace

Rellotge& rellotge() {
    return actual ? *actual : sistema();
}
void posar_rellotge(Rellotge* r) {
    actual = r;
}

Atzar& atzar() {
    return atzar_actual ? *atzar_actual : atzar_sistema();
}
void posar_atzar(Atzar* a) {
    atzar_actual = a;
}

void cedir(QEventLoop::ProcessEventsFlags flags) {
    if (QCoreApplication::instance()) QCoreApplication::processEvents(flags);
}

void esperar(double segons, QEventLoop::ProcessEventsFlags flags) {
    Rellotge& r = rellotge();
    const double fi = r.monotonic() + segons;
    cedir(flags);
    while (r.monotonic() < fi) {
        const double resta = fi - r.monotonic();
        // Sleep in the event loop instead of spinning; wake at least every 20 ms
        // so an injected clock that jumps is noticed.
        const int ms = static_cast<int>(std::clamp(resta * 1000.0, 1.0, 20.0));
        QEventLoop bucle;
        QTimer::singleShot(ms, &bucle, &QEventLoop::quit);
        bucle.exec(flags);
    }
}

} // namespace lumi::plataforma
