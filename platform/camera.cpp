#include "platform/camera.h"

#include "core/desar.h"

#include <QBuffer>
#include <memory>

namespace lumi::plataforma {

std::unique_ptr<Camera> crear_camera_v4l2();

namespace {

Camera* g_camera = nullptr;
int g_reserves = 0;

Camera& camera_maquina() {
    static std::unique_ptr<Camera> c = crear_camera_v4l2();
    return *c;
}

} // namespace

bool desar_bmp(const QImage& im, const QString& fitxer) {
    if (im.isNull()) return false;
    QByteArray dades;
    QBuffer b(&dades);
    b.open(QIODevice::WriteOnly);
    return im.save(&b, "BMP") && desar_fitxer_propi(fitxer, dades);
}

bool desar_fotografia(Camera& c, const QString& fitxer) {
    return desar_bmp(c.fotograma(), fitxer);
}

Camera& camera() {
    return g_camera ? *g_camera : camera_maquina();
}

void posar_camera(Camera* c) {
    if (g_reserves > 0) camera().tancar();
    g_reserves = 0;
    g_camera = c;
}

bool agafar_camera(int index) {
    if (g_reserves == 0 && !camera().obrir(index)) return false;
    ++g_reserves;
    return true;
}

void deixar_camera() {
    if (g_reserves == 0) return;
    if (--g_reserves == 0) camera().tancar();
}

int reserves_camera() {
    return g_reserves;
}

} // namespace lumi::plataforma
