#include "platform/motor_veu_sintetic.h"

#include "platform/microfon.h"
#include "platform/rellotge.h"

#include <QCoreApplication>

namespace lumi::plataforma {

MotorVeuSintetic::~MotorVeuSintetic() {
    delete batec_.data();
}

int16_t MotorVeuSintetic::IniciarUnitReconeixementDeSonsSenseQuadreInicial(int32_t f, int16_t nombre,
                                                                           QString& llista) {
    ++unitats;
    finestra_unitat = f;
    llista_unitat = llista;
    nombre_unitat = nombre;
    if (resultat_reconeixement != 0) return resultat_reconeixement;
    unitat_ = escoltant_ = true;
    inici_unitat_ = rellotge().monotonic();
    dites_ = 0;
    enviar_missatge_motor(f, -1, 0);
    if (!paraules.empty()) engegar_batec();
    return 0;
}

int16_t MotorVeuSintetic::IniciarReconeixement() {
    ++reconeixements;
    if (resultat_reconeixement != 0) return resultat_reconeixement;
    escoltant_ = unitat_;
    return 0;
}

void MotorVeuSintetic::PararReconeixement() {
    ++parades;
    escoltant_ = false;
}

int16_t MotorVeuSintetic::IniciarCapturaNivellDeSo(int32_t f) {
    ++captures;
    finestra = f;
    if (resultat_captura != 0) return resultat_captura;
    if (amb_microfon) {
        if (!microfon().obrir()) return 1;
        capturant_ = true;
        engegar_batec();
    }
    return 0;
}

void MotorVeuSintetic::FinalitzarCapturaNivellDeSo() {
    ++finals_captura;
    if (capturant_) microfon().tancar();
    capturant_ = false;
}

void MotorVeuSintetic::reconeixer(int k) {
    enviar_missatge_motor(finestra_unitat, k, 0);
}

void MotorVeuSintetic::bategar() {
    // A microphone that went away leaves the window without levels.
    if (capturant_ && microfon().obert()) enviar_missatge_motor(finestra, 0, microfon().nivell());
    if (unitat_ && dites_ < paraules.size()) {
        const double t = rellotge().monotonic() - inici_unitat_;
        for (; dites_ < paraules.size() && paraules[dites_].t <= t; ++dites_)
            if (escoltant_) reconeixer(paraules[dites_].paraula);
    }
}

void MotorVeuSintetic::engegar_batec() {
    if (batec_ || !QCoreApplication::instance()) return;
    // Owned by the application, so that it never outlives the event loop.
    batec_ = new QTimer(QCoreApplication::instance());
    QObject::connect(batec_, &QTimer::timeout, batec_, [this] { bategar(); });
    batec_->start(50);
}

} // namespace lumi::plataforma
