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

} // namespace lumi
