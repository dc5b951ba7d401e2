#include "core/tipus_fitxer.h"

#include "core/camins.h"

namespace lumi {

namespace {

// An extension of up to four ASCII capitals packed into one number, one byte
// a letter: the reader asks for the kind of every piece of every list.
constexpr uint32_t codi(const char* nom) {
    uint32_t c = 0;
    for (int i = 0; nom[i] != 0; ++i)
        c = c << 8 | static_cast<uint8_t>(nom[i]);
    return c;
}

struct Extensio {
    const char* nom;
    TipusFitxer tipus;
    uint32_t codi;
};

constexpr Extensio fila(const char* nom, TipusFitxer tipus) {
    return {nom, tipus, codi(nom)};
}

constexpr Extensio EXTENSIONS[] = {
    fila("BMP", TipusFitxer::bmp), fila("WMF", TipusFitxer::wmf),   fila("GIF", TipusFitxer::gif),
    fila("JPG", TipusFitxer::jpg), fila("JPEG", TipusFitxer::jpeg), fila("PNG", TipusFitxer::png),
    fila("WAV", TipusFitxer::wav), fila("MID", TipusFitxer::mid),   fila("MP3", TipusFitxer::mp3),
    fila("AVI", TipusFitxer::avi), fila("MPG", TipusFitxer::mpg),   fila("MPEG", TipusFitxer::mpeg),
    fila("SWF", TipusFitxer::swf), fila("PPS", TipusFitxer::pps),   fila("PPT", TipusFitxer::ppt),
    fila("EXE", TipusFitxer::exe), fila("COM", TipusFitxer::com),   fila("BAT", TipusFitxer::bat),
    fila("CMD", TipusFitxer::cmd), fila("SCR", TipusFitxer::scr),   fila("LRQ", TipusFitxer::lrq),
};

} // namespace

TipusFitxer tipus_extensio(QStringView extensio) {
    // Capitals never get shorter: a longer extension is none of these.
    if (extensio.isEmpty() || extensio.size() > 4) return TipusFitxer::cap;
    uint32_t c = 0;
    for (QChar lletra : extensio) {
        char16_t u = lletra.unicode();
        if (u >= 0x80) {
            // Letters outside ASCII can turn into these ones in capitals.
            const QString maj = extensio.toString().toUpper();
            for (const Extensio& e : EXTENSIONS)
                if (maj == QLatin1StringView(e.nom)) return e.tipus;
            return TipusFitxer::cap;
        }
        if (u == 0) return TipusFitxer::cap;
        if (u >= u'a' && u <= u'z') u -= 32;
        c = c << 8 | u;
    }
    for (const Extensio& e : EXTENSIONS)
        if (e.codi == c) return e.tipus;
    return TipusFitxer::cap;
}

TipusFitxer tipus_de_nom(QStringView nom) {
    // No extension of more than four letters is known: the dot is looked for
    // among the last five characters only.
    const QStringView final = nom.right(5);
    const qsizetype punt = final.lastIndexOf(u'.');
    return punt < 0 ? TipusFitxer::cap : tipus_extensio(final.sliced(punt + 1));
}

TipusFitxer tipus_de(const QString& ordre) {
    return tipus_de_nom(part_recurs(ordre, 0));
}

} // namespace lumi
