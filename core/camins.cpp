#include "core/camins.h"

#include "core/activitat.h"
#include "core/idioma.h"
#include "core/tipus_fitxer.h"
#include "core/vb.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <memory>
#include <vector>

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

// The keywords of the interface language, worked out once per language: the
// reader and the writer ask for them for every piece of every list.
struct ParaulesClau {
    QString llengua;
    QStringList ordres; // mark an order as a command: the language's and Catalan's
    QString primeres;   // the first character of each of them
    // The background-picture commands (messages 64 and 76): Catalan in
    // capitals, the language's as written and in capitals.
    QString fons_catala[2], fons_local[2], fons_local_maj[2];
};

// Each stays where it was made, as a caller holds it while it works.
const ParaulesClau& paraules_clau(const QString& llengua) {
    static std::vector<std::unique_ptr<const ParaulesClau>> fetes;
    for (const auto& f : fetes)
        if (f->llengua == llengua) return *f;
    ParaulesClau p;
    p.llengua = llengua;
    static const int missatges[] = {5, 6, 7, 8, 10, 62, 63, 64, 65, 66, 69, 76, 79};
    for (int n : missatges) {
        for (const QString& l : {p.llengua, IDIOMA_CATALA}) {
            const QString k = text_idioma_en(l, n).toUpper();
            if (!k.isEmpty() && !p.ordres.contains(k)) {
                p.ordres.append(k);
                if (!p.primeres.contains(k.at(0))) p.primeres += k.at(0);
            }
        }
    }
    for (int i = 0; i < 2; ++i) {
        const int m = i == 0 ? 64 : 76;
        p.fons_catala[i] = text_idioma_en(IDIOMA_CATALA, m).toUpper();
        p.fons_local[i] = text_idioma_en(llengua, m);
        p.fons_local_maj[i] = p.fons_local[i].toUpper();
    }
    fetes.push_back(std::make_unique<const ParaulesClau>(std::move(p)));
    return *fetes.back();
}

bool conte_paraula_clau(QStringView peca, const ParaulesClau& p) {
    // Keywords are looked for only where one can start.
    for (qsizetype i = 0; i < peca.size(); ++i) {
        if (!p.primeres.contains(peca.at(i))) continue;
        const QStringView resta = peca.sliced(i);
        for (const QString& k : p.ordres)
            if (k.at(0) == peca.at(i) && resta.startsWith(k)) return true;
    }
    return false;
}

