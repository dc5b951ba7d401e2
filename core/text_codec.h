// Text files made on Windows are Windows-1252; ours are too, unless a
// character does not fit, in which case UTF-8 with a byte-order mark is
// written so nothing typed is lost.
#pragma once

#include <QByteArray>
#include <QString>

namespace lumi {

// Windows-1252 byte to character. The five bytes the code page leaves
// undefined map to U+0081 etc., so every byte survives a round trip.
QChar cp1252_a_caracter(unsigned char b);
// Character to Windows-1252 byte; false when it has none.
bool caracter_a_cp1252(QChar c, unsigned char& b);

// Decodes a whole file: UTF-8 when it starts with a byte-order mark or is
// valid UTF-8 holding non-ASCII bytes, otherwise Windows-1252.
QString descodificar_text(const QByteArray& dades, bool* era_utf8 = nullptr);

// Encodes as Windows-1252 when every character fits, else UTF-8 with a BOM.
QByteArray codificar_text(const QString& text, bool* es_utf8 = nullptr);

} // namespace lumi
