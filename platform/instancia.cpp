#include "platform/instancia.h"

#include "platform/carpetes.h"

#include <limits>

namespace lumi::plataforma {

namespace {
std::unique_ptr<QLockFile> bloqueig;
}

void alliberar_instancia_unica() {
    bloqueig.reset();
}

bool reservar_instancia_unica() {
    if (bloqueig) return true;
    auto b = std::make_unique<QLockFile>(carpeta_execucio() + QStringLiteral("/lumiraga.lock"));
    // A lock left by a crashed copy is taken over (its process is gone); a live
    // copy keeps it however long it runs.
    b->setStaleLockTime(std::numeric_limits<int>::max());
    if (!b->tryLock(0)) return false;
    bloqueig = std::move(b);
    return true;
}

} // namespace lumi::plataforma
