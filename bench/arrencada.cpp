// Start-up probe: the program itself, as it starts from the command line,
// reporting its first paint and its memory at rest (primer_dibuix.h).
#include "app/connexions.h"
#include "platform/instancia.h"
#include "primer_dibuix.h"

#include <QApplication>

int main(int argc, char** argv) {
    lumi::bench::PrimerDibuix filtre;
    // The next start finds no lock left, as after a normal end.
    filtre.en_sortir = [] { lumi::plataforma::alliberar_instancia_unica(); };
    return lumi::executar(argc, argv, [&](QApplication& app) { app.installEventFilter(&filtre); });
}
