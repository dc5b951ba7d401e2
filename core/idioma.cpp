#include "core/idioma.h"

#include "core/activitat.h"
#include "core/tipus_fitxer.h"

#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <vector>

namespace lumi {

namespace {

struct Taula {
    QStringList missatges;
    QHash<QString, QString> traduccions; // first entry of a key wins
};

Taula carregar(const QString& recurs) {
    Taula t;
    QFile f(recurs);
    if (!f.open(QIODevice::ReadOnly)) qFatal("language table %s missing", qPrintable(recurs));
    const QJsonObject o = QJsonDocument::fromJson(f.readAll()).object();
    for (const auto& m : o.value(QStringLiteral("missatges")).toArray())
        t.missatges.append(m.toString());
    for (const auto& e : o.value(QStringLiteral("traduccions")).toArray()) {
        const QJsonArray par = e.toArray();
        const QString clau = par.at(0).toString();
        if (!t.traduccions.contains(clau)) t.traduccions.insert(clau, par.at(1).toString());
    }
    return t;
}

// Each table is read at its first use: a run mostly needs one.
const Taula* taula(const QString& llengua) {
    if (llengua == IDIOMA_CATALA) {
        static const Taula catala = carregar(QStringLiteral(":/lang/catala.json"));
        return &catala;
    }
    if (llengua == IDIOMA_ESPANOL) {
        static const Taula espanol = carregar(QStringLiteral(":/lang/espanol.json"));
        return &espanol;
    }
    if (llengua == IDIOMA_GALEGO) {
        static const Taula galego = carregar(QStringLiteral(":/lang/galego.json"));
        return &galego;
    }
    return nullptr;
}

} // namespace

bool es_idioma_conegut(const QString& llengua) {
    return taula(llengua) != nullptr;
}

QStringList codis_idioma(const QString& llengua) {
    if (llengua == IDIOMA_CATALA) return {QStringLiteral("ca")};
    if (llengua == IDIOMA_ESPANOL) return {QStringLiteral("es")};
    if (llengua == IDIOMA_GALEGO) return {QStringLiteral("gl"), QStringLiteral("es")};
    return {};
}

QString text_idioma_en(const QString& llengua, int n) {
    const Taula* t = taula(llengua);
    if (!t || n < 0 || n >= t->missatges.size()) return {};
    return t->missatges.at(n);
}

QString text_idioma(int n) {
    return text_idioma_en(idioma(), n);
}

QString tradueix_en(const QString& llengua, const QString& clau) {
    const Taula* t = taula(llengua);
    if (!t) return clau;
    return t->traduccions.value(clau);
}

QString tradueix(const QString& clau) {
    return tradueix_en(idioma(), clau);
}

QString clau_traduccio(const QString& formulari, const QString& control, int index, QChar lletra) {
    QString clau = formulari + u'|' + control + QStringLiteral(" |");
    if (index >= 0) clau += u' ' + QString::number(index);
    clau += u'|';
    if (!lletra.isNull()) clau += lletra;
    clau += u'|';
    return clau;
}

const QList<int>& missatges_paraula_clau() {
    // 63 before 62: the keyword of 62 ends the keyword of 63.
    static const QList<int> ordre{5, 6, 7, 8, 10, 63, 62, 64, 65, 66, 69, 76, 79};
    return ordre;
}

namespace {
// In the guarded text an order begins after the opening guard, "»" or "|".
bool comenca_ordre(const QString& s, qsizetype pos) {
    if (pos <= 1) return pos == 1;
    const QChar c = s.at(pos - 1);
    return c == QChar(0xBB) || c == u'|';
}

// An order that names a media file is a file, whatever its name starts with
// ("COR_1.JPG" is a picture, not a colour command).
bool es_fitxer(const QString& s, qsizetype pos) {
    qsizetype fi = pos;
    while (fi < s.size() - 1 && s.at(fi) != QChar(0xBB) && s.at(fi) != u'|')
        ++fi;
    QString ordre = s.mid(pos, fi - pos);
    const qsizetype punt = ordre.lastIndexOf(u'.');
    if (punt < 0) return false;
    QString ext = ordre.mid(punt + 1);
    const qsizetype dos_punts = ext.indexOf(u':');
    if (dos_punts >= 0) ext = ext.left(dos_punts);
    return tipus_extensio(ext.trimmed()) != TipusFitxer::cap;
}
struct ParellClau {
    QString local;  // the language's keyword in capitals, with its "_"
    QString catala; // the Catalan one
};

// The keywords that differ between a language and Catalan, in the order they
// are replaced; worked out once per language, as every list of a file asks.
const std::vector<ParellClau>& parells_clau(const QString& llengua) {
    static std::vector<std::pair<QString, std::vector<ParellClau>>> fets;
    for (const auto& [l, p] : fets)
        if (l == llengua) return p;
    std::vector<ParellClau> p;
    for (int n : missatges_paraula_clau()) {
        ParellClau c{text_idioma_en(llengua, n).toUpper() + u'_',
                     text_idioma_en(IDIOMA_CATALA, n).toUpper() + u'_'};
        if (c.local != c.catala) p.push_back(std::move(c));
    }
    fets.emplace_back(llengua, std::move(p));
    return fets.back().second;
}

// The characters just before each "_": a keyword can only be found where
// its last letter is one of them.
QString abans_de_guio(const QString& s) {
    QString r;
    for (qsizetype i = s.indexOf(u'_'); i > 0; i = s.indexOf(u'_', i + 1))
        if (!r.contains(s.at(i - 1))) r += s.at(i - 1);
    return r;
}

} // namespace

QString tradueix_paraules_clau_en(const QString& llengua, const QString& text, int direccio) {
    if (llengua == IDIOMA_CATALA || !es_idioma_conegut(llengua)) return text;
    // Every keyword ends with "_": a text without one holds none.
    if (!text.contains(u'_')) return text;
    // Guard characters mark the start and the end of the text.
    QString s = u'#' + text + u'#';
    QString abans = abans_de_guio(s);
    for (const ParellClau& c : parells_clau(llengua)) {
        const QString& de = direccio == 0 ? c.local : c.catala;
        const QString& a = direccio == 0 ? c.catala : c.local;
        if (de.size() >= 2 && !abans.contains(de.at(de.size() - 2))) continue;
        bool canviat = false;
        qsizetype pos = s.indexOf(de);
        while (pos >= 0) {
            // Only a keyword that begins an order is one: "COR_1.JPG" is a file name.
            if (comenca_ordre(s, pos) && !es_fitxer(s, pos)) {
                s.replace(pos, de.size(), a);
                canviat = true;
            }
            pos = s.indexOf(de, pos + 1);
        }
        if (canviat) abans = abans_de_guio(s);
    }
    return s.mid(1, s.size() - 2);
}

QString tradueix_paraules_clau(const QString& text, int direccio) {
    return tradueix_paraules_clau_en(idioma(), text, direccio);
}

} // namespace lumi
