// The activity named on the command line.
#pragma once

#include <QString>

namespace lumi {

// The path of the activity file the command line names: relative to the
// program folder unless absolute (a leading "/" or a drive form such as
// "C:\..."), and a leading ":" (a path on the program's own drive) taken from
// the program folder's root. One leading and one trailing double quote go;
// "" for an empty command line.
QString cami_linia_ordres(const QString& linia, const QString& carpeta_programa);
// The same, a relative path naming first a file of `carpeta_actual` (the
// folder the program was started from), then one of the program folder;
// in neither, the path in `carpeta_actual`, the one the user meant. An
// empty `carpeta_actual` looks in the program folder alone.
QString cami_linia_ordres(const QString& linia, const QString& carpeta_actual,
                          const QString& carpeta_programa);

} // namespace lumi
