#include "player/linia_ordres.h"

#include "core/camins.h"

#include <QFileInfo>

namespace lumi {

QString cami_linia_ordres(const QString& linia, const QString& carpeta_programa) {
    QString p = linia.trimmed();
    // Quoted before the folder is put in front, or the quote would end up
    // inside the path.
    if (p.startsWith(u'"')) p.remove(0, 1);
    if (p.endsWith(u'"')) p.chop(1);
    p = p.trimmed();
    if (p.isEmpty()) return {};

    if (p.startsWith(u':')) {
        // The program's drive: on this system, the one root every folder hangs from.
        QString resta = separadors_natius(p.mid(1));
        while (resta.startsWith(u'/'))
            resta.remove(0, 1);
        return u'/' + resta;
    }
    if (es_absoluta(p)) return p.startsWith(u'/') ? separadors_natius(p) : p;

    QString resta = separadors_natius(p);
    if (resta.startsWith(u'/')) resta.remove(0, 1);
    QString carpeta = separadors_natius(carpeta_programa);
    while (carpeta.size() > 1 && carpeta.endsWith(u'/'))
        carpeta.chop(1);
    return (carpeta.endsWith(u'/') ? carpeta : carpeta + u'/') + resta;
}

QString cami_linia_ordres(const QString& linia, const QString& carpeta_actual,
                          const QString& carpeta_programa) {
    const QString programa = cami_linia_ordres(linia, carpeta_programa);
    if (carpeta_actual.isEmpty()) return programa;
    const QString aqui = cami_linia_ordres(linia, carpeta_actual);
    return !QFileInfo::exists(aqui) && QFileInfo::exists(programa) ? programa : aqui;
}

} // namespace lumi
