#include "devices/mvfw.h"

#include "platform/camera.h"
#include "platform/finestres.h"

#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QPixmap>
#include <QPointer>
#include <QTimer>

namespace lumi {

namespace {

// The capture window: a label that shows the camera's frames while the
// preview runs.
class VistaCaptura final : public QLabel {
  public:
    explicit VistaCaptura(QWidget* pare) : QLabel(pare) {
        setObjectName(QStringLiteral("captura"));
        setStyleSheet(QStringLiteral("background: black"));
        setScaledContents(true);
        connect(&previsualitzacio, &QTimer::timeout, this, [this] { refrescar(); });
    }
    ~VistaCaptura() override { desconnectar(); }

    bool connectar(int index) {
        desconnectar();
        if (!plataforma::agafar_camera(index)) return false;
        connectada = true;
        capturat = QImage();
        return true;
    }
    bool desconnectar() {
        previsualitzacio.stop();
        if (!connectada) return false;
        connectada = false;
        plataforma::deixar_camera();
        return true;
    }
    void refrescar() {
        const QImage f = connectada ? plataforma::camera().fotograma() : QImage();
        // A camera that went away stops the live picture.
        if (f.isNull()) {
            previsualitzacio.stop();
            return;
        }
        setPixmap(QPixmap::fromImage(f));
    }

    bool connectada = false;
    QImage capturat;
    QTimer previsualitzacio;
};

VistaCaptura* vista(int32_t hwnd) {
    return dynamic_cast<VistaCaptura*>(plataforma::finestra_per_handle(hwnd));
}

} // namespace

bool capGetDriverDescriptionA(int16_t index, QString& nom, QString& versio) {
    nom = plataforma::camera().descripcio(index);
    versio.clear();
    return !nom.isEmpty();
}

int32_t capCreateCaptureWindowA(const QString& nom, int32_t x, int32_t y, int32_t amplada, int32_t alcada,
                                int32_t pare) {
    QWidget* p = plataforma::finestra_per_handle(pare);
    if (!p) return 0;
    // In a main window, the client area: the menus stay usable above it.
    if (auto* m = qobject_cast<QMainWindow*>(p); m && m->centralWidget()) p = m->centralWidget();
    auto* v = new VistaCaptura(p);
    v->setWindowTitle(nom);
    v->setGeometry(x, y, amplada, alcada);
    v->show();
    v->raise();
    return plataforma::registrar_finestra(v);
}

void DestroyWindow(int32_t hwnd) {
    delete vista(hwnd);
}

bool capDriverConnect(int32_t hwnd, int16_t index) {
    VistaCaptura* v = vista(hwnd);
    return v && v->connectar(index);
}

bool capDriverDisconnect(int32_t hwnd) {
    VistaCaptura* v = vista(hwnd);
    return v && v->desconnectar();
}

bool capPreview(int32_t hwnd, bool on) {
    VistaCaptura* v = vista(hwnd);
    if (!v || !v->connectada) return false;
    if (on) {
        v->refrescar();
        v->previsualitzacio.start();
    } else {
        v->previsualitzacio.stop();
    }
    return true;
}

bool capPreviewRate(int32_t hwnd, int32_t ms) {
    VistaCaptura* v = vista(hwnd);
    if (!v || ms <= 0) return false;
    v->previsualitzacio.setInterval(ms);
    return true;
}

bool capGrabFrame(int32_t hwnd) {
    VistaCaptura* v = vista(hwnd);
    if (!v || !v->connectada) return false;
    v->previsualitzacio.stop();
    v->capturat = plataforma::camera().fotograma();
    if (v->capturat.isNull()) return false;
    v->setPixmap(QPixmap::fromImage(v->capturat));
    return true;
}

bool capFileSaveDIB(int32_t hwnd, const QString& fitxer) {
    VistaCaptura* v = vista(hwnd);
    QImage im;
    if (v && v->connectada) im = v->capturat.isNull() ? plataforma::camera().fotograma() : v->capturat;
    if (plataforma::desar_bmp(im, fitxer)) return true;
    QFile::remove(fitxer);
    return false;
}

} // namespace lumi
