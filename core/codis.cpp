#include "core/codis.h"

#include "core/idioma.h"
#include "core/tecles.h"
#include "core/text_codec.h"
#include "core/vb.h"

#include <QHash>
#include <QList>

namespace lumi {

namespace {

struct TokenFix {
    QString token;
    QString codi;
};

// The tokens that stand for one code each, in the order they are tried.
const QList<TokenFix>& tokens_fixos(const QString& llengua) {
    static QHash<QString, QList<TokenFix>> cache;
    auto it = cache.constFind(llengua);
    if (it != cache.constEnd()) return *it;
    auto t = [&](const char16_t* clau) { return tradueix_en(llengua, QString::fromUtf16(clau)); };
    auto tok = [](const QString& s) { return u'{' + s + u'}'; };
    const QString web = t(u"Web") + u' ';
    const QString joy = t(u"Joystick") + u' ';
    QList<TokenFix> l{
        {tok(t(u"Clic dret")), QStringLiteral("M01")},
        {tok(t(u"Clic esquerre")), QStringLiteral("M02")},
        {tok(web + t(u"Amunt")), QStringLiteral("W0A")},
        {tok(web + t(u"Avall")), QStringLiteral("W0R")},
        {tok(web + t(u"Dreta")), QStringLiteral("W0D")},
        {tok(web + t(u"Esquerra")), QStringLiteral("W0E")},
        {tok(web + t(u"Amunt Esquerra")), QStringLiteral("WAE")},
        {tok(web + t(u"Amunt Dreta")), QStringLiteral("WAD")},
        {tok(web + t(u"Avall Dreta")), QStringLiteral("WRD")},
        {tok(web + t(u"Avall Esquerra")), QStringLiteral("WRE")},
        {tok(joy + t(u"Amunt")), QStringLiteral("J0A")},
        {tok(joy + t(u"Avall")), QStringLiteral("J0R")},
        {tok(joy + t(u"Dreta")), QStringLiteral("J0D")},
        {tok(joy + t(u"Esquerra")), QStringLiteral("J0E")},
        {tok(joy + t(u"Botó 1")), QStringLiteral("J01")},
        {tok(joy + t(u"Botó 2")), QStringLiteral("J02")},
        {tok(joy + t(u"Botó 3")), QStringLiteral("J03")},
        {tok(joy + t(u"Botó 4")), QStringLiteral("J04")},
        {tok(t(u"ESPAI")), QStringLiteral("H39")},
        {tok(web + t(u"Clic web cam")), QStringLiteral("WC1")},
        {tok(web + t(u"Fora web cam")), QStringLiteral("WC2")},
    };
    return *cache.insert(llengua, l);
}

// The interface language first; Catalan too, the language older files wrote.
QStringList llengues_lectura(const QString& llengua) {
    QStringList l{llengua};
    if (llengua != IDIOMA_CATALA) l.append(IDIOMA_CATALA);
    return l;
}

int numero(const QString& s) {
    const double v = arrodonir_parell(valor_inicial(s));
    if (v > 2147483647.0 || v < -2147483648.0) return 0;
    return static_cast<int>(v);
}

QString tres_digits(int n) {
    return QString::number(n).rightJustified(3, u'0');
}

QString codi_caracter(QChar c) {
    const int scan = caracter_a_scan(c);
    return u'H' + hex2(scan < 0 ? 0xFF : scan);
}

// Level 0..128 as the character stored in a sound-level code.
QChar caracter_nivell(int n) {
    return cp1252_a_caracter(static_cast<unsigned char>(std::clamp(n, 0, 129) + 126));
}

int nivell_caracter(QChar c) {
    unsigned char b = 0;
    if (!caracter_a_cp1252(c, b)) b = static_cast<unsigned char>(c.unicode() & 0xFF);
    return static_cast<int>(b) - 126;
}

QString codi_token(const QString& token, const QString& llengua) {
    const QStringList llengues = llengues_lectura(llengua);
    for (const QString& l : llengues)
        for (const TokenFix& f : tokens_fixos(l))
            if (token == f.token) return f.codi;

    const QString cos = token.left(token.size() - 1); // without "}"
    for (const QString& l : llengues) {
        const QString web_zona = text_idioma_en(l, 71);
        qsizetype p = web_zona.isEmpty() ? -1 : cos.indexOf(web_zona);
        if (p >= 0) return u'W' + hex2(numero(cos.mid(p + web_zona.size())));
        const QString zona = text_idioma_en(l, 35);
        p = zona.isEmpty() ? -1 : cos.indexOf(zona);
        if (p >= 0) return u'Z' + hex2(numero(cos.mid(p + zona.size())));
        const QString veu = text_idioma_en(l, 32);
        if (!veu.isEmpty() && cos.contains(veu)) return u'V' + hex2(numero(cos.mid(cos.indexOf(u' ') + 1)));
        const QString soroll = tradueix_en(l, QStringLiteral("Soroll entre "));
        p = soroll.isEmpty() ? -1 : cos.indexOf(soroll);
        if (p >= 0) {
            const QString resta = cos.mid(p + soroll.size()).trimmed();
            const int a = numero(resta);
            const int b = numero(resta.mid(resta.indexOf(u' ') + 1));
            return u'S' + QString(caracter_nivell(a)) + caracter_nivell(b);
        }
    }
    const int vk = numero(tecla_codi_nom_en(llengua, token, 0));
    return u'H' + hex2(vk_a_scan(vk));
}

QString text_a_codis(const QString& text, const QString& llengua) {
    QString r;
    qsizetype pos = 0;
    const qsizetype n = text.size();
    while (pos < n) {
        const qsizetype obre = text.indexOf(u'{', pos);
        const qsizetype fi_plans = obre < 0 ? n : obre;
        for (; pos < fi_plans; ++pos)
            r += codi_caracter(text.at(pos));
        if (pos >= n) break;
        const qsizetype tanca = text.indexOf(u'}', pos);
        if (tanca < 0) {
            // No closing brace: the rest is plain characters, "{" included.
            for (; pos < n; ++pos)
                r += codi_caracter(text.at(pos));
            break;
        }
        r += codi_token(text.mid(pos, tanca - pos + 1), llengua);
        pos = tanca + 1;
    }
    return r;
}

QString codis_a_accions(const QString& codis, const QString& llengua) {
    auto t = [&](const char16_t* clau) { return tradueix_en(llengua, QString::fromUtf16(clau)); };
    auto tok = [](const QString& s) { return u'{' + s + u'}'; };
    QString r;
    for (qsizetype pos = 0; pos < codis.size(); pos += 3) {
        const QString c = codis.mid(pos, 3);
        const QString parell = c.mid(1);
        const QChar tipus = c.at(0);
        if (tipus == u'W') {
            static const QList<QPair<QString, const char16_t*>> direccions{
                {QStringLiteral("0A"), u"Amunt"},          {QStringLiteral("0R"), u"Avall"},
                {QStringLiteral("0D"), u"Dreta"},          {QStringLiteral("0E"), u"Esquerra"},
                {QStringLiteral("AE"), u"Amunt Esquerra"}, {QStringLiteral("AD"), u"Amunt Dreta"},
                {QStringLiteral("RD"), u"Avall Dreta"},    {QStringLiteral("RE"), u"Avall Esquerra"},
                {QStringLiteral("C1"), u"Clic web cam"},   {QStringLiteral("C2"), u"Fora web cam"}};
            bool fet = false;
            for (const auto& d : direccions) {
                if (parell == d.first) {
                    r += tok(t(u"Web") + u' ' + t(d.second));
                    fet = true;
                    break;
                }
            }
            if (!fet)
                r += tok(text_idioma_en(llengua, 71) + tres_digits(numero(QStringLiteral("&H") + parell)));
        } else if (tipus == u'M') {
            if (c == u"M01")
                r += tok(t(u"Clic dret"));
            else if (c == u"M02")
                r += tok(t(u"Clic esquerre"));
        } else if (tipus == u'V') {
            r += tok(text_idioma_en(llengua, 32) + tres_digits(numero(QStringLiteral("&H") + parell)));
        } else if (tipus == u'S') {
            if (c.size() == 3)
                r += tok(t(u"Soroll entre ") + numero_text(nivell_caracter(c.at(1))) +
                         numero_text(nivell_caracter(c.at(2))));
        } else if (tipus == u'Z') {
            r += tok(text_idioma_en(llengua, 35) + tres_digits(numero(QStringLiteral("&H") + parell)));
        } else if (tipus == u'J') {
            const QChar u = c.size() == 3 ? c.at(2) : QChar();
            if (u == u'A')
                r += tok(t(u"Joystick") + u' ' + t(u"Amunt"));
            else if (u == u'R')
                r += tok(t(u"Joystick") + u' ' + t(u"Avall"));
            else if (u == u'D')
                r += tok(t(u"Joystick") + u' ' + t(u"Dreta"));
            else if (u == u'E')
                r += tok(t(u"Joystick") + u' ' + t(u"Esquerra"));
            else if (u >= u'1' && u <= u'4')
                r += tok(t(u"Joystick") + u' ' + t(u"Botó") + u' ' + u);
        } else if (tipus == u'H') {
            const int s = numero(QStringLiteral("&H") + parell) & 0xFF;
            const QString nom = nom_tecla_scan(s);
            if (nom.size() == 1)
                r += nom;
            else if (!nom.isEmpty())
                r += tecla_codi_nom_en(llengua, QString::number(scan_a_vk(s)), 1);
            else if (s != 0)
                r += u'#';
        }
    }
    return r;
}

} // namespace

QString accions_text_a_codis_en(const QString& llengua, const QString& text, int mode) {
    if (mode == 0) return text_a_codis(text, llengua);
    if (mode == 1) return codis_a_accions(text, llengua);
    return {};
}

QString accions_text_a_codis(const QString& text, int mode) {
    return accions_text_a_codis_en(idioma(), text, mode);
}

QString codis_a_text(const QString& text, int mode) {
    if (text.isEmpty()) return text;
    const QChar micro(0xB5);  // µ
    const QChar separa(0xBB); // »
    QString s = text;
    if (mode == 0) {
        if (s.startsWith(u'{'))
            s.remove(0, 1);
        else
            s.prepend(micro);
        if (s.endsWith(u'}'))
            s.chop(1);
        else
            s.append(micro);
        s.replace(QStringLiteral("}{"), QString(separa));
        s.replace(QStringLiteral("}"), QString(separa) + micro);
        s.replace(QStringLiteral("{"), QString(micro) + separa);
        return s;
    }
    if (mode == 1) {
        s.replace(QString(micro) + separa, QStringLiteral("{"));
        s.replace(QString(separa) + micro, QStringLiteral("}"));
        s.replace(QString(separa), QStringLiteral("}{"));
        if (s.startsWith(micro))
            s.remove(0, 1);
        else
            s.prepend(u'{');
        if (s.endsWith(micro))
            s.chop(1);
        else
            s.append(u'}');
        return s;
    }
    return text;
}

QString escapar_text(const QString& text, int mode) {
    QString s = text;
    switch (mode) {
    case 0:
        return s.replace(u' ', QChar(0xBB));
    case 1:
        return s.replace(QChar(0xBB), u' ');
    case 2:
        return s.replace(u',', u'^');
    case 3:
        return s.replace(u'^', u',');
    default:
        return s;
    }
}

QString codi_veu(int caracter) {
    static const QString paraules = QStringLiteral("123456789ABCDEF");
    if (caracter > 0 && caracter < 0x10000 && paraules.contains(QChar(static_cast<char16_t>(caracter))))
        return QStringLiteral("V0") + QChar(static_cast<char16_t>(caracter));
    return QStringLiteral("   ");
}

QString codi_joystick(const QString& event) {
    // An empty event counts as found: "J0" padded to three characters.
    if (event.isEmpty()) return QStringLiteral("J0 ");
    if (QStringLiteral("ARDE1234").contains(event.at(0))) return QStringLiteral("J0") + event.at(0);
    return QStringLiteral("   ");
}

bool zona_conte(const zona& z, int x, int y) {
    return x >= z.esquerra && x < z.dreta && y >= z.dalt && y < z.baix;
}

QString codi_clic_ratoli(const Activitat& a, int boto, float x, float y) {
    QString codi;
    if (boto == 1)
        codi = QStringLiteral("M02");
    else if (boto == 2)
        codi = QStringLiteral("M01");
    else if (boto == 3)
        codi = QStringLiteral("M03");
    else
        codi = QString(3, QChar(0));
    const int px = static_cast<int>(arrodonir_parell(x));
    const int py = static_cast<int>(arrodonir_parell(y));
    const int darrera = zona_darrera(a);
    for (int n = 1; n <= darrera; ++n)
        if (zona_conte(a.zones[n], px, py)) return u'Z' + hex2(n);
    return codi;
}

QString codi_clic_ratoli(int boto, float x, float y) {
    return codi_clic_ratoli(activitat(), boto, x, y);
}

QString zona_web_cam(const Activitat& a, int x, int y, const QString& codi) {
    const QString res(3, QChar(0));
    const bool vist = x + y != 0;
    if (codi == u"WC1") return vist ? codi : res;
    if (codi == u"WC2") return vist ? res : codi;
    if (!vist) return res;
    // The zone number is written in hexadecimal; direction pairs test the
    // whole screen, zone 0 (up, right and left share their pairs with the
    // zones 10, 13 and 14).
    const QString parell = codi.right(2);
    static const QStringList direccions{QStringLiteral("0A"), QStringLiteral("0R"), QStringLiteral("0D"),
                                        QStringLiteral("0E"), QStringLiteral("AE"), QStringLiteral("AD"),
                                        QStringLiteral("RD"), QStringLiteral("RE")};
    bool ok = false;
    int n = direccions.contains(parell) ? 0 : parell.toInt(&ok, 16);
    if (!ok) n = 0;
    if (n < 0) return res; // "W-1" from a file names no zone
    const int darrera = zona_darrera(a);
    if (n <= darrera && zona_conte(a.zones[n], x, y)) return codi;
    return res;
}

QString zona_web_cam(int x, int y, const QString& codi) {
    return zona_web_cam(activitat(), x, y, codi);
}

bool claus_equilibrades(const QString& text) {
    int nivell = 0;
    for (QChar c : text) {
        if (c == u'{')
            ++nivell;
        else if (c == u'}' && --nivell < 0)
            return false;
    }
    return nivell == 0;
}

namespace {
template <typename F> int16_t algun_item(const Activitat& a, int exclos, F usa) {
    const int darrer = std::min<int>(a.nombre_items, static_cast<int>(a.items.size()) - 1);
    for (int i = 1; i <= darrer; ++i)
        if (i != exclos && usa(a.items[i])) return CERT;
    return FALS;
}
} // namespace

int16_t usa_web_cam(const Activitat& a, int exclos) {
    return algun_item(a, exclos, [](const item& it) {
        for (int k = 0; k <= 11; ++k)
            if (it.web[k] != 0) return true;
        return it.serie.contains(u'W');
    });
}

int16_t usa_nivell_so(const Activitat& a, int exclos) {
    return algun_item(a, exclos, [](const item& it) { return it.nivell[0] == 1 || it.serie.contains(u'S'); });
}

int16_t usa_veu(const Activitat& a, int exclos) {
    const bool hi_ha_paraules = !a.paraules_veu[0].isEmpty();
    return algun_item(a, exclos, [hi_ha_paraules](const item& it) {
        if (hi_ha_paraules)
            for (int16_t v : it.veu)
                if (v != 0) return true;
        return it.serie.toUpper().contains(u'V');
    });
}

int16_t usa_joystick(const Activitat& a) {
    return algun_item(a, 0, [](const item& it) {
        for (int k = 0; k <= 7; ++k)
            if (it.jostick[k] != 0) return true;
        return it.serie.contains(QStringLiteral("J0")) || it.tecles_llista.contains(QStringLiteral("J0"));
    });
}

int16_t usa_opcio_item(const Activitat& a) {
    return algun_item(a, 0, [](const item& it) { return it.ratoli[0] == 1; }) ? 1 : 0;
}

int16_t usa_web_cam(int exclos) {
    return usa_web_cam(activitat(), exclos);
}
int16_t usa_nivell_so(int exclos) {
    return usa_nivell_so(activitat(), exclos);
}
int16_t usa_veu(int exclos) {
    return usa_veu(activitat(), exclos);
}
int16_t usa_opcio_item() {
    return usa_opcio_item(activitat());
}

} // namespace lumi
