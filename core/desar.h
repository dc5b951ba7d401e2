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

// What a save of a file of the program's own came to.
enum class Desament { desat, alie, error };

// The same for a file of the program's own (ini files, the undo snapshot, the
// camera still, any file whose name the program chooses): a link is followed
// only when the user owns it, and a file of another user is never written
// through (`alie`: the caller tells the user).
Desament desar_fitxer_propi(const QString& cami, const QByteArray& dades,
                            QFileDevice::Permissions afegits = {});
// True when `cami`, or a link on the way to its file, belongs to another user.
bool fitxer_alie(const QString& cami);

// The beginning of the name of the copies a save of `nom_fitxer` works on
// beside it (".nom.desant-"; a short name of its own when that would pass
// `llargada_maxima` bytes, the longest name the folder takes).
QString prefix_copia_desant(const QString& nom_fitxer, long llargada_maxima = 255);

} // namespace lumi