// A background-picture command ("GFONS_fons.bmp___", "ZFONS_z.gif007") with
// its file made absolute; false when the piece is no such command or its
// file is already absolute.
bool fons_absolut(QString& peca, const QString& carpeta, int quin, const ParaulesClau& p) {
    const QString& cat = p.fons_catala[quin];
    const QString& local = p.fons_local[quin];
    const bool hi_es =
        (!local.isEmpty() && peca.contains(p.fons_local_maj[quin])) || (!cat.isEmpty() && peca.contains(cat));
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
bool es_fitxer_de_mitjans(QStringView cos) {
    const TipusFitxer t = tipus_de_nom(cos.trimmed());
    // The player takes .jpeg, .mpg and .mpeg orders for texts.
    return t != TipusFitxer::cap && t != TipusFitxer::jpeg && t != TipusFitxer::mpg && t != TipusFitxer::mpeg;
}

void afegir_natiu(QString& r, QStringView ref) {
    const qsizetype ini = r.size();
    r += ref;
    for (qsizetype i = ini; i < r.size(); ++i)
        if (r.at(i) == u'\\') r[i] = u'/';
}

// A piece without its closing separator and its leading blanks.
QStringView cos_de_peca(QStringView peca, qsizetype& ini, qsizetype& fi) {
    fi = peca.size();
    if (fi > 0 && es_fi_de_peca(peca.at(fi - 1))) --fi;
    ini = 0;
    while (ini < fi && peca.at(ini).isSpace())
        ++ini;
    return peca.mid(ini, fi - ini);
}

// The file an order names before its options: part_recurs's, but with the
// colons of its folders skipped, so the answer is the same for the order
// relative or absolute.
QStringView fitxer_de_cos(QStringView cos) {
    const qsizetype k = cos.indexOf(u':', std::max<qsizetype>(2, cos.lastIndexOf(u'/') + 1));
    return k < 0 ? cos : cos.left(k);
}

void afegir_peca_absoluta(QString& r, QStringView peca, const QString& carpeta, bool de_llista,
                          const ParaulesClau& paraules, bool tot) {
    qsizetype ini = 0, fi = 0;
    const QStringView cos = cos_de_peca(peca, ini, fi);
    if (tot) {
        // Any order the player takes for a media file, whatever its name
        // holds and with its options kept after it.
        const QStringView fitxer = fitxer_de_cos(cos);
        if (!fitxer.trimmed().isEmpty() && !es_absoluta(fitxer) && es_fitxer_de_mitjans(fitxer)) {
            r += peca.left(ini);
            r += carpeta;
            r += u'/';
            afegir_natiu(r, fitxer);
            r += peca.mid(ini + fitxer.size());
            return;
        }
    }
    if (peca.contains(u':')) {
        r += peca;
        return;
    }
    // An empty entry stays empty: a folder alone names no file.
    if (cos.trimmed().isEmpty()) {
        r += peca;
        return;
    }
    if (!conte_paraula_clau(peca, paraules)) {
        // In a list every order that is no media file is a text order. A lone
        // reference may also name a folder; a sentence it is not.
        if (es_absoluta(cos) || (!es_fitxer_de_mitjans(cos) && (de_llista || cos.contains(u' ')))) {
            r += peca;
            return;
        }
        r += peca.left(ini);
        r += carpeta;
        r += u'/';
        afegir_natiu(r, cos);
        r += peca.mid(fi);
        return;
    }
    QString p = peca.toString();
    if (fons_absolut(p, carpeta, 0, paraules) || fons_absolut(p, carpeta, 1, paraules)) {
        r += p;
        return;
    }
    r += peca;
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

bool es_absoluta(QStringView ref) {
    const QStringView r = ref.trimmed();
    if (r.startsWith(u'/')) return true;
    return r.size() >= 2 && r.at(1) == u':' && r.at(0).isLetter();
}

QString ruta_relativa(const QString& text) {
    return ruta_relativa(text, carpeta_activitat());
}

QString ruta_relativa(const QString& text, const QString& carpeta) {
    return CarpetaReferencies(carpeta).relativa(text);
}

CarpetaReferencies::CarpetaReferencies(const QString& carpeta) : CarpetaReferencies(carpeta, idioma()) {}

CarpetaReferencies::CarpetaReferencies(const QString& carpeta, const QString& llengua)
    : neta_(carpeta_neta(carpeta)), llengua_(llengua) {
    if (neta_.isEmpty()) return;
    // The folder with its separator; for "/" the separator is the folder itself.
    prefix_ = neta_.endsWith(u'/') ? neta_ : neta_ + u'/';
    base_ = neta_ == u"/" ? QString() : neta_;
}

QString CarpetaReferencies::relativa(const QString& text) const {
    if (neta_.isEmpty()) return text;
    const QString& prefix = prefix_;
    qsizetype pos = text.indexOf(prefix);
    if (pos < 0) return text;
    QString s = text;
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
    return CarpetaReferencies(carpeta).absoluta(text);
}

QString CarpetaReferencies::absoluta(const QString& text) const {
    return absoluta(text, false);
}

QString CarpetaReferencies::absoluta_tot(const QString& text) const {
    return absoluta(text, true);
}

QString CarpetaReferencies::absoluta(const QString& text, bool tot) const {
    if (QStringView(text).trimmed().isEmpty()) return {};
    if (neta_.isEmpty()) return text;
    const QString& base = base_;
    const qsizetype cap = text.indexOf(SEP_ORDRES);
    const bool de_llista = cap >= 0 || text.contains(u'|');
    const ParaulesClau& paraules = paraules_clau(llengua_);
    QString r;
    r.reserve(text.size() + 4 * (base.size() + 1));
    r += QStringView(text).left(cap + 1); // the count and its "»"; "" without one
    qsizetype pos = cap + 1;
    while (pos < text.size()) {
        qsizetype fi = pos;
        while (fi < text.size() && !es_fi_de_peca(text.at(fi)))
            ++fi;
        if (fi < text.size()) ++fi;
        afegir_peca_absoluta(r, QStringView(text).mid(pos, fi - pos), base, de_llista, paraules, tot);
        pos = fi;
    }
    return r;
}

namespace {

// What a reference field holds: one reference, an order list with its
// count, or the instruction (a list's one entry without the count).
enum class Camp { sol, llista, consigna };

template <typename Item, typename F> void camps_item(Item& it, F&& f) {
    f(it.estimuls, Camp::llista);
    f(it.si_be, Camp::llista);
    f(it.si_mal, Camp::llista);
}

// Each reference field of an activity and its items; the next exercise is a
// file unless it names a place in the folder.
template <typename Act, typename F> void camps_activitat(Act& a, F&& f) {
    for (auto& it : a.items)
        camps_item(it, f);
    f(a.consigna, Camp::consigna);
    f(a.carpeta_veu, Camp::sol);
    f(a.fitxer_imatge_fons, Camp::sol);
    f(a.fitxer_so_fons, Camp::sol);
    for (auto& z : a.zones)
        f(z.imatge, Camp::sol);
    if (valor_inicial(a.exercici_seguent) == 0) f(a.exercici_seguent, Camp::sol);
}

void fer_absolut(QString& camp, Camp c, const CarpetaReferencies& refs) {
    if (camp.isEmpty()) return;
    if (c != Camp::consigna) {
        camp = refs.absoluta_tot(camp);
        return;
    }
    camp = refs.absoluta_tot(QStringLiteral("1") + SEP_ORDRES + camp).mid(2);
}

} // namespace

void referencies_absolutes(item& it, const QString& carpeta) {
    const CarpetaReferencies refs(carpeta);
    camps_item(it, [&](QString& camp, Camp c) { fer_absolut(camp, c, refs); });
}

void referencies_absolutes(Activitat& a, const QString& carpeta) {
    const CarpetaReferencies refs(carpeta);
    camps_activitat(a, [&](QString& camp, Camp c) { fer_absolut(camp, c, refs); });
}

void referencies_absolutes(QStringList& entrades, const QString& carpeta) {
    const CarpetaReferencies refs(carpeta);
    for (QString& e : entrades)
        fer_absolut(e, Camp::consigna, refs);
}

QStringList referencies_mitjans(const Activitat& a) {
    QStringList r;
    camps_activitat(a, [&](const QString& camp, Camp c) {
        if (c == Camp::sol) {
            if (!camp.trimmed().isEmpty()) r << camp.trimmed();
            return;
        }
        qsizetype pos = c == Camp::llista ? camp.indexOf(SEP_ORDRES) + 1 : 0;
        while (pos < camp.size()) {
            qsizetype fi = pos;
            while (fi < camp.size() && !es_fi_de_peca(camp.at(fi)))
                ++fi;
            qsizetype i = 0, f = 0;
            const QStringView peca = QStringView(camp).mid(pos, fi - pos);
            const QStringView cos = cos_de_peca(peca, i, f);
            if (es_fitxer_de_mitjans(fitxer_de_cos(cos))) r << cos.trimmed().toString();
            pos = fi + 1;
        }
    });
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
