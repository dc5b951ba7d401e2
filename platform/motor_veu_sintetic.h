// The synthetic speech engine. It counts the calls and answers with the
// results it is given; with `amb_microfon` its sound-level capture opens the
// microphone in use and posts its level every 50 ms, and a started unit posts
// the engine's ready message and then the scripted words, each at its time
// (a word whose time comes while recognition is paused is not heard).
#pragma once

#include "platform/motor_veu.h"

#include <QPointer>
#include <QTimer>
#include <vector>

namespace lumi::plataforma {

// Word `paraula` (1 to 32) recognised `t` seconds after the unit started.
struct ParaulaDita {
    double t = 0;
    int paraula = 0;
};

class MotorVeuSintetic : public MotorVeu {
  public:
    ~MotorVeuSintetic() override;

    float versio = 95;
    int16_t resultat_captura = 0;
    int16_t resultat_reconeixement = 0; // also the unit's start
    bool amb_microfon = false;
    std::vector<ParaulaDita> paraules;
    int32_t fitxer_obert = 0; // what ObrirFitxer and the folder call give
    QString sons;             // the sounds of the opened pattern set

    // What the engine was asked.
    int captures = 0, finals_captura = 0, reconeixements = 0, parades = 0, unitats = 0;
    int32_t finestra = 0;        // the window of the last capture start
    int32_t finestra_unitat = 0; // the window of the last unit start
    QString llista_unitat;       // the word list of the last unit start
    int16_t nombre_unitat = 0;   // its entry count
    int entrenaments = 0, grafiques = 0, desats = 0, nivells = 0;
    int16_t decimes = 0; // the last listening window given
    QString cami_obert;  // the last path the folder call was given

    bool present() const override { return true; }
    int16_t IniciarUnitReconeixementDeSonsSenseQuadreInicial(int32_t finestra, int16_t nombre,
                                                             QString& llista) override;
    int16_t IniciarReconeixement() override;
    void PararReconeixement() override;
    int16_t IniciarCapturaNivellDeSo(int32_t finestra) override;
    void FinalitzarCapturaNivellDeSo() override;
    int32_t ObrirFitxer() override { return fitxer_obert; }
    void CopiarSonsQueSeReconeixerALaCarpeta() override {}
    QString SonsQueSeReconeixen() override { return fitxer_obert ? sons : QString(); }
    void IniciarEntrenament() override { ++entrenaments; }
    void VeureFinestraGrafiques() override { ++grafiques; }
    void GuardarFitxerReconeixementDeParaules() override { ++desats; }
    float NumeroVersio() override { return versio; }
    int16_t AssignarNumeroDeDecimesDeSegonDereconeixement(int16_t d) override {
        decimes = d;
        return 0;
    }
    int32_t ObrirFitxerReconeixementDeParaulesDeLaCarpeta(const QString& cami) override {
        cami_obert = cami;
        return fitxer_obert;
    }
    void VeureNivellDeSo() override { ++nivells; }

    // Posts word k to the unit's window now.
    void reconeixer(int k);
    // One beat of the 50 ms timer: the level while capturing, the words whose
    // time has come while a unit runs.
    void bategar();

  private:
    void engegar_batec();

    QPointer<QTimer> batec_;
    bool capturant_ = false;
    bool unitat_ = false;    // a unit has started
    bool escoltant_ = false; // and recognition is not paused
    double inici_unitat_ = 0;
    size_t dites_ = 0; // the scripted words already posted
};

} // namespace lumi::plataforma
