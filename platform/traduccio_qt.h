// Qt's own texts (the buttons and labels of the standard dialogs), from the
// translations that come with Qt, and its dates and numbers in the interface
// language.
#pragma once

#include <QStringList>

namespace lumi::plataforma {

// Installs the first of `codis` ("ca", "es"...) for which Qt has a catalog,
// in place of the one installed before; with none Qt speaks English again.
// The first code's locale becomes the default (the system's without codes),
// file dialogs included. The code installed, "" when none.
QString posar_traduccio_qt(const QStringList& codis);

} // namespace lumi::plataforma
