#include "app/connexions.h"

#include "actions/ACCIONS.h"
#include "actions/ganxos_accions.h"
#include "comuns/dialegs.h"
#include "comuns/media_jugar.h"
#include "core/fitxer_lrq.h"
#include "core/llistes.h"
#include "devices/captura_so.h"
#include "devices/OVSDLL_CALIB.h"
#include "devices/modul_veu.h"
#include "devices/ombra_visor.h"
#include "platform/backends.h"
#include "platform/carpetes.h"
#include "platform/microfon.h"
#include "platform/moduls.h"
#include "platform/motor_veu.h"
#include "platform/pantalla.h"
#include "planner/planificar.h"
#include "platform/rellotge.h"
#include "player/Form1.h"
#include "player/menus.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QThread>

namespace lumi {

void triar_backends() {
    plataforma::triar_backends_entorn();
    // The machine's microphone and our engine; SDL's audio starts at their
    // first use.
    if (!plataforma::servei_sintetic(QStringLiteral("microfon")))
        plataforma::posar_microfon(&plataforma::microfon_maquina());
    if (!plataforma::servei_sintetic(QStringLiteral("veu")))
        plataforma::posar_motor_veu(&plataforma::motor_veu_maquina());
}

void connectar_ganxos() {
    titol_finestra() = [](const QString& t) {
        if (Form1* f = Form1::instancia()) f->posar_titol(t);
    };
    avis_usuari() = [](const QString& t) { missatge(Form1::instancia(), t, QMessageBox::Critical); };
    // A module is loaded where its service is first used, on any thread; the
    // player says it when the teacher is there to read it, and the program
    // goes on without it.
    plataforma::avis_modul() = [](const QString& t) {
        auto avisar = [t] {
            if (Form1* f = Form1::instancia())
                f->avisar_modul(t);
            else
                missatge(nullptr, t, QMessageBox::Warning);
        };
        if (Form1::instancia() && QThread::currentThread() == qApp->thread())
            avisar();
        else
            QMetaObject::invokeMethod(qApp, avisar, Qt::QueuedConnection);
    };
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

    obrir_planificar() = [] { planificar::mostrar(Form1::instancia()); };
    // The word-list upkeep sees the planner's item only while it is open.
    entorn_planificador().item_editat = []() -> const item* {
        return planificar::instancia() ? &planificador().item_editat[0] : nullptr;
    };
    // The action editor edits the planner's working item in place; page 4 is
    // its full-screen zone editor.
    obrir_editor_accions() = [](int pagina, const QString& titol) {
        Activitat& a = activitat();
        const std::vector<zona> zones = a.zones;
        ACCIONS f(planificador().item_editat[0], a, dispositius(), planificar::instancia());
        f.obrir_pagina(pagina, titol);
        f.exec();
        // Zones drawn in the editor are changes to save like any other.
        if (a.zones != zones) a.exercici_modificat = CERT;
    };
    // The zone editor asks the planner for the background picture.
    buto_planificar() = [](int index) {
        if (planificar* p = planificar::instancia()) p->buto_Click(index);
    };
    entorn_planificador().item_mostrat = [] {
        return planificar::instancia() ? planificar::instancia()->model.item_mostrat : 0;
    };

    mostrar_calibracio() = [](QWidget* pare) {
        OVSDLL_CALIB::mostrar(pare);
        return true;
    };
    veu_obrir_paraules_carpeta() = [](const QString& carpeta) { return veu_obrir_paraules_carpeta(carpeta); };
    jugador_veu().esperar = [](double segons) {
        if (Form1* f = Form1::instancia())
            f->esperar_sense_entrada(segons);
        else
            plataforma::esperar(segons, QEventLoop::ExcludeUserInputEvents);
    };
    jugador_veu().menus_preparats = [] {
        if (Form1* f = Form1::instancia())
            for (int i = 2; i <= 4; ++i)
                f->mn_fressa[static_cast<size_t>(i)]->setEnabled(true);
    };
}

int executar(int argc, char** argv, const std::function<void(QApplication&)>& abans) {
    // Pointer warping and confinement need X11; under Wayland go through XWayland.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    // The menus stay in the window, where an exercise hides them from the
    // learner; asking the desktop for a global menu costs a session-bus
    // connection (or a failed launch of one) before the first paint.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lumiraga"));
    QApplication::setQuitOnLastWindowClosed(false);
    if (abans) abans(app);
    triar_backends();
    connectar_ganxos();

    Form1 form;
    const QStringList args = QApplication::arguments();
    // The whole command line names one activity file.
    form.linia_ordres = args.mid(1).join(u' ');
    form.carpeta_inicial = QDir::currentPath();
    if (!form.Form_Load()) return 0;
    form.show();
    form.activateWindow();
    return app.exec();
}

} // namespace lumi
