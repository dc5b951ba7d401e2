// Windows metafiles: libwmf turns them into SVG, which Qt SVG draws. Part of
// the pictures module, loaded with the first metafile shown.
#include "platform/imatges.h"
#include "platform/moduls.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QSvgRenderer>
#include <cstring>
#include <vector>

extern "C" {
#include <libwmf/api.h>
#include <libwmf/svg.h>
}

namespace lumi::plataforma {

namespace {

// Bigger pictures than this come from broken headers, not from activities.
constexpr int MIDA_MAXIMA = 8192;

QImage pintar_svg(const QByteArray& svg) {
    QSvgRenderer r(svg);
    if (!r.isValid()) return {};
    QSize mida = r.defaultSize();
    if (mida.isEmpty()) return {};
    if (mida.width() > MIDA_MAXIMA || mida.height() > MIDA_MAXIMA)
        mida.scale(MIDA_MAXIMA, MIDA_MAXIMA, Qt::KeepAspectRatio);
    QImage img(mida, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    r.render(&p);
    p.end();
    return img;
}

// The library measures text with the 35 PostScript fonts and gives up when
// none is installed where it expects them. Any outline font will do for
// measuring: the SVG names the family and Qt draws the text.
const QByteArray& font_substituta() {
    static const QByteArray font = [] {
        if (QFileInfo::exists(QStringLiteral("/usr/share/fonts/type1/urw-base35"))) return QByteArray();
        for (const char* c : {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                              "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf",
                              "/usr/share/fonts/truetype/freefont/FreeSans.ttf"})
            if (QFileInfo::exists(QString::fromLatin1(c))) return QByteArray(c);
        QDirIterator it(QStringLiteral("/usr/share/fonts"),
                        {QStringLiteral("*.ttf"), QStringLiteral("*.otf")}, QDir::Files,
                        QDirIterator::Subdirectories);
        return it.hasNext() ? QFile::encodeName(it.next()) : QByteArray();
    }();
    return font;
}

} // namespace

QByteArray wmf_a_svg(const QByteArray& wmf) {
    if (!sembla_wmf(wmf)) return {};
    wmfAPI* api = nullptr;
    wmfAPI_Options opcions;
    std::memset(&opcions, 0, sizeof opcions);
    opcions.function = wmf_svg_function;
    unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    static const char* const noms_ps[] = {
        "Times-Roman", "Times-Italic",      "Times-Bold",     "Times-BoldItalic",
        "Helvetica",   "Helvetica-Oblique", "Helvetica-Bold", "Helvetica-BoldOblique",
        "Courier",     "Courier-Oblique",   "Courier-Bold",   "Courier-BoldOblique",
        "Symbol"};
    std::vector<wmfMapping> substitucions;
    const QByteArray& font = font_substituta();
    if (!font.isEmpty()) {
        for (const char* nom : noms_ps) {
            wmfMapping m;
            std::memset(&m, 0, sizeof m);
            m.name = const_cast<char*>(nom);
            m.mapping = const_cast<char*>(font.constData());
            substitucions.push_back(m);
        }
        wmfMapping fi;
        std::memset(&fi, 0, sizeof fi);
        substitucions.push_back(fi);
        opcions.font.ps = substitucions.data();
        flags |= WMF_OPT_FONTMAP;
    }
    if (wmf_api_create(&api, flags, &opcions) != wmf_E_None) {
        if (api) wmf_api_destroy(api);
        return {};
    }
    // The library reads from a buffer it does not own but wants writable.
    QByteArray copia = wmf;
    QByteArray svg;
    wmfD_Rect caixa;
    if (wmf_mem_open(api, reinterpret_cast<unsigned char*>(copia.data()), copia.size()) == wmf_E_None &&
        wmf_scan(api, 0, &caixa) == wmf_E_None) {
        wmf_svg_t* dades = WMF_SVG_GetData(api);
        dades->bbox = caixa;
        dades->flags |= WMF_SVG_INLINE_IMAGES;
        unsigned int ample = 0;
        unsigned int alt = 0;
        if (wmf_display_size(api, &ample, &alt, 72, 72) == wmf_E_None && ample > 0 && alt > 0) {
            dades->width = ample;
            dades->height = alt;
            dades->out = wmf_stream_create(api, nullptr);
            const bool ok = dades->out && wmf_play(api, 0, &caixa) == wmf_E_None;
            char* text = nullptr;
            unsigned long llargada = 0;
            if (dades->out) wmf_stream_destroy(api, dades->out, &text, &llargada);
            dades->out = nullptr;
            if (ok && text) svg = QByteArray(text, static_cast<qsizetype>(llargada));
            // The buffer belongs to the library's memory manager.
            if (text) wmf_free(api, text);
        }
        wmf_mem_close(api);
    }
    wmf_api_destroy(api);
    return svg;
}

} // namespace lumi::plataforma

extern "C" const lumi::plataforma::ModulImatges* lumi_modul_imatges() {
    static const lumi::plataforma::ModulImatges m{
        [](const QByteArray& wmf) { return lumi::plataforma::pintar_svg(lumi::plataforma::wmf_a_svg(wmf)); }};
    return &m;
}
