#include "vigia_assignacions.h"

#include <cstddef>
#include <utility>

namespace lumi::proves {

namespace {
thread_local VigiaAssignacions* actiu = nullptr;
} // namespace

VigiaAssignacions::VigiaAssignacions(std::function<void()> comprovacio)
    : comprovacio_(std::move(comprovacio)), anterior_(actiu) {
    actiu = this;
}

VigiaAssignacions::~VigiaAssignacions() {
    actiu = anterior_;
}

void VigiaAssignacions::en_assignar() {
    VigiaAssignacions* v = actiu;
    if (!v) return;
    // What the check itself allocates is not watched.
    actiu = nullptr;
    ++v->vegades_;
    v->comprovacio_();
    actiu = v;
}

#if defined(__GLIBC__)
bool VigiaAssignacions::disponible() {
    return true;
}
#else
bool VigiaAssignacions::disponible() {
    return false;
}
#endif

} // namespace lumi::proves

#if defined(__GLIBC__)
// The test program's malloc, calloc and realloc put the watch in front of
// glibc's own, which every other allocation function of glibc, the standard
// library's operator new and free share: memory still comes from, and goes
// back to, the one allocator.
extern "C" {
void* __libc_malloc(size_t mida);
void* __libc_calloc(size_t n, size_t mida);
void* __libc_realloc(void* p, size_t mida);

void* malloc(size_t mida) {
    lumi::proves::VigiaAssignacions::en_assignar();
    return __libc_malloc(mida);
}

void* calloc(size_t n, size_t mida) {
    lumi::proves::VigiaAssignacions::en_assignar();
    return __libc_calloc(n, mida);
}

void* realloc(void* p, size_t mida) {
    lumi::proves::VigiaAssignacions::en_assignar();
    return __libc_realloc(p, mida);
}
}
#endif
