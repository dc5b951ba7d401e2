// Our speech engine: the microphone's sound level and the recognition of
// short sounds trained from a few takes, with its training, patterns and level
// windows and its pattern files. The microphone's capture thread hands its
// samples here as they arrive (a microphone without one is polled from the
// interface thread); the level is measured there and goes straight to the
// interface thread, so that its cadence is the capture's, and the samples go
// on to a worker thread, which runs the engine's core (veu_nucli.h) and hands
// the words and takes it found back to this object on the interface thread,
// which posts them on to the windows as MissatgeMotor events.
#pragma once

#include "platform/motor_veu.h"
#include "platform/veu_nucli.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

namespace lumi::plataforma {

class Microfon;

// The engine's settings, kept in the program ini's section "VEU".
struct AjustosVeu {
    QString dispositiu; // the capture device; "" the system's default
    double guany = 1.0;
    double llindar = 12.0; // rejection threshold of a match
    int preses = 3;        // takes trained for each entry
    static AjustosVeu llegir();
    void desar() const;
};

class MotorVeuReal : public QObject, public MotorVeu {
    Q_OBJECT
  public:
    // nullptr when SDL's audio subsystem does not start.
    static std::unique_ptr<MotorVeuReal> crear();
    MotorVeuReal();
    ~MotorVeuReal() override;

    bool present() const override { return true; }
    int16_t IniciarUnitReconeixementDeSonsSenseQuadreInicial(int32_t finestra, int16_t nombre,
                                                             QString& paraules) override;
    int16_t IniciarReconeixement() override;
    void PararReconeixement() override;
    int16_t IniciarCapturaNivellDeSo(int32_t finestra) override;
    void FinalitzarCapturaNivellDeSo() override;
    int32_t ObrirFitxer() override;
    void CopiarSonsQueSeReconeixerALaCarpeta() override {}
    QString SonsQueSeReconeixen() override;
    void IniciarEntrenament() override;
    void VeureFinestraGrafiques() override;
    void GuardarFitxerReconeixementDeParaules() override;
    float NumeroVersio() override { return 100; }
    int16_t AssignarNumeroDeDecimesDeSegonDereconeixement(int16_t decimes) override;
    int32_t ObrirFitxerReconeixementDeParaulesDeLaCarpeta(const QString& cami) override;
    void VeureNivellDeSo() override;
    bool PatronsPreparats() override;

    // Samples at 16 kHz as if heard: the capture path hands the microphone's
    // here, tests and benchmarks their own, faster than real time. Their
    // levels are measured and posted at once; the worker gets the samples.
    void alimentar(const int16_t* m, size_t n);
    // Waits until the worker has handled everything fed so far (tests).
    void esperar_feina();

    // For the windows (interface thread).
    veu::Patrons patrons() const;
    bool unitat() const { return unitat_; }
    // Records takes into `entrada` (-1 stops): one only, or on through the
    // named entries short of valid takes.
    void enregistrar_presa(int entrada, bool nomes_una = false);
    int entrada_enregistrant() const { return enregistrant_; }
    // The first named entry from `des_de` on (round to the start) short of
    // valid takes; -1 when every one has them.
    int entrada_pendent(int des_de) const;
    // Whether the take recorded last was set aside.
    bool darrera_apartada() const;
    void esborrar_presa(int entrada, int presa);
    void provar(bool si);
    bool provant() const { return provant_; }
    // Waits in the event loop while the set is read and matched on other
    // threads, with progress once it lasts; stopped there (Cancel, or the
    // program quitting), it leaves the patterns as they were and says no
    // reason. Refused, with the reason, while another open waits, when the
    // patterns change meanwhile, or when the work cannot start or fails.
    bool obrir_patrons(const QString& fitxer, QString* per_que = nullptr);
    bool desar_patrons(const QString& fitxer, QString* per_que = nullptr) const;
    AjustosVeu ajustos() const { return ajustos_; }
    void posar_ajustos(const AjustosVeu& a); // reopens the microphone on another device
    // The microphone for a window that shows the live level.
    bool vigilar_nivell(bool si);
    static void escoltar(const veu::Mostres& m);
    // Notices an unplugged microphone and, for a microphone that does not
    // hand its samples over by itself, takes what it heard since the last
    // call (the interface thread's timer does it while the microphone is open).
    void bombar();

  signals:
    // Every level, word or take found (on the interface thread).
    void esdeveniment(const lumi::plataforma::veu::Esdeveniment& e);
    void patrons_canviats();

  private:
    void lliurar(const std::vector<veu::Esdeveniment>& v);
    bool obrir_microfon();
    // Takes our receiver back from the microphone it was handed to and
    // closes it.
    void deixar_microfon();
    // The microphone's samples at its own rate, to 16 kHz and on.
    void entrar(const int16_t* m, size_t n);
    void tancar_microfon_si_cal();
    void treballar();
    void posar_nucli(const std::function<void(veu::NucliVeu&)>& f);
    QWidget* finestra_pare() const;
    void avisar_no_obert(const QString& fitxer, const QString& per_que) const;
    void enviar_preparat_si_cal();

    AjustosVeu ajustos_;
    mutable std::mutex nucli_mutex_;
    veu::NucliVeu nucli_; // the worker's; others reach it through the mutex

    std::mutex cua_mutex_;
    std::condition_variable cua_cv_, feta_cv_;
    std::deque<std::vector<int16_t>> cua_;
    bool ocupat_ = false, sortir_ = false;
    std::thread fil_;

    // The capture path's: levels only, as nothing is recognised there.
    std::mutex nivells_mutex_;
    veu::NucliVeu nivells_;

    QTimer bomba_;
    bool empeny_ = false; // the microphone hands its samples over itself
    // The capture thread's (or the timer's) once the microphone is open.
    double pas_remostreig_ = 1, fase_ = 0;
    int16_t anterior_ = 0;

    int32_t finestra_unitat_ = 0, finestra_nivell_ = 0;
    bool unitat_ = false, reconeixent_ = false, capturant_ = false;
    int vigilants_ = 0;
    int enregistrant_ = -1;
    bool nomes_una_ = false;
    std::pair<int, int> darrera_{-1, -1}; // entry and take recorded last
    bool provant_ = false;
    bool preparat_enviat_ = false;
    bool obrint_ = false;
    bool escolta_durant_obertura_ = false;
    Microfon* microfon_ = nullptr; // the one opened and handed our receiver
    QPointer<QWidget> entrenament_, patrons_, nivell_;
};

} // namespace lumi::plataforma
