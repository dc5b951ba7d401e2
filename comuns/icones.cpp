#include "comuns/icones.h"

#include "core/idioma.h"
#include "core/llistes.h"

#include <QHash>
#include <QLabel>
#include <QPixmap>

namespace lumi {

namespace {

// The resource name of a kind word.
QString nom_imatge(const QString& tipus) {
    static const QHash<QString, QString> fixos{
        {QStringLiteral("GRAF"), QStringLiteral("graf")},
        {QStringLiteral("LRQ"), QStringLiteral("lrq")},
        {QStringLiteral("SO"), QStringLiteral("so")},
        {QStringLiteral("ANIM"), QStringLiteral("anim")},
        {QStringLiteral("FLASH"), QStringLiteral("flash")},
        {QStringLiteral("EXE"), QStringLiteral("exe")},
        {QStringLiteral("TEXT"), QStringLiteral("text")},
        {QStringLiteral("TECLAT"), QStringLiteral("teclat")},
        {QStringLiteral("RATOLI"), QStringLiteral("ratoli")},
        {QStringLiteral("WEB"), QStringLiteral("web")},
        {QStringLiteral("JOYSTICK"), QStringLiteral("joystick")},
        {QStringLiteral("VEU"), QStringLiteral("veu")},
    };
    if (const auto i = fixos.constFind(tipus); i != fixos.constEnd()) return *i;
    // Keywords and markers are words of the interface language.
    static const std::pair<int, const char*> paraules[] = {
        {69, "ctfons"}, {62, "font"},  {63, "cfont"}, {64, "gfons"}, {76, "gfons"}, {65, "esp"},
        {66, "tanc"},   {10, "color"}, {79, "lrq"},   {59, "seg"},   {60, "ant"},
    };
    for (const auto& [n, nom] : paraules) {
        const QString m = text_idioma(n);
        if (!m.isEmpty() && (tipus == m || tipus == m.toUpper())) return QString::fromLatin1(nom);
    }
    return {};
}

void posar_pla(QLabel* cella) {
    cella->setFrameStyle(QFrame::NoFrame);
}

} // namespace

QString icona_posar(QLabel* cella, const QString& tipus) {
    if (tipus.isEmpty()) {
        cella->clear();
        return {};
    }
    const QImage im = imatge_tipus(tipus);
    if (im.isNull())
        cella->clear();
    else
        cella->setPixmap(
            QPixmap::fromImage(im).scaled(cella->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    cella->show();
    return tipus;
}

// The kind words come from the core's one classifier (icona_recurs_tipus,
// icona_accio_tipus).
QImage imatge_tipus(const QString& tipus) {
    static QHash<QString, QImage> desades;
    const QString nom = nom_imatge(tipus);
    if (nom.isEmpty()) return {};
    auto i = desades.find(nom);
    if (i == desades.end()) i = desades.insert(nom, QImage(QStringLiteral(":/icones/%1.png").arg(nom)));
    return *i;
}

QString icona_recurs(const QString& ordre, QLabel* cella) {
    if (!cella) return {};
    posar_pla(cella);
    return icona_posar(cella, icona_recurs_tipus(ordre));
}

QString icona_accio(const QString& accio, QLabel* cella) {
    if (!cella) return {};
    return icona_posar(cella, icona_accio_tipus(accio));
}

void icona_marcar(const std::vector<QLabel*>& celles, int n) {
    if (n < 0 || n >= static_cast<int>(celles.size())) return;
    for (size_t i = 1; i < celles.size(); ++i)
        if (celles[i]) posar_pla(celles[i]);
    if (celles[static_cast<size_t>(n)])
        celles[static_cast<size_t>(n)]->setFrameStyle(QFrame::Panel | QFrame::Raised);
}

} // namespace lumi
