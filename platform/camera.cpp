#include "core/idioma.h"
#include "core/avisos.h"
#include "platform/camera.h"

#include "core/desar.h"
#include "platform/moduls.h"

#include <QBuffer>
#include <memory>

namespace lumi::plataforma {

namespace {

Camera* g_camera = nullptr;
int g_reserves = 0;

// Without the camera module there is no device.
class CameraAbsent final : public Camera {
  public:
    QString descripcio(int) override { return {}; }
    bool obrir(int) override { return false; }
    void tancar() override {}
    bool oberta() override { return false; }
    QImage fotograma() override { return {}; }
    QString nom() override { return {}; }
};

// V4L2's libraries load with the first use of the camera.
Camera& camera_maquina() {
    static const std::unique_ptr<Camera> c(modul_camera() ? modul_camera()->crear() : new CameraAbsent);
    return *c;
}

} // namespace

bool desar_bmp(const QImage& im, const QString& fitxer) {
    if (im.isNull()) return false;
    QByteArray dades;
    QBuffer b(&dades);
    b.open(QIODevice::WriteOnly);
    if (!im.save(&b, "BMP")) return false;
    const Desament r = desar_fitxer_propi(fitxer, dades);
    if (r == Desament::alie) avisar_un_cop(fitxer, tradueix(QStringLiteral("fitxers|alie")) + u'\n' + fitxer);
    return r == Desament::desat;
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
