#include "platform/traduccio_qt.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

namespace lumi::plataforma {

QString posar_traduccio_qt(const QStringList& codis) {
    static std::unique_ptr<QTranslator> actual;
    if (actual) {
        QCoreApplication::removeTranslator(actual.get());
        actual.reset();
    }
    const QString carpeta = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const QString& codi : codis) {
        // The exact file: QTranslator would otherwise settle for a shorter name.
        const QString fitxer = carpeta + QStringLiteral("/qtbase_") + codi + QStringLiteral(".qm");
        if (!QFileInfo(fitxer).isFile()) continue;
        auto t = std::make_unique<QTranslator>();
        if (!t->load(fitxer)) continue;
        QCoreApplication::installTranslator(t.get());
        actual = std::move(t);
        return codi;
    }
    return {};
}

} // namespace lumi::plataforma
