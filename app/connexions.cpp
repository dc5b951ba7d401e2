#include "app/connexions.h"

#include "comuns/dialegs.h"
#include "comuns/media_jugar.h"
#include "core/fitxer_lrq.h"
#include "devices/captura_so.h"
#include "devices/ombra_visor.h"
#include "platform/backends.h"
#include "platform/carpetes.h"
#include "platform/pantalla.h"
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
    // No sibling tracking program on this system: our stand-in window.
    ombravisor_engegar() = [] { return ombravisor_obrir(); };

    // Filled by the planner, the calibration window and the speech engine
    // as they come; until then their menu items do nothing of their own.
    obrir_planificar() = nullptr;
    mostrar_calibracio() = nullptr;
    veu_obrir_paraules_carpeta() = nullptr;
}

} // namespace lumi
