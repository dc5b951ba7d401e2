// Links the core library alone: its language tables must come with it.
#include "core/activitat.h"
#include "core/idioma.h"

#include <cstdio>

int main() {
    lumi::idioma() = lumi::IDIOMA_ESPANOL;
    const QString t = lumi::text_idioma(20);
    std::printf("%s\n", qPrintable(t));
    return t.isEmpty() ? 1 : 0;
}
