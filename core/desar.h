// Saving a file whole or not at all: every file the program writes (activities,
// ini files, reports, shortcuts) goes through here.
#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

namespace lumi {

// Replaces the file at `cami` (the file a symbolic link names, for a link)
// with `dades`: after a crash or a power cut the file is either as it was or
// wholly new. The new file keeps the old one's permissions, plus `afegits`.
// Refuses an existing file that may not be written. A copy left by a save
// that was killed half way is removed by the next save of the same file.
bool desar_fitxer(const QString& cami, const QByteArray& dades, QFileDevice::Permissions afegits = {});

// The beginning of the name of the copies a save of `nom_fitxer` works on
// beside it (".nom.desant-").
QString prefix_copia_desant(const QString& nom_fitxer);

} // namespace lumi
