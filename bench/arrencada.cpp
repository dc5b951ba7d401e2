// Start-up probe: the program itself, as it starts from the command line,
// reporting its first paint and its memory at rest (primer_dibuix.h).
#include "app/connexions.h"
#include "primer_dibuix.h"

#include <QApplication>

int main(int argc, char** argv) {
    lumi::bench::PrimerDibuix filtre;
    return lumi::executar(argc, argv, [&](QApplication& app) { app.installEventFilter(&filtre); });
}
