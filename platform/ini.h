// Private-profile ini files as Windows programs wrote them: section and key
// names compare without regard to case, values are trimmed, a missing file,
// section or key gives the caller's default, and a write changes one line.
#pragma once

#include <QList>
#include <QString>
#include <utility>

namespace lumi::plataforma {

QString ini_llegir(const QString& fitxer, const QString& seccio, const QString& clau,
                   const QString& defecte = {});
// Writes whole or not at all; false when the file could not be written.
bool ini_escriure(const QString& fitxer, const QString& seccio, const QString& clau, const QString& valor);
// Keys that belong together, in one write: the file holds all of them or the
// old values, never a mixture.
using ClauValor = std::pair<QString, QString>;
bool ini_escriure(const QString& fitxer, const QString& seccio, const QList<ClauValor>& valors);

} // namespace lumi::plataforma
