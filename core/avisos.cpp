#include "core/avisos.h"

#include <QSet>

namespace lumi {

std::function<void(const QString&)>& avis_usuari() {
    static std::function<void(const QString&)> f;
    return f;
}

void avisar_un_cop(const QString& clau, const QString& text) {
    static QSet<QString> avisats;
    if (!avis_usuari() || avisats.contains(clau)) return;
    avisats.insert(clau);
    avis_usuari()(text);
}

} // namespace lumi
