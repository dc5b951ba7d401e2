// What the reaction player needs besides the presentation's services
// (presentacio.h): whether a launched screen saver still runs.
#pragma once

#include <cstdint>
#include <functional>

namespace lumi {

struct ServeisReaccio {
    // The launched program of a handle still runs; tests put a fake in place.
    std::function<bool(int32_t)> finestra_viva;
};

ServeisReaccio& serveis_reaccio();
void restaurar_serveis_reaccio();

// Longest wait for the release of a key held through a right reaction: a
// release that never comes (a lost event, a stuck switch) must not stop the
// exercise for good.
inline constexpr double ESPERA_MAXIMA_TECLA = 10.0;

} // namespace lumi
