#include "finestres.h"

#include <QPointer>
#include <map>

namespace lumi::plataforma {

namespace {
struct Registre {
    std::map<int32_t, QPointer<QWidget>> per_handle;
    // Handles start well above small numbers so that 0, -1 and error codes
    // are never mistaken for a window.
    int32_t seguent = 0x10000;
};
Registre& registre() {
    static Registre r;
    return r;
}
} // namespace

int32_t registrar_finestra(QWidget* w) {
    if (!w) return 0;
    Registre& r = registre();
    for (auto it = r.per_handle.begin(); it != r.per_handle.end();) {
        if (it->second.isNull()) {
            it = r.per_handle.erase(it);
            continue;
        }
        if (it->second.data() == w) return it->first;
        ++it;
    }
    const int32_t h = r.seguent;
    r.seguent += 4;
    r.per_handle.emplace(h, QPointer<QWidget>(w));
    return h;
}

QWidget* finestra_per_handle(int32_t handle) {
    Registre& r = registre();
    auto it = r.per_handle.find(handle);
    if (it == r.per_handle.end()) return nullptr;
    return it->second.data();
}

} // namespace lumi::plataforma
