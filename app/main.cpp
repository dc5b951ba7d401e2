#include "app/connexions.h"
#include "player/Form1.h"

#include <QApplication>

int main(int argc, char** argv) {
    // Pointer warping and confinement need X11; under Wayland go through XWayland.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lumiraga"));
    QApplication::setQuitOnLastWindowClosed(false);
    lumi::triar_backends();
    lumi::connectar_ganxos();

    lumi::Form1 form;
    const QStringList args = QApplication::arguments();
    // The whole command line names one activity file.
    form.linia_ordres = args.mid(1).join(u' ');
    if (!form.Form_Load()) return 0;
    form.show();
    form.activateWindow();
    return app.exec();
}
