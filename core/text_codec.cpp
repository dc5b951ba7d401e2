#include "core/text_codec.h"

#include <QStringDecoder>

namespace lumi {

namespace {
// 0x80..0x9F; 0 marks the bytes Windows-1252 leaves undefined.
constexpr char16_t taula_80[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                   0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                   0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                   0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
} // namespace

QChar cp1252_a_caracter(unsigned char b) {
    if (b >= 0x80 && b <= 0x9F && taula_80[b - 0x80] != 0) return QChar(taula_80[b - 0x80]);
    return QChar(static_cast<char16_t>(b));
}

bool caracter_a_cp1252(QChar c, unsigned char& b) {
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
        b = static_cast<unsigned char>(u);
        return true;
    }
    for (int i = 0; i < 32; ++i) {
        if (taula_80[i] == u || (taula_80[i] == 0 && u == 0x80 + i)) {
            b = static_cast<unsigned char>(0x80 + i);
            return true;
        }
    }
    return false;
}

QString descodificar_text(const QByteArray& dades, bool* era_utf8) {
    if (era_utf8) *era_utf8 = false;
    if (dades.startsWith("\xEF\xBB\xBF")) {
        if (era_utf8) *era_utf8 = true;
        return QString::fromUtf8(dades.constData() + 3, dades.size() - 3);
    }
    bool no_ascii = false;
    for (char c : dades) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            no_ascii = true;
            break;
        }
    }
    if (no_ascii) {
        QStringDecoder dec(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString s = dec(dades);
        if (!dec.hasError()) {
            if (era_utf8) *era_utf8 = true;
            return s;
        }
    }
    QString s;
    s.resize(dades.size());
    QChar* out = s.data();
    for (qsizetype i = 0; i < dades.size(); ++i)
        out[i] = cp1252_a_caracter(static_cast<unsigned char>(dades[i]));
    return s;
}

QByteArray codificar_text(const QString& text, bool* es_utf8) {
    QByteArray out;
    out.resize(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        unsigned char b;
        if (!caracter_a_cp1252(text[i], b)) {
            if (es_utf8) *es_utf8 = true;
            return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
        }
        out[i] = static_cast<char>(b);
    }
    if (es_utf8) *es_utf8 = false;
    return out;
}

} // namespace lumi
