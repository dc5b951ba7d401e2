#include "platform/processos_sintetic.h"

#include <QFileInfo>

namespace lumi::plataforma {

int32_t ProcessosSintetic::llancar(const QString& programa, const QStringList& arguments,
                                   const QString& carpeta) {
    if (falla) return 0;
    const int32_t h = seguent_++;
    llancaments.push_back({h, programa, arguments, carpeta});
    vius_.insert(h);
    return h;
}

int32_t ProcessosSintetic::obrir(const QString& fitxer, const QString& carpeta) {
    if (!QFileInfo::exists(fitxer)) return 0;
    return llancar(fitxer, {}, carpeta);
}

void ProcessosSintetic::acabar(int32_t handle, int) {
    if (vius_.erase(handle) > 0) acabats.push_back(handle);
}

} // namespace lumi::plataforma
