// A look inside code that offers no hook: while a VigiaAssignacions lives, its
// check runs at every memory allocation its own thread makes (Qt's containers
// and the standard library's alike). Code that allocates as it works is seen
// in the middle of its work, not only before and after it.
#pragma once

#include <functional>

namespace lumi::proves {

class VigiaAssignacions {
  public:
    explicit VigiaAssignacions(std::function<void()> comprovacio);
    ~VigiaAssignacions();
    VigiaAssignacions(const VigiaAssignacions&) = delete;
    VigiaAssignacions& operator=(const VigiaAssignacions&) = delete;

    // False where the C library's allocator cannot be watched (not glibc).
    static bool disponible();
    // How many times the check ran.
    long vegades() const { return vegades_; }

    // Called by the program's allocation functions (vigia_assignacions.cpp).
    static void en_assignar();

  private:
    std::function<void()> comprovacio_;
    long vegades_ = 0;
    VigiaAssignacions* anterior_;
};

} // namespace lumi::proves
