// The presentation program that plays slide shows (PPS, PPT), driven step by
// step as an automation object would be. The real one runs the show in
// LibreOffice Impress as a process of ours; tests put a recorder in place.
#pragma once

#include <QString>
#include <functional>
#include <memory>

namespace lumi::plataforma {

// Each call returns false when the step failed.
class AplicacioPresentacions {
  public:
    virtual ~AplicacioPresentacions() = default;
    virtual bool posar_visible(bool visible) = 0;        // Visible
    virtual bool obrir(const QString& fitxer) = 0;       // Presentations.Open
    virtual bool executar_presentacio(int n) = 0;        // Presentations(n).SlideShowSettings.Run
    virtual bool tancar_presentacio(int n) = 0;          // Presentations(n).Close
    virtual bool sortir_finestra_presentacio(int n) = 0; // SlideShowWindows(n).View.Exit
    virtual bool sortir() = 0;                           // Quit
};

// Creates the application object; nullptr when no presentation program is
// installed (then nothing is shown).
std::unique_ptr<AplicacioPresentacions> crear_aplicacio_presentacions();

// What creates the object; an empty function puts the real one back.
using FabricaPresentacions = std::function<std::unique_ptr<AplicacioPresentacions>()>;
void posar_fabrica_presentacions(FabricaPresentacions f);

// The real back end over LibreOffice Impress; nullptr without soffice.
std::unique_ptr<AplicacioPresentacions> crear_impress();

} // namespace lumi::plataforma
