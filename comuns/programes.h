// Launching programs and documents, closing what was launched, and shortcuts.
#pragma once

#include <QString>
#include <cstdint>

namespace lumi {

// What a launch gives its caller: the handle of the launched program (0 when
// nothing runs that could be closed later) or, when the name does not pass
// the existence check, error 5 and nothing launched.
struct Llancament {
    int32_t finestra = 0;
    int16_t error = 0;
};

inline constexpr int16_t ERROR_ARGUMENT = 5;   // invalid procedure call or argument
inline constexpr int16_t ERROR_NO_TROBAT = 52; // bad file name or number
inline constexpr int16_t ERROR_ACCES = 75;     // path/file access error
inline constexpr int16_t ERROR_CAMI = 76;      // path not found
inline constexpr int16_t DRECERA_DESADA = -1;

// Opens a program or a document and waits about a second for it to come up.
// A name without a ".EXE" or ".COM" and not absolute is taken from the
// program's folder; the file must exist and be named with a folder, spelt as
// the folder lists it, or error 5 comes back; error 5 also for a file that
// may not be opened (plataforma::obertura_de): native programs, scripts and
// desktop entries, whatever their execute bits. `mostrar` (1 normal, 3
// maximised) is a wish the desktop decides on.
Llancament executar_programa(const QString& fitxer, int16_t mostrar);

// Ends what a launch started (asked first, then forced). 0 and handles of
// programs that have ended do nothing.
void tancar_finestra(int32_t finestra);

// Creates a desktop entry "carpeta/nom.desktop" that opens `objectiu`.
// `carpeta` is "Desktop", "Programs" or a folder path; `nom` may hold
// subfolders ("\lumiraga\act"), which must exist. -1 when saved, 52 when the
// target or a folder path does not exist, 76 when a subfolder is missing, 75
// when the file cannot be written.
int crear_drecera(const QString& objectiu, const QString& nom, const QString& carpeta,
                  const QString& arguments);

} // namespace lumi
