#include "core/idioma.h"
#include "core/avisos.h"
#include "platform/dreceres.h"

#include "core/desar.h"

#include <QStandardPaths>

namespace lumi::plataforma {

namespace {

bool es_reservat(QChar c) {
    static const QString reservats = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    return reservats.contains(c);
}

} // namespace

QString carpeta_especial(const QString& nom) {
    if (nom.compare(QLatin1String("Desktop"), Qt::CaseInsensitive) == 0)
        return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (nom.compare(QLatin1String("Programs"), Qt::CaseInsensitive) == 0)
        return QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
    return {};
}

QString argument_exec(const QString& argument) {
    bool cal_cometes = argument.isEmpty();
    for (QChar c : argument)
        if (es_reservat(c)) cal_cometes = true;
    QString r;
    r.reserve(argument.size() + 8);
    if (cal_cometes) r += u'"';
    for (QChar c : argument) {
        if (c == u'%') {
            r += QStringLiteral("%%");
            continue;
        }
        if (cal_cometes && (c == u'"' || c == u'`' || c == u'$' || c == u'\\')) r += u'\\';
        r += c;
    }
    if (cal_cometes) r += u'"';
    return r;
}

QString escapar_valor(const QString& valor) {
    QString r;
    r.reserve(valor.size());
    for (QChar c : valor) {
        if (c == u'\\')
            r += QStringLiteral("\\\\");
        else if (c == u'\n')
            r += QStringLiteral("\\n");
        else if (c == u'\t')
            r += QStringLiteral("\\t");
        else if (c == u'\r')
            r += QStringLiteral("\\r");
        else
            r += c;
    }
    return r;
}

QString text_drecera(const Drecera& d) {
    QStringList exec;
    for (const QString& a : d.ordre)
        exec << argument_exec(a);
    QString t = QStringLiteral("[Desktop Entry]\nType=Application\nVersion=1.0\n");
    t += QStringLiteral("Name=") + escapar_valor(d.nom) + u'\n';
    t += QStringLiteral("Exec=") + escapar_valor(exec.join(u' ')) + u'\n';
    if (!d.carpeta_treball.isEmpty()) t += QStringLiteral("Path=") + escapar_valor(d.carpeta_treball) + u'\n';
    if (!d.icona.isEmpty()) t += QStringLiteral("Icon=") + escapar_valor(d.icona) + u'\n';
    t += QStringLiteral("Terminal=false\n");
    return t;
}

bool escriure_drecera(const QString& fitxer, const Drecera& d) {
    // Desktops start only launchers their owner may execute.
    const Desament r =
        desar_fitxer_propi(fitxer, text_drecera(d).toUtf8(), QFileDevice::ExeOwner | QFileDevice::ExeUser);
    if (r == Desament::alie) avisar_un_cop(fitxer, tradueix(QStringLiteral("fitxers|alie")) + u'\n' + fitxer);
    return r == Desament::desat;
}

} // namespace lumi::plataforma
