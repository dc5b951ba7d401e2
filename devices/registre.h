// Registry values as text, and the launch of the sibling tracking program.
// Linux has no registry: the store is empty unless a test fills it.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <map>
#include <tuple>

namespace lumi {

constexpr uint32_t REG_SZ = 1;
constexpr uint32_t REG_BINARY = 3;
constexpr uint32_t REG_DWORD = 4;

struct ValorRegistre {
    uint32_t tipus = REG_SZ;
    QByteArray dades; // as the registry keeps them (a REG_SZ with its final 0)
};

// The values by root key (upper case), key and value name ("" the key's
// default value).
struct ClauRegistre {
    QString arrel, clau, nom;
    bool operator<(const ClauRegistre& o) const {
        return std::tie(arrel, clau, nom) < std::tie(o.arrel, o.clau, o.nom);
    }
};
std::map<ClauRegistre, ValorRegistre>& magatzem_registre();

// The value as text: REG_SZ its characters with the final 0, REG_BINARY
// "hex:0A,FF", REG_DWORD "dword:0000012C"; "" when it cannot be read.
QString registre_llegir_valor(const QString& arrel, const QString& clau, const QString& nom);

// The sibling tracking program's path from its installer's uninstall key;
// "" when it is not installed.
QString cami_ombravisor();

} // namespace lumi
