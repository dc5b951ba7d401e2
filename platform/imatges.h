// Pictures of an activity: BMP, GIF, JPG, PNG and Windows metafiles (WMF).
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace lumi::plataforma {

// The picture of a file (a path as it lies on disk; references from an
// activity are resolved by the caller). An unreadable or missing file, or one
// that is no picture, gives a null image.
QImage carregar_imatge(const QString& fitxer);

// Whether a file's first bytes are those of a Windows metafile.
bool sembla_wmf(const QByteArray& cap);

// A Windows metafile (placeable or plain) converted to SVG text; empty when
// it cannot be read. In the pictures module (moduls.h).
QByteArray wmf_a_svg(const QByteArray& wmf);

} // namespace lumi::plataforma
