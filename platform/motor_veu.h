// The speech-recognition engine: word recognition, sound-level capture and
// the engine's own pattern windows. The player and the media playback call it
// directly; the input devices start its units. Until a real engine is put in
// place the engine is absent: every start fails with a non-zero result and
// nothing waits, which is also what a machine without a microphone gets.
#pragma once

#include <QEvent>
#include <QString>
#include <cstdint>

namespace lumi::plataforma {

class MotorVeu {
  public:
    virtual ~MotorVeu() = default;
    // Whether a working engine stands behind the calls.
    virtual bool present() const = 0;
    // 0 when a word-recognition unit for the `nombre` comma-separated entries
    // of `paraules` has started; from then on the engine posts its ready
    // message and the recognised words to `finestra` (a handle of the window
    // registry). The engine may rewrite `paraules`.
    virtual int16_t IniciarUnitReconeixementDeSonsSenseQuadreInicial(int32_t finestra, int16_t nombre,
                                                                     QString& paraules) {
        (void)finestra;
        (void)nombre;
        (void)paraules;
        return -1;
    }
    // 0 when word recognition has started.
    virtual int16_t IniciarReconeixement() = 0;
    virtual void PararReconeixement() = 0;
    // 0 when sound-level capture has started; levels are posted to `finestra`
    // (a handle of the window registry) as MissatgeMotor events.
    virtual int16_t IniciarCapturaNivellDeSo(int32_t finestra) = 0;
    virtual void FinalitzarCapturaNivellDeSo() = 0;
    // 0 when the user opened no sound-pattern file.
    virtual int32_t ObrirFitxer() = 0;
    // Leaves the comma-separated sounds of the opened pattern set on the clipboard.
    virtual void CopiarSonsQueSeReconeixerALaCarpeta() = 0;
    // The comma-separated sounds of the opened pattern set, "" when none is
    // open (or there is no engine).
    virtual QString SonsQueSeReconeixen() { return {}; }
    virtual void IniciarEntrenament() = 0;
    virtual void VeureFinestraGrafiques() = 0;
    virtual void GuardarFitxerReconeixementDeParaules() = 0;
    // The engine's version; 0 when there is no engine.
    virtual float NumeroVersio() = 0;
    // The listening window of one recognition, in tenths of a second.
    virtual int16_t AssignarNumeroDeDecimesDeSegonDereconeixement(int16_t decimes) {
        (void)decimes;
        return 0;
    }
    // Opens the pattern set of `cami`: a pattern file, or the first
    // "*.SonsVxdSR02" of a folder by name. Non-zero when opened; its labels
    // then replace the unit's entries (SonsQueSeReconeixen gives them).
    virtual int32_t ObrirFitxerReconeixementDeParaulesDeLaCarpeta(const QString& cami) {
        (void)cami;
        return 0;
    }
    // The engine's level window: the live level, the capture device, the gain.
    virtual void VeureNivellDeSo() {}
    // A unit runs whose every named sound has its takes, however its set
    // came (opened, trained, or kept from before an activity was loaded).
    virtual bool PatronsPreparats() { return false; }
};

// The property that marks the engine's windows (and other device windows):
// they are not forms of the program, so they neither hold back learner input
// nor close with the forms.
inline constexpr char PROPIETAT_FINESTRA_DISPOSITIU[] = "lumi_finestra_dispositiu";

// The engine in use (the absent one until another is put in place).
MotorVeu& motor_veu();
// Puts an engine in place; nullptr puts the absent one back. The caller keeps
// ownership.
void posar_motor_veu(MotorVeu* m);
// The machine's engine (ours, on SDL's audio), started at its first use.
MotorVeu& motor_veu_maquina();

// What the engine posts to a window: wParam is a recognised word (1 to 32) or
// -1 (engine ready); lParam the sound level (0 to 128).
class MissatgeMotor : public QEvent {
  public:
    MissatgeMotor(int32_t w, int32_t l) : QEvent(tipus()), wParam(w), lParam(l) {}
    static QEvent::Type tipus();
    int32_t wParam;
    int32_t lParam;
};

// Posts a message to the window of a handle; false when the window is gone.
bool enviar_missatge_motor(int32_t finestra, int32_t wParam, int32_t lParam);

} // namespace lumi::plataforma
