#include "platform/imatges.h"

#include "platform/moduls.h"

#include <QFile>
#include <QImageReader>

namespace lumi::plataforma {

// A placeable metafile starts with its key; a plain one with its type (1 or 2)
// and a header size of 9 words.
bool sembla_wmf(const QByteArray& d) {
    if (d.size() < 18) return false;
    const auto* b = reinterpret_cast<const unsigned char*>(d.constData());
    if (b[0] == 0xD7 && b[1] == 0xCD && b[2] == 0xC6 && b[3] == 0x9A) return true;
    return (b[0] == 1 || b[0] == 2) && b[1] == 0 && b[2] == 9 && b[3] == 0;
}

QImage carregar_imatge(const QString& fitxer) {
    if (fitxer.trimmed().isEmpty()) return {};
    QFile f(fitxer);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray cap = f.peek(32);
    if (sembla_wmf(cap)) {
        // Metafiles are rare: their libraries load with the first one.
        const ModulImatges* m = modul_imatges();
        return m ? m->dibuixar_wmf(f.readAll()) : QImage();
    }
    f.close();
    QImageReader lector(fitxer);
    lector.setDecideFormatFromContent(true);
    lector.setAutoTransform(true);
    QImage img = lector.read();
    return img;
}

} // namespace lumi::plataforma
