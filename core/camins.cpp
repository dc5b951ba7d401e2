#include "camins.h"

#include "activitat.h"
#include "idioma.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace lumi {

namespace {

constexpr QChar SEP_ORDRES(0xBB); // »

bool es_fi_de_peca(QChar c) {
    return c == SEP_ORDRES || c == u'|';
}

// Where a reference can begin: the start of the text, after an order or
// entry separator, after a command's "_" or after a blank.
bool es_inici_de_referencia(const QString& s, qsizetype pos) {
    if (pos == 0) return true;
    const QChar c = s.at(pos - 1);
    return es_fi_de_peca(c) || c == u'_' || c.isSpace();
}

QString carpeta_neta(const QString& carpeta) {
    QString c = separadors_natius(carpeta);
    while (c.size() > 1 && c.endsWith(u'/'))
        c.chop(1);
    return c;
}

// Keywords that mark an order as a command, not a file name: the interface
// language's and Catalan's (files store them in Catalan).
const QStringList& paraules_clau_ordres() {
    static QString llengua;
    static QStringList claus;
    if (claus.isEmpty() || llengua != idioma()) {
        llengua = idioma();
        claus.clear();
        static const int missatges[] = {5, 6, 7, 8, 10, 62, 63, 64, 65, 66, 69, 76, 79};
        for (int n : missatges) {
            for (const QString& l : {llengua, IDIOMA_CATALA}) {
                const QString k = text_idioma_en(l, n).toUpper();
                if (!k.isEmpty() && !claus.contains(k)) claus.append(k);
            }
        }
    }
    return claus;
}

bool conte_paraula_clau(const QString& peca) {
    for (const QString& k : paraules_clau_ordres())
        if (peca.contains(k)) return true;
    return false;
}

// A background-picture command ("GFONS_fons.bmp___", "ZFONS_z.gif007") with
// its file made absolute; false when the piece is no such command or its
// file is already absolute.
bool fons_absolut(QString& peca, const QString& carpeta, int missatge) {
    const QString cat = text_idioma_en(IDIOMA_CATALA, missatge).toUpper();
    const QString local = text_idioma(missatge);
    const bool hi_es =
        (!local.isEmpty() && peca.contains(local.toUpper())) || (!cat.isEmpty() && peca.contains(cat));
    if (!hi_es) return false;
    const qsizetype guio = peca.indexOf(u'_');
    if (guio < 0) return false;
    const QString f = peca.mid(guio + 1);
    qsizetype blancs = 0;
    while (blancs < f.size() && f.at(blancs).isSpace())
        ++blancs;
    if (blancs >= f.size() || es_fi_de_peca(f.at(blancs)) || es_absoluta(f.mid(blancs))) return false;
    peca = (local.isEmpty() ? peca.left(guio) : local) + u'_' + carpeta + u'/' +
           separadors_natius(f.mid(blancs));
    return true;
}

// Only orders the player takes for files name one: anything else is a text
// order, which a folder in front would change.
bool es_fitxer_de_mitjans(const QString& cos) {
    static const QStringList tipus{QStringLiteral("BMP"), QStringLiteral("WMF"), QStringLiteral("GIF"),
                                   QStringLiteral("JPG"), QStringLiteral("PNG"), QStringLiteral("LRQ"),
                                   QStringLiteral("WAV"), QStringLiteral("MID"), QStringLiteral("MP3"),
                                   QStringLiteral("SCR"), QStringLiteral("AVI"), QStringLiteral("SWF"),
                                   QStringLiteral("EXE"), QStringLiteral("COM"), QStringLiteral("BAT"),
                                   QStringLiteral("CMD"), QStringLiteral("PPS"), QStringLiteral("PPT")};
    return tipus.contains(cos.trimmed().right(3).toUpper());
}

QString peca_absoluta(const QString& peca, const QString& carpeta, bool de_llista) {
    if (peca.contains(u':')) return peca;
    // The piece without its closing separator and its leading blanks.
    qsizetype fi = peca.size();
    if (fi > 0 && es_fi_de_peca(peca.at(fi - 1))) --fi;
    qsizetype ini = 0;
    while (ini < fi && peca.at(ini).isSpace())
        ++ini;
    const QString cos = peca.mid(ini, fi - ini);
    // An empty entry stays empty: a folder alone names no file.
    if (cos.trimmed().isEmpty()) return peca;
    if (!conte_paraula_clau(peca)) {
        if (es_absoluta(cos)) return peca;
        // In a list every order that is no media file is a text order. A lone
        // reference may also name a folder; a sentence it is not.
        if (!es_fitxer_de_mitjans(cos) && (de_llista || cos.contains(u' '))) return peca;
        return peca.left(ini) + carpeta + u'/' + separadors_natius(cos) + peca.mid(fi);
    }
    QString r = peca;
    if (fons_absolut(r, carpeta, 64)) return r;
    if (fons_absolut(r, carpeta, 76)) return r;
    return peca;
}

} // namespace

