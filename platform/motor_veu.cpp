#include "platform/motor_veu.h"

#include "platform/finestres.h"
#include "platform/moduls.h"

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

// The machine's engine, made at its first use (present() included): the SDL
// module, SDL's audio and the engine's worker start then, not with the
// program. Without the module, or where SDL's audio does not start, it is
// the absent engine for the rest of the run.
class MotorVeuMaquina final : public MotorVeu {
  public:
    bool present() const override { return real().present(); }
    int16_t IniciarUnitReconeixementDeSonsSenseQuadreInicial(int32_t finestra, int16_t nombre,
                                                             QString& paraules) override {
        return real().IniciarUnitReconeixementDeSonsSenseQuadreInicial(finestra, nombre, paraules);
    }
    int16_t IniciarReconeixement() override { return real().IniciarReconeixement(); }
    void PararReconeixement() override { real().PararReconeixement(); }
    int16_t IniciarCapturaNivellDeSo(int32_t finestra) override {
        return real().IniciarCapturaNivellDeSo(finestra);
    }
    void FinalitzarCapturaNivellDeSo() override { real().FinalitzarCapturaNivellDeSo(); }
    int32_t ObrirFitxer() override { return real().ObrirFitxer(); }
    void CopiarSonsQueSeReconeixerALaCarpeta() override { real().CopiarSonsQueSeReconeixerALaCarpeta(); }
    QString SonsQueSeReconeixen() override { return real().SonsQueSeReconeixen(); }
    void IniciarEntrenament() override { real().IniciarEntrenament(); }
    void VeureFinestraGrafiques() override { real().VeureFinestraGrafiques(); }
    void GuardarFitxerReconeixementDeParaules() override { real().GuardarFitxerReconeixementDeParaules(); }
    float NumeroVersio() override { return real().NumeroVersio(); }
    int16_t AssignarNumeroDeDecimesDeSegonDereconeixement(int16_t decimes) override {
        return real().AssignarNumeroDeDecimesDeSegonDereconeixement(decimes);
    }
    int32_t ObrirFitxerReconeixementDeParaulesDeLaCarpeta(const QString& cami) override {
        return real().ObrirFitxerReconeixementDeParaulesDeLaCarpeta(cami);
    }
    void VeureNivellDeSo() override { real().VeureNivellDeSo(); }
    bool PatronsPreparats() override { return real().PatronsPreparats(); }

  private:
    // Asked once and remembered.
    MotorVeu& real() const {
        if (!fet_) {
            fet_ = true;
            if (const ModulSdl* m = modul_sdl()) real_ = m->crear_motor_veu();
        }
        return real_ ? *real_ : absent();
    }
    mutable bool fet_ = false;
    // Kept for the whole run: the engine's worker ends with the process.
    mutable MotorVeu* real_ = nullptr;
};

} // namespace

MotorVeu& motor_veu() {
    return g_motor ? *g_motor : absent();
}

void posar_motor_veu(MotorVeu* m) {
    g_motor = m;
}

MotorVeu& motor_veu_maquina() {
    static MotorVeuMaquina m;
    return m;
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
