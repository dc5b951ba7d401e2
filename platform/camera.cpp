#include "platform/camera.h"

#include <QSaveFile>

namespace lumi::plataforma {

namespace {

class CameraAbsent final : public Camera {
  public:
    bool obrir() override { return false; }
    void tancar() override {}
    bool oberta() override { return false; }
    QImage fotograma() override { return {}; }
};

Camera* g_camera = nullptr;

} // namespace

bool desar_fotografia(Camera& c, const QString& fitxer) {
    const QImage im = c.fotograma();
    if (im.isNull()) return false;
    QSaveFile f(fitxer);
    if (!f.open(QIODevice::WriteOnly)) return false;
    if (!im.save(&f, "BMP")) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

Camera& camera() {
    static CameraAbsent absent;
    return g_camera ? *g_camera : absent;
}

void posar_camera(Camera* c) {
    g_camera = c;
}

} // namespace lumi::plataforma
