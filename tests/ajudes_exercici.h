// Injected clock, random source, media and speech engine for the exercise
// tests: time only moves when a test moves it.
#pragma once

#include "activitat.h"
#include "informe.h"
#include "media.h"
#include "motor_veu.h"
#include "rellotge.h"

#include <QStringList>
#include <deque>

namespace lumi::proves {

struct RellotgeProva : plataforma::Rellotge {
    double dia = 36000.25; // 10:00:00 and a quarter
    double mono = 1000.0;
    double segons_dia() override { return dia; }
    double monotonic() override { return mono; }
    // Both clocks move together; the day clock wraps at midnight.
    void avancar(double s) {
        mono += s;
        dia += s;
        if (dia >= 86400) dia -= 86400;
    }
};

// Returns the scripted numbers in turn, then the last one for ever.
struct AtzarProva : plataforma::Atzar {
    std::deque<float> valors;
    float darrer = 0;
    int demanats = 0;
    float seguent() override {
        ++demanats;
        if (!valors.empty()) {
            darrer = valors.front();
            valors.pop_front();
        }
        return darrer;
    }
};

struct MciProva : plataforma::Mci {
    QStringList ordres;
    int enviar(const QString& ordre) override {
        ordres << ordre;
        return 0;
    }
};

struct MotorProva : plataforma::MotorVeu {
    float versio = 95;
    int16_t resultat_captura = 0;
    int16_t resultat_reconeixement = 0;
    int captures = 0, finals_captura = 0, reconeixements = 0, parades = 0;
    bool present() const override { return true; }
    int16_t IniciarReconeixement() override {
        ++reconeixements;
        return resultat_reconeixement;
    }
    void PararReconeixement() override { ++parades; }
    int16_t IniciarCapturaNivellDeSo(int32_t) override {
        ++captures;
        return resultat_captura;
    }
    void FinalitzarCapturaNivellDeSo() override { ++finals_captura; }
    int32_t ObrirFitxer() override { return 0; }
    void CopiarSonsQueSeReconeixerALaCarpeta() override {}
    void IniciarEntrenament() override {}
    void VeureFinestraGrafiques() override {}
    void GuardarFitxerReconeixementDeParaules() override {}
    float NumeroVersio() override { return versio; }
};

// Puts the fakes in place for one test and takes them away after it.
struct EntornProva {
    RellotgeProva rellotge;
    AtzarProva atzar;
    MciProva mci;
    EntornProva() {
        plataforma::posar_rellotge(&rellotge);
        plataforma::posar_atzar(&atzar);
        plataforma::posar_mci(&mci);
        activitat() = Activitat{};
        jugador() = EstatJugador{};
        dispositius() = EstatDispositius{};
        llistes() = Llistes{};
        informe() = dades_informe{};
        informe_detall().clear();
    }
    ~EntornProva() {
        plataforma::posar_rellotge(nullptr);
        plataforma::posar_atzar(nullptr);
        plataforma::posar_mci(nullptr);
        plataforma::posar_motor_veu(nullptr);
    }
};

// An activity of n items, each with a stimulus list that shows nothing
// (a missing picture) and waits for nothing.
inline void activitat_de_prova(int n) {
    Activitat& a = activitat();
    a.items.assign(static_cast<size_t>(n) + 1, item{});
    a.nombre_items = static_cast<int16_t>(n);
    for (int i = 1; i <= n; ++i)
        a.items[static_cast<size_t>(i)].estimuls =
            QStringLiteral("1") + QChar(0xBB) + QStringLiteral("no_hi_es_%1.bmp").arg(i);
    a.mode_estimul = QStringLiteral("1");
}

} // namespace lumi::proves
