#include "app/connexions.h"

#include "actions/ganxos_accions.h"
#include "comuns/dialegs.h"
#include "comuns/media_jugar.h"
#include "core/fitxer_lrq.h"
#include "core/llistes.h"
#include "devices/captura_so.h"
#include "platform/backends.h"
#include "platform/carpetes.h"
#include "platform/pantalla.h"
#include "planner/planificar.h"
#include "player/Form1.h"
#include "player/menus.h"

#include <QMessageBox>

namespace lumi {

void triar_backends() {
    plataforma::triar_backends_entorn();
}

void connectar_ganxos() {
    titol_finestra() = [](const QString& t) {
        if (Form1* f = Form1::instancia()) f->posar_titol(t);
    };
    avis_usuari() = [](const QString& t) { missatge(Form1::instancia(), t, QMessageBox::Critical); };
    escriptori_actual() = [] { return plataforma::rectangle_escriptori(); };
    cami_desfer() = plataforma::fitxer_desfer();
    finestra_video() = []() -> QWidget* {
        Form1* f = Form1::instancia();
        return f ? f->Picture1 : nullptr;
    };
    finestra_captura() = []() -> QWidget* { return Form1::instancia(); };
    reprendre_captura_so() = [] { so_reprendre_captura(); };

    obrir_planificar() = [] { planificar::mostrar(Form1::instancia()); };
    // The word-list upkeep sees the planner's item only while it is open.
    entorn_planificador().item_editat = []() -> const item* {
        return planificar::instancia() ? &planificador().item_editat[0] : nullptr;
    };
    // The zone editor asks the planner for the background picture.
    buto_planificar() = [](int index) {
        if (planificar* p = planificar::instancia()) p->buto_Click(index);
    };
    entorn_planificador().item_mostrat = [] {
        return planificar::instancia() ? planificar::instancia()->model.item_mostrat : 0;
    };

    // Filled by the calibration window and the speech engine as they come;
    // until then their menu items do nothing of their own.
    mostrar_calibracio() = nullptr;
    veu_obrir_paraules_carpeta() = nullptr;
}

} // namespace lumi
