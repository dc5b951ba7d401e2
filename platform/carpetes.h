// Where the program keeps its own files.
#pragma once

#include <QString>

namespace lumi::plataforma {

// The program folder: LUMIRAGA_HOME when set, else the executable's folder
// when writable (portable install, build tree), else the per-user data folder.
QString carpeta_programa();
// "lumiraga.ini" in the program folder, found whatever its letter case.
QString fitxer_ini_programa();
// The per-user stand-in of the system ini that holds the screen-saver entry.
QString fitxer_system_ini();
// The planner's undo snapshot, one per user.
QString fitxer_desfer();
// The folder for the single-instance lock.
QString carpeta_execucio();

// The help page for a language code ("ca", "es", "gl"): in the folder "ajuda"
// beside the executable (where the build and an install put it), else in the
// source tree's (test and bench programs run from the build folder). "" when
// there is none.
QString fitxer_ajuda(const QString& codi);

// A file of the program folder by name, matched without regard to letter case
// when the exact name is missing; the exact-case path when none exists.
QString fitxer_a_carpeta(const QString& carpeta, const QString& nom);

} // namespace lumi::plataforma
