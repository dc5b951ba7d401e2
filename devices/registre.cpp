#include "devices/registre.h"

#include <QStringList>

namespace lumi {

namespace {
// The sibling program's installer application id.
const QString CLAU_OMBRAVISOR = QStringLiteral(
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{5E1A7C42-0B9D-4F3E-A6C1-0B7A5D0C3E21}_is1");
} // namespace

std::map<ClauRegistre, ValorRegistre>& magatzem_registre() {
    static std::map<ClauRegistre, ValorRegistre> m;
    return m;
}

QString registre_llegir_valor(const QString& arrel, const QString& clau, const QString& nom) {
    const QString a = arrel.toUpper();
    static const QStringList arrels{QStringLiteral("HKEY_CURRENT_CONFIG"),
                                    QStringLiteral("HKEY_CURRENT_USER"), QStringLiteral("HKEY_LOCAL_MACHINE"),
                                    QStringLiteral("HKEY_USERS")};
    if (!arrels.contains(a)) return {};
    const auto it = magatzem_registre().find({a, clau, nom});
    if (it == magatzem_registre().end()) return {};
    const ValorRegistre& v = it->second;
    // The registry's own buffer holds 2000 characters.
    if (v.dades.size() > 2000) return {};
    if (nom.isEmpty()) return QString::fromLatin1(v.dades);
    switch (v.tipus) {
    case REG_SZ:
        return QString::fromLatin1(v.dades);
    case REG_BINARY: {
        QStringList bytes;
        for (char c : v.dades)
            bytes << QStringLiteral("%1").arg(static_cast<uint8_t>(c), 2, 16, QLatin1Char('0')).toUpper();
        return QStringLiteral("hex:") + bytes.join(u',');
    }
    case REG_DWORD: {
        if (v.dades.size() < 4) return {};
        uint32_t n = 0;
        for (int i = 3; i >= 0; --i)
            n = (n << 8) | static_cast<uint8_t>(v.dades[i]);
        return QStringLiteral("dword:") + QStringLiteral("%1").arg(n, 8, 16, QLatin1Char('0')).toUpper();
    }
    default:
        return {};
    }
}

QString cami_ombravisor() {
    QString f = registre_llegir_valor(QStringLiteral("HKEY_LOCAL_MACHINE"), CLAU_OMBRAVISOR,
                                      QStringLiteral("Inno Setup: App Path"));
    // Not installed: nothing to launch.
    if (f.isEmpty()) return {};
    f.chop(1); // the final 0 of a REG_SZ value
    return f + QStringLiteral("\\bin\\Ombravisor.exe");
}

} // namespace lumi
