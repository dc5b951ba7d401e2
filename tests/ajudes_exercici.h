// Injected clock, random source, media and speech engine for the exercise
// tests: time only moves when a test moves it.
#pragma once

#include "core/activitat.h"
#include "core/informe.h"
#include "platform/media_sintetic.h"
#include "platform/microfon.h"
#include "platform/motor_veu_sintetic.h"
#include "platform/rellotge_sintetic.h"

namespace lumi::proves {

// Time only moves when a test moves it.
struct RellotgeProva : plataforma::RellotgeSintetic {
    double& mono = t;
};
// Returns the scripted numbers in turn, then the last one for ever.
using AtzarProva = plataforma::AtzarSintetic;
using MciProva = plataforma::MciSintetic;
using MotorProva = plataforma::MotorVeuSintetic;

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
        plataforma::posar_microfon(nullptr);
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
