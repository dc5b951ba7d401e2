// Qt's own texts (the buttons and labels of the standard dialogs) in the
// interface language, from the translations that come with Qt.
#pragma once

#include <QStringList>

namespace lumi::plataforma {

// Installs the first of `codis` ("ca", "es"...) for which Qt has a catalog,
// in place of the one installed before; with none Qt speaks English again.
// The code installed, "" when none.
QString posar_traduccio_qt(const QStringList& codis);

} // namespace lumi::plataforma
