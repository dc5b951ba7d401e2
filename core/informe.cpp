#include "core/informe.h"

#include "core/idioma.h"
#include "core/vb.h"

#include <QTime>
#include <cmath>

namespace lumi {

QString hora_text(double segons_dia) {
    // Whole seconds of the day; a value outside the day wraps into it.
    int64_t s = part_entera(segons_dia);
    s %= 86400;
    if (s < 0) s += 86400;
    return QTime::fromMSecsSinceStartOfDay(static_cast<int>(s * 1000)).toString(QStringLiteral("HH:mm:ss"));
}

QString capcalera_informe(const QDate& data, double segons_dia) {
    return data.toString(QStringLiteral("dd/MM/yyyy")) + QStringLiteral("   ") + hora_text(segons_dia);
}

QString text_resum_informe(const dades_informe& d, const QString& detall) {
    const QString salt = SALT_INFORME;
    const QChar tab = u'\t';
    QString s = ESTRELLES_30 + salt + QStringLiteral("**     ") + text_idioma(21) +
                QStringLiteral("       **") + salt + ESTRELLES_30 + salt;
    // The separators differ from line to line; each is part of the format.
    s += text_idioma(28) + QStringLiteral(" = ") + tab + d.nom_exercici + salt;
    s += text_idioma(23) + QStringLiteral(" =") + tab + numero_text(d.temps_exercici) + salt;
    s += text_idioma(24) + QStringLiteral(" =") + tab + numero_text(d.nombre_preguntes) + salt;
    s += text_idioma(25) + QStringLiteral(" =") + tab + numero_text(d.nombre_respostes) + salt;
    s += text_idioma(26) + QStringLiteral(" =") + tab + tab + numero_text(d.respostes_be) + salt;
    s += text_idioma(27) + QStringLiteral(" =") + tab + numero_text(d.respostes_mal) + salt;
    s += text_idioma(29) + QStringLiteral(" =") + numero_text(d.preguntes_no_respostes) + salt;
    s += salt;
    return detall + salt + s;
}

QString caixa_detall_informe() {
    return ESTRELLES_32 + SALT_INFORME + QStringLiteral("**      ") + text_idioma(22) +
           QStringLiteral("      **") + SALT_INFORME + ESTRELLES_32;
}

QString text_informe(const dades_informe& d, const QString& detall) {
    const QString salt = SALT_INFORME;
    // The summary's first break ends the last star line of the detail box.
    return text_idioma(20) + salt + d.capcalera + salt + salt + salt + caixa_detall_informe() +
           text_resum_informe(d, detall);
}

} // namespace lumi
