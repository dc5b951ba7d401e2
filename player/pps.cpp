// Slide shows, started and ended through the presentation program.
#include "player/Form1.h"
#include "core/camins.h"
#include "platform/presentacions.h"

#include <memory>

namespace lumi {

namespace {
// The presentation program of the show now running; empty when none runs.
std::unique_ptr<plataforma::AplicacioPresentacions>& app_powerpoint() {
    static std::unique_ptr<plataforma::AplicacioPresentacions> a;
    return a;
}
} // namespace

void Form1::pps_executa(const QString& fitxer) {
    // A show left running by an overtaken question is ended first.
    if (app_powerpoint()) pps_atura();
    // The show comes up over the player, which a time-out may have put on top.
    treure_primer_pla();
    app_powerpoint() = plataforma::crear_aplicacio_presentacions();
    if (!app_powerpoint()) return;
    plataforma::AplicacioPresentacions& app = *app_powerpoint();
    if (!app.posar_visible(true)) return;
    if (!app.obrir(resoldre_fitxer(part_recurs(fitxer, 0)))) return;
    app.executar_presentacio(1);
}

void Form1::pps_atura() {
    if (!app_powerpoint()) return;
    // Every step runs whatever the one before gave, so the viewer never
    // outlives the show.
    plataforma::AplicacioPresentacions& app = *app_powerpoint();
    app.tancar_presentacio(1);
    app.sortir_finestra_presentacio(1);
    app.sortir();
    app_powerpoint().reset();
}

} // namespace lumi
