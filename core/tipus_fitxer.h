// The kind of file an order or a file name refers to, told by its extension:
// the text after the last dot, compared in capitals. A name without a dot has
// no kind, whatever it ends in ("payloadexe" is no program).
#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>

namespace lumi {

enum class TipusFitxer : uint8_t {
    cap, // no extension, or one no part of the program plays
    bmp,
    wmf,
    gif,
    jpg,
    jpeg,
    png,
    wav,
    mid,
    mp3,
    avi,
    mpg,
    mpeg,
    swf,
    pps,
    ppt,
    exe,
    com,
    bat,
    cmd,
    scr,
    lrq,
};

// The kind of an extension given without its dot ("Jpg", "MP3").
TipusFitxer tipus_extensio(QStringView extensio);
// The kind of a file name, by the text after its last dot.
TipusFitxer tipus_de_nom(QStringView nom);
// The kind of an order: its file part, any ":" options left out.
TipusFitxer tipus_de(const QString& ordre);

// The pictures an activity shows.
constexpr bool es_dibuix(TipusFitxer t) {
    return t == TipusFitxer::bmp || t == TipusFitxer::wmf || t == TipusFitxer::gif || t == TipusFitxer::jpg;
}
// The sounds an activity plays.
constexpr bool es_so(TipusFitxer t) {
    return t == TipusFitxer::wav || t == TipusFitxer::mid || t == TipusFitxer::mp3;
}

} // namespace lumi
