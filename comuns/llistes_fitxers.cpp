#include "comuns/llistes_fitxers.h"

#include <QCollator>
#include <QDir>
#include <QApplication>
#include <QFileInfo>
#include <QIconEngine>
#include <QStorageInfo>
#include <QStyle>
#include <algorithm>

namespace lumi {

namespace {

// Names as a person reads them: letter case does not order them.
void ordenar(QStringList& noms) {
    QCollator c;
    c.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(noms.begin(), noms.end(), c);
}

// The style's folder icon, looked up in the icon theme the first time one
// is drawn (once per kind for the whole run): a list that is never shown,
// like the start dialog's hidden ones, costs no lookup.
class IconaCarpeta final : public QIconEngine {
  public:
    explicit IconaCarpeta(bool oberta) : oberta_(oberta) {}
    QIconEngine* clone() const override { return new IconaCarpeta(oberta_); }
    void paint(QPainter* p, const QRect& r, QIcon::Mode m, QIcon::State s) override {
        icona().paint(p, r, Qt::AlignCenter, m, s);
    }
    QPixmap pixmap(const QSize& mida, QIcon::Mode m, QIcon::State s) override {
        return icona().pixmap(mida, m, s);
    }
    QSize actualSize(const QSize& mida, QIcon::Mode m, QIcon::State s) override {
        return icona().actualSize(mida, m, s);
    }
    QList<QSize> availableSizes(QIcon::Mode m, QIcon::State s) override {
        return icona().availableSizes(m, s);
    }

  private:
    const QIcon& icona() const {
        // Kept past the application: no pixmap may go after it.
        static const QIcon& oberta = *new QIcon(QApplication::style()->standardIcon(QStyle::SP_DirOpenIcon));
        static const QIcon& tancada = *new QIcon(QApplication::style()->standardIcon(QStyle::SP_DirIcon));
        return oberta_ ? oberta : tancada;
    }
    bool oberta_;
};

bool es_suport(const QString& arrel) {
    return arrel.startsWith(QLatin1String("/media/")) || arrel.startsWith(QLatin1String("/mnt/")) ||
           arrel.startsWith(QLatin1String("/run/media/"));
}

} // namespace

QStringList unitats() {
    QStringList r{QStringLiteral("/"), QDir::homePath()};
    r.removeDuplicates();
    // Only removable and mounted media: the system's own mounts (/proc,
    // /sys, /run, /boot...) are no place for a user's files.
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
        const QString arrel = v.rootPath();
        if (v.isValid() && v.isReady() && es_suport(arrel) && !r.contains(arrel)) r << arrel;
    }
    return r;
}

// ---- drive list ----

LlistaUnitats::LlistaUnitats(QWidget* pare) : QComboBox(pare) {
    addItems(unitats());
}

void LlistaUnitats::seguir(const QString& carpeta) {
    const QString c = QDir::cleanPath(carpeta);
    int millor = -1;
    qsizetype llarg = -1;
    for (int i = 0; i < count(); ++i) {
        const QString arrel = itemText(i);
        const bool dins = c == arrel || arrel == u"/" || c.startsWith(arrel + u'/');
        if (dins && arrel.size() > llarg) {
            millor = i;
            llarg = arrel.size();
        }
    }
    if (millor < 0) return;
    const QSignalBlocker bloc(this);
    setCurrentIndex(millor);
}

// ---- folder list ----

LlistaCarpetes::LlistaCarpetes(QWidget* pare) : QListWidget(pare) {
    connect(this, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* e) { setPath(e->data(Qt::UserRole).toString()); });
}

bool LlistaCarpetes::setPath(const QString& carpeta) {
    const QFileInfo fi(carpeta);
    if (!fi.isDir() || !fi.isReadable()) return false;
    path_ = QDir::cleanPath(fi.absoluteFilePath());
    clear();
    // The way down from the root, each step one further in, then the folders
    // inside.
    QStringList cami;
    for (QDir d(path_);;) {
        cami.prepend(d.absolutePath());
        if (!d.cdUp()) break;
    }
    const QIcon obert(new IconaCarpeta(true));
    int nivell = 0;
    for (const QString& p : cami) {
        const QString nom = p == u"/" ? p : QFileInfo(p).fileName();
        auto* e = new QListWidgetItem(obert, QString(nivell * 2, u' ') + nom, this);
        e->setData(Qt::UserRole, p);
        ++nivell;
    }
    setCurrentRow(count() - 1);
    const QDir d(path_);
    QStringList subs = d.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ordenar(subs);
    const QIcon tancat(new IconaCarpeta(false));
    for (const QString& s : subs) {
        auto* e = new QListWidgetItem(tancat, QString(nivell * 2, u' ') + s, this);
        e->setData(Qt::UserRole, d.filePath(s));
    }
    emit canviat();
    return true;
}

// ---- file list ----

LlistaFitxers::LlistaFitxers(QWidget* pare) : QListWidget(pare) {}

void LlistaFitxers::setPath(const QString& carpeta) {
    path_ = QDir::cleanPath(carpeta);
    refrescar();
}

void LlistaFitxers::setPattern(const QString& patro) {
    pattern_ = patro;
    refrescar();
}

void LlistaFitxers::setListIndex(int i) {
    setCurrentRow(i < 0 || i >= count() ? -1 : i);
    if (currentRow() < 0) clearSelection();
}

QString LlistaFitxers::fileName() const {
    const QListWidgetItem* e = currentRow() >= 0 ? item(currentRow()) : nullptr;
    return e ? e->text() : QString();
}

void LlistaFitxers::refrescar() {
    const QSignalBlocker bloc(this);
    clear();
    if (path_.isEmpty()) return;
    QStringList patrons;
    for (const QString& p : pattern_.split(u';', Qt::SkipEmptyParts))
        patrons << p.trimmed();
    if (patrons.isEmpty()) patrons << QStringLiteral("*");
    QDir d(path_);
    // Without QDir::CaseSensitive the patterns match any letter case, as
    // names written on other systems need.
    d.setNameFilters(patrons);
    d.setFilter(QDir::Files);
    QStringList fitxers = d.entryList();
    ordenar(fitxers);
    addItems(fitxers);
    setCurrentRow(-1);
}

} // namespace lumi
