#include "platform/motor_veu.h"

#include "platform/finestres.h"

#include <QCoreApplication>

namespace lumi::plataforma {

namespace {

// No engine: every start is refused, nothing opens, nothing waits.
class MotorAbsent final : public MotorVeu {
  public:
    bool present() const override { return false; }
    int16_t IniciarReconeixement() override { return -1; }
    void PararReconeixement() override {}
    int16_t IniciarCapturaNivellDeSo(int32_t) override { return -1; }
    void FinalitzarCapturaNivellDeSo() override {}
    int32_t ObrirFitxer() override { return 0; }
    void CopiarSonsQueSeReconeixerALaCarpeta() override {}
    void IniciarEntrenament() override {}
    void VeureFinestraGrafiques() override {}
    void GuardarFitxerReconeixementDeParaules() override {}
    float NumeroVersio() override { return 0; }
};

MotorAbsent& absent() {
    static MotorAbsent m;
    return m;
}

MotorVeu* g_motor = nullptr;

} // namespace

MotorVeu& motor_veu() {
    return g_motor ? *g_motor : absent();
}

void posar_motor_veu(MotorVeu* m) {
    g_motor = m;
}

QEvent::Type MissatgeMotor::tipus() {
    static const auto t = static_cast<QEvent::Type>(QEvent::registerEventType());
    return t;
}

bool enviar_missatge_motor(int32_t finestra, int32_t wParam, int32_t lParam) {
    QWidget* w = finestra_per_handle(finestra);
    if (!w) return false;
    QCoreApplication::postEvent(w, new MissatgeMotor(wParam, lParam));
    return true;
}

} // namespace lumi::plataforma
