#include "platform/traduccio_qt.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QScreen>
#include <QTranslator>
#include <QTreeView>
#include <algorithm>
#include <memory>

namespace lumi::plataforma {

namespace {

// Qt's file model writes sizes and dates in the system's locale: these are
// written again in the interface's. The type names already follow it.
class ColumnesLocals final : public QIdentityProxyModel {
  public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int rol) const override {
        const auto* m = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (m && rol == Qt::DisplayRole) {
            const QModelIndex font = mapToSource(index);
            if (index.column() == 1 && !m->isDir(font)) return QLocale().formattedDataSize(m->size(font));
            if (index.column() == 3) return QLocale().toString(m->lastModified(font), QLocale::ShortFormat);
        }
        return QIdentityProxyModel::data(index, rol);
    }
};

// Every file dialog of Qt's own, as it first shows: the columns above, each
// as wide as what it holds, in a dialog that has room for them.
class DialegsFitxers final : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() != QEvent::Show) return false;
        auto* d = qobject_cast<QFileDialog*>(o);
        auto* vista = d ? d->findChild<QTreeView*>(QStringLiteral("treeView")) : nullptr;
        if (!vista || d->proxyModel()) return false;
        d->setProxyModel(new ColumnesLocals(d));
        QHeaderView* h = vista->header();
        h->setStretchLastSection(false);
        h->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int c = 1; c < h->count(); ++c)
            h->setSectionResizeMode(c, QHeaderView::ResizeToContents);
        // About 30 characters of name beside the other columns and the places.
        const QFontMetrics fm(d->font());
        const QRect pantalla = d->screen()->availableGeometry();
        d->resize(std::max(d->width(), std::min(fm.averageCharWidth() * 130, pantalla.width() * 9 / 10)),
                  std::max(d->height(), std::min(fm.height() * 28, pantalla.height() * 8 / 10)));
        return false;
    }
};

} // namespace

QString posar_traduccio_qt(const QStringList& codis) {
    static std::unique_ptr<QTranslator> actual;
    if (actual) {
        QCoreApplication::removeTranslator(actual.get());
        actual.reset();
    }
    // Dates, numbers and the names of file types as the interface speaks.
    QLocale::setDefault(codis.isEmpty() ? QLocale::system() : QLocale(codis.first()));
    static QPointer<DialegsFitxers> filtre; // goes with the application
    if (QCoreApplication* app = QCoreApplication::instance(); app && !filtre) {
        filtre = new DialegsFitxers(app);
        app->installEventFilter(filtre);
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
