// Number and text conversions with the exact semantics activity files and the
// player's arithmetic were designed around (16-bit integers, 32-bit floats,
// banker's rounding, leading-number parsing). One place, so every caller agrees.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace lumi {

// Round to nearest, halves to the even neighbour.
double arrodonir_parell(double v);

// Integer conversion with halves to even; nullopt when the value does not fit 16 bits.
std::optional<int16_t> a_enter16(double v);
// Same for 32 bits.
std::optional<int32_t> a_enter32(double v);

// Floor towards minus infinity (the "Int" of the player's formulas).
inline int64_t part_entera(double v) {
    return static_cast<int64_t>(v < 0 && v != static_cast<int64_t>(v) ? static_cast<int64_t>(v) - 1
                                                                      : static_cast<int64_t>(v));
}

// The leading number of a text: leading blanks skipped, reading stops at the
// first character that does not fit, no digits give 0. Accepts sign, decimals
// and an exponent, always with "." whatever the locale; "&H" hexadecimal too.
double valor_inicial(const QString& text);

// A number as a teacher types it into a box: blanks around it, a sign, and
// a decimal comma or point ("7,5" and "7.5" are 7.5). nullopt for anything
// else, the empty text too: a box never takes only the front of the text.
std::optional<double> numero_escrit(const QString& text);

// A number as text with a leading blank when it is not negative (" 125", "-3").
QString numero_text(int64_t n);

// A 32-bit float with at most 7 significant digits, no trailing zeros and
// "." as separator whatever the locale: 1 -> "1", 0.5 -> ".5", -0.25 -> "-.25".
QString single_text(float v);
// The same for a 64-bit float, with at most 15 significant digits (5 - 4.3 -> ".7").
QString double_text(double v);

// Text utilities.
// Blanks off both ends (spaces only, not tabs or line ends).
QString retallar(const QString& s);
inline QString esquerra(const QString& s, qsizetype n) {
    return s.left(n < 0 ? 0 : n);
}
inline QString dreta(const QString& s, qsizetype n) {
    return s.right(n < 0 ? 0 : n);
}

} // namespace lumi