QString& carpeta_activitat() {
    static QString c;
    return c;
}

QString separadors_natius(const QString& ref) {
    QString r = ref;
    r.replace(u'\\', u'/');
    return r;
}

QString separadors_desats(const QString& ref) {
    QString r = ref;
    r.replace(u'/', u'\\');
    return r;
}

bool es_absoluta(const QString& ref) {
    const QString r = ref.trimmed();
    if (r.startsWith(u'/')) return true;
    return r.size() >= 2 && r.at(1) == u':' && r.at(0).isLetter();
}

QString ruta_relativa(const QString& text) {
    return ruta_relativa(text, carpeta_activitat());
}

QString ruta_relativa(const QString& text, const QString& carpeta) {
    const QString c = carpeta_neta(carpeta);
    if (c.isEmpty()) return text;
    // The folder with its separator; for "/" the separator is the folder itself.
    const QString prefix = c.endsWith(u'/') ? c : c + u'/';
    QString s = text;
    qsizetype pos = s.indexOf(prefix);
    while (pos >= 0) {
        if (!es_inici_de_referencia(s, pos)) {
            pos = s.indexOf(prefix, pos + 1);
            continue;
        }
        s.remove(pos, prefix.size());
        // The rest of this reference goes back to the stored separator.
        qsizetype i = pos;
        while (i < s.size() && !es_fi_de_peca(s.at(i)) && s.at(i) != u':') {
            if (s.at(i) == u'/') s[i] = u'\\';
            ++i;
        }
        pos = s.indexOf(prefix, pos);
    }
    return s;
}

QString ruta_absoluta(const QString& text) {
    return ruta_absoluta(text, carpeta_activitat());
}

QString ruta_absoluta(const QString& text, const QString& carpeta) {
    if (text.trimmed().isEmpty()) return {};
    const QString c = carpeta_neta(carpeta);
    const QString base = c == u"/" ? QString() : c;
    const qsizetype cap = text.indexOf(SEP_ORDRES);
    QString r = text.left(cap + 1); // the count and its "»"; "" without one
    const bool de_llista = cap >= 0 || text.contains(u'|');
    qsizetype pos = cap + 1;
    while (pos < text.size()) {
        qsizetype fi = pos;
        while (fi < text.size() && !es_fi_de_peca(text.at(fi)))
            ++fi;
        if (fi < text.size()) ++fi;
        const QString peca = text.mid(pos, fi - pos);
        r += c.isEmpty() ? peca : peca_absoluta(peca, base, de_llista);
        pos = fi;
    }
    return r;
}

QString part_recurs(const QString& ref, int mode) {
    // Options begin at the first ":" from the third character on, which skips
    // a drive letter's colon.
    const qsizetype k = ref.indexOf(u':', 2);
    if (mode == 0) return (k < 0 ? ref : ref.left(k)).trimmed();
    if (mode != 1 || k < 0) return {};
    // The colon after the extension; names without "." fall back to the first one.
    qsizetype c = -1;
    const qsizetype punt = ref.indexOf(u'.');
    if (punt >= 0) c = ref.indexOf(u':', punt);
    if (c < 0) c = k;
    return ref.mid(c + 1).trimmed();
}

QString resoldre_fitxer(const QString& ref) {
    return resoldre_fitxer(ref, carpeta_activitat());
}

QString resoldre_fitxer(const QString& ref, const QString& carpeta) {
    const QString r = ref.trimmed();
    if (r.isEmpty()) return ref;
    // A drive form names a Windows machine's file: nothing to find here.
    if (r.size() >= 2 && r.at(1) == u':' && r.at(0).isLetter()) return ref;
    QString cami = separadors_natius(r);
    if (!cami.startsWith(u'/')) {
        const QString c = carpeta_neta(carpeta);
        if (c.isEmpty()) return ref;
        cami = (c == u"/" ? c : c + u'/') + cami;
    }
    if (QFileInfo::exists(cami)) return cami;

    QString actual = QStringLiteral("/");
    const QStringList parts = cami.split(u'/', Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        if (part == u".") continue;
        QDir dir(actual);
        if (part == u"..") {
            dir.cdUp();
            actual = dir.absolutePath();
            continue;
        }
        QString trobat;
        if (QFileInfo::exists(dir.filePath(part))) {
            trobat = part;
        } else {
            const QStringList entrades = dir.entryList(
                QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
            for (const QString& e : entrades) {
                if (e.compare(part, Qt::CaseInsensitive) == 0) {
                    trobat = e;
                    break;
                }
            }
        }
        if (trobat.isEmpty()) return ref;
        actual = dir.filePath(trobat);
    }
    return actual;
}

} // namespace lumi
