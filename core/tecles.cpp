#include "core/tecles.h"

#include "core/activitat.h"
#include "core/idioma.h"

#include <QChar>
#include <QHash>
#include <Qt>
#include <vector>

namespace lumi {

namespace {

struct Tecla {
    int vk;
    int scan;
    const char16_t* nom; // what the key is called when it types no character
};

// Virtual key -> set-1 scan code. For keys that share a scan code the first
// entry is the one a scan code maps back to (navigation keys before the
// keypad, Num Lock before Pause).
const std::vector<Tecla>& taula_tecles() {
    static const std::vector<Tecla> t = [] {
        std::vector<Tecla> v{
            {8, 0x0E, u"Backspace"},
            {9, 0x0F, u"Tab"},
            {13, 0x1C, u"Enter"},
            {16, 0x2A, u"Shift"},
            {17, 0x1D, u"Ctrl"},
            {18, 0x38, u"Alt"},
            {144, 0x45, u"Num Lock"},
            {19, 0x45, u"Pause"},
            {20, 0x3A, u"Caps Lock"},
            {27, 0x01, u"Esc"},
            {32, 0x39, u"Space"},
            {33, 0x49, u"Page Up"},
            {34, 0x51, u"Page Down"},
            {35, 0x4F, u"End"},
            {36, 0x47, u"Home"},
            {37, 0x4B, u"Left"},
            {38, 0x48, u"Up"},
            {39, 0x4D, u"Right"},
            {40, 0x50, u"Down"},
            {44, 0x54, u"Sys Req"},
            {45, 0x52, u"Insert"},
            {46, 0x53, u"Delete"},
            {12, 0x4C, u"Num 5"},
            {91, 0x5B, u"Left Windows"},
            {92, 0x5C, u"Right Windows"},
            {93, 0x5D, u"Application"},
            {145, 0x46, u"Scroll Lock"},
            {106, 0x37, u"Num *"},
            {107, 0x4E, u"Num +"},
            {109, 0x4A, u"Num -"},
            // Punctuation keys where the Spanish layout has them.
            {186, 0x1A, nullptr},
            {187, 0x1B, nullptr},
            {188, 0x33, nullptr},
            {189, 0x35, nullptr},
            {190, 0x34, nullptr},
            {191, 0x2B, nullptr},
            {192, 0x27, nullptr},
            {219, 0x0C, nullptr},
            {220, 0x29, nullptr},
            {221, 0x0D, nullptr},
            {222, 0x28, nullptr},
            {226, 0x56, nullptr},
            {111, 0x35, u"Num /"},
            {110, 0x53, u"Num Del"},
            {160, 0x2A, u"Shift"},
            {161, 0x36, u"Right Shift"},
            {162, 0x1D, u"Ctrl"},
            {163, 0x1D, u"Right Ctrl"},
            {164, 0x38, u"Alt"},
            {165, 0x38, u"Right Alt"},
        };
        static const int lletres[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17,
                                        0x24, 0x25, 0x26, 0x32, 0x31, 0x18, 0x19, 0x10, 0x13,
                                        0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};
        for (int i = 0; i < 26; ++i)
            v.push_back({'A' + i, lletres[i], nullptr});
        for (int d = 0; d <= 9; ++d)
            v.push_back({'0' + d, d == 0 ? 0x0B : 0x01 + d, nullptr});
        static const int teclat_numeric[10] = {0x52, 0x4F, 0x50, 0x51, 0x4B, 0x4C, 0x4D, 0x47, 0x48, 0x49};
        for (int d = 0; d <= 9; ++d)
            v.push_back({96 + d, teclat_numeric[d], nullptr});
        static const int funcio[12] = {0x3B, 0x3C, 0x3D, 0x3E, 0x3F, 0x40,
                                       0x41, 0x42, 0x43, 0x44, 0x57, 0x58};
        for (int f = 0; f < 12; ++f)
            v.push_back({112 + f, funcio[f], nullptr});
        return v;
    }();
    return t;
}

struct Caracter {
    char16_t c;
    int scan;
    bool altgr; // typed with AltGr: no plain key types it
};

// What each key of the main block types (Spanish layout, where the
// activities were made): unshifted, shifted and with AltGr.
const QHash<char16_t, Caracter>& taula_caracters() {
    static const QHash<char16_t, Caracter> t = [] {
        QHash<char16_t, Caracter> h;
        auto posa = [&h](char16_t c, int scan, bool altgr = false) {
            if (!h.contains(c)) h.insert(c, Caracter{c, scan, altgr});
        };
        static const int lletres[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17,
                                        0x24, 0x25, 0x26, 0x32, 0x31, 0x18, 0x19, 0x10, 0x13,
                                        0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};
        for (int i = 0; i < 26; ++i) {
            posa(static_cast<char16_t>(u'a' + i), lletres[i]);
            posa(static_cast<char16_t>(u'A' + i), lletres[i]);
        }
        const char16_t* nums = u"0123456789";
        const char16_t* shift = u"=!\"·$%&/()";
        for (int d = 0; d <= 9; ++d) {
            const int scan = d == 0 ? 0x0B : 0x01 + d;
            posa(nums[d], scan);
            posa(shift[d], scan);
        }
        struct {
            int scan;
            char16_t normal, amb_shift, amb_altgr;
        } const punts[] = {
            {0x29, u'º', u'ª', u'\\'}, {0x0C, u'\'', u'?', 0},   {0x0D, u'¡', u'¿', 0},
            {0x1A, u'`', u'^', u'['},  {0x1B, u'+', u'*', u']'}, {0x27, u'ñ', u'Ñ', 0},
            {0x28, u'´', u'¨', u'{'},  {0x2B, u'ç', u'Ç', u'}'}, {0x56, u'<', u'>', 0},
            {0x33, u',', u';', 0},     {0x34, u'.', u':', 0},    {0x35, u'-', u'_', 0},
            {0x02, 0, 0, u'|'},        {0x03, 0, 0, u'@'},       {0x04, 0, 0, u'#'},
            {0x05, 0, 0, u'~'},        {0x06, 0, 0, u'€'},       {0x07, 0, 0, u'¬'},
        };
        for (const auto& p : punts) {
            if (p.normal) posa(p.normal, p.scan);
            if (p.amb_shift) posa(p.amb_shift, p.scan);
            if (p.amb_altgr) posa(p.amb_altgr, p.scan, true);
        }
        posa(u' ', 0x39);
        posa(u'\t', 0x0F);
        posa(u'\r', 0x1C);
        posa(u'\n', 0x1C);
        posa(u'\b', 0x0E);
        posa(0x1B, 0x01); // Esc
        return h;
    }();
    return t;
}

struct NomTecla {
    const char16_t* nom;
    int vk;
    bool traduit; // looked up in the term table, keyed by the Catalan name
};

// The named keys of action texts. "{Altgr}" comes before "{Ctrl}": a virtual
// key names the first entry that has it.
constexpr NomTecla NOMS[] = {
    {u"{ESPAI}", 32, true},      {u"{Ins}", 45, false},        {u"{INICI}", 36, true},
    {u"{Re.Pg}", 33, false},     {u"{Supr}", 46, false},       {u"{Fi}", 35, true},
    {u"{Av.Pg}", 34, false},     {u"{Tab}", 9, false},         {u"{Retrocedir}", 8, true},
    {u"{Alt}", 18, false},       {u"{Altgr}", 17, false},      {u"{Imp.Pant}", 0, false},
    {u"{Bloq.Num}", 144, false}, {u"{Cur.Esque}", 37, true},   {u"{Cur.Amunt}", 38, true},
    {u"{Cur.Dreta}", 39, true},  {u"{Ctrl}", 17, false},       {u"{Pausa}", 19, false},
    {u"{Cur.Avall}", 40, true},  {u"{ENTER}", 13, false},      {u"{Shift}", 16, false},
    {u"{F1}", 112, false},       {u"{F2}", 113, false},        {u"{F3}", 114, false},
    {u"{F4}", 115, false},       {u"{F5}", 116, false},        {u"{F6}", 117, false},
    {u"{F7}", 118, false},       {u"{F8}", 119, false},        {u"{F9}", 120, false},
    {u"{F10}", 121, false},      {u"{F11}", 122, false},       {u"{F12}", 123, false},
    {u"{Bloq.May}", 20, false},  {u"{Win Dreta}", 92, true},   {u"{Win Esqu}", 91, true},
    {u"{Win Menú}", 93, false},  {u"{Bloq.Desp}", 145, false},
};

QString nom_mostrat(const NomTecla& n, const QString& llengua) {
    const QString cat = QString::fromUtf16(n.nom);
    if (!n.traduit) return cat;
    const QString t = tradueix_en(llengua, cat);
    return t.isEmpty() ? cat : t;
}

} // namespace

QString hex2(int n) {
    return QString::number(n & 0xFF, 16).toUpper().rightJustified(2, u'0');
}

int vk_a_scan(int vk) {
    for (const Tecla& t : taula_tecles())
        if (t.vk == vk) return t.scan;
    return 0;
}

int scan_a_vk(int scan) {
    if (scan == 0x36) return 16; // right Shift: left and right are not told apart
    for (const Tecla& t : taula_tecles())
        if (t.scan == scan) return t.vk;
    return 0;
}

int caracter_a_scan(QChar c) {
    const auto& t = taula_caracters();
    const auto it = t.constFind(c.unicode());
    if (it == t.constEnd() || it->altgr) return -1;
    return it->scan;
}

QString nom_tecla_scan(int scan) {
    if (scan <= 0 || scan > 0xFF) return {};
    // A key of the main block is called by the character it types unshifted.
    static const QHash<int, QChar> caracters = [] {
        QHash<int, QChar> h;
        const char16_t* noms = u"1234567890'¡`+ñ´ç<,.-º";
        const int scans[] = {0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C,
                             0x0D, 0x1A, 0x1B, 0x27, 0x28, 0x2B, 0x56, 0x33, 0x34, 0x35, 0x29};
        for (size_t i = 0; i < sizeof(scans) / sizeof(scans[0]); ++i)
            h.insert(scans[i], QChar(noms[i]).toUpper());
        for (int l = 0; l < 26; ++l)
            h.insert(caracter_a_scan(QChar(u'A' + l)), QChar(u'A' + l));
        return h;
    }();
    const auto it = caracters.constFind(scan);
    if (it != caracters.constEnd()) return QString(*it);
    for (const Tecla& t : taula_tecles())
        if (t.scan == scan) return t.nom ? QString::fromUtf16(t.nom) : QStringLiteral("Key %1").arg(scan);
    return {};
}

QString tecla_codi_nom(const QString& text, int mode) {
    return tecla_codi_nom_en(idioma(), text, mode);
}

QString tecla_codi_nom_en(const QString& llengua, const QString& text, int mode) {
    const QString t = text.trimmed();
    if (mode == 0) {
        for (const NomTecla& n : NOMS) {
            // Older files wrote the names in Catalan whatever the interface language.
            if (t == nom_mostrat(n, llengua) || (n.traduit && t == QString::fromUtf16(n.nom)))
                return u' ' + QString::number(n.vk);
        }
        return {};
    }
    if (mode == 1) {
        bool ok = false;
        const int vk = t.toInt(&ok);
        if (!ok || vk == 0) return {};
        for (const NomTecla& n : NOMS)
            if (n.vk == vk) return nom_mostrat(n, llengua);
        return {};
    }
    return {};
}

int qt_a_vk(int qt_key, bool teclat_numeric) {
    if (teclat_numeric) {
        if (qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9) return 96 + (qt_key - Qt::Key_0);
        switch (qt_key) {
        case Qt::Key_Asterisk:
            return 106;
        case Qt::Key_Plus:
            return 107;
        case Qt::Key_Minus:
            return 109;
        case Qt::Key_Period:
        case Qt::Key_Comma:
            return 110;
        case Qt::Key_Slash:
            return 111;
        default:
            break;
        }
    }
    switch (qt_key) {
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 9;
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    case Qt::Key_Pause:
        return 19;
    case Qt::Key_Print:
    case Qt::Key_SysReq:
        return 44;
    case Qt::Key_Clear:
        return 12;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Alt:
        return 18;
    case Qt::Key_AltGr:
        return 17;
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
        return 91;
    case Qt::Key_Super_R:
        return 92;
    case Qt::Key_Menu:
        return 93;
    case Qt::Key_CapsLock:
        return 20;
    case Qt::Key_NumLock:
        return 144;
    case Qt::Key_ScrollLock:
        return 145;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_Dead_Grave:
    case Qt::Key_Dead_Circumflex:
        return 186;
    case Qt::Key_Dead_Acute:
    case Qt::Key_Dead_Diaeresis:
        return 222;
    default:
        break;
    }
    if (qt_key >= Qt::Key_F1 && qt_key <= Qt::Key_F12) return 112 + (qt_key - Qt::Key_F1);
    if (qt_key >= Qt::Key_A && qt_key <= Qt::Key_Z) return qt_key;
    if (qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9) return qt_key;
    if (qt_key > 0x20 && qt_key <= 0xFF) {
        // Other characters: the key that types them, AltGr ones included.
        QChar c(static_cast<char16_t>(qt_key));
        const auto& t = taula_caracters();
        auto it = t.constFind(c.unicode());
        if (it == t.constEnd()) it = t.constFind(c.toLower().unicode());
        if (it == t.constEnd() && c.decompositionTag() == QChar::Canonical) {
            // An accented letter comes from its letter's key.
            const QChar base = c.decomposition().at(0);
            it = t.constFind(base.toUpper().unicode());
        }
        if (it != t.constEnd()) return scan_a_vk(it->scan);
    }
    return 0;
}

int qt_a_scan(int qt_key, bool teclat_numeric) {
    return vk_a_scan(qt_a_vk(qt_key, teclat_numeric));
}

QString codi_tecla(int vk) {
    return u'H' + hex2(vk_a_scan(vk));
}

QString codi_tecla_qt(int qt_key, bool teclat_numeric) {
    return u'H' + hex2(qt_a_scan(qt_key, teclat_numeric));
}

} // namespace lumi
