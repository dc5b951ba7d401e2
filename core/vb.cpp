#include "core/vb.h"

#include <QRegularExpression>
#include <cmath>
#include <limits>

namespace lumi {

double arrodonir_parell(double v) {
    if (!std::isfinite(v)) return v;
    return std::nearbyint(v); // default rounding mode is to nearest, ties to even
}

std::optional<int16_t> a_enter16(double v) {
    if (!std::isfinite(v)) return std::nullopt;
    double r = arrodonir_parell(v);
    if (r < -32768.0 || r > 32767.0) return std::nullopt;
    return static_cast<int16_t>(r);
}

std::optional<int32_t> a_enter32(double v) {
    if (!std::isfinite(v)) return std::nullopt;
    double r = arrodonir_parell(v);
    if (r < -2147483648.0 || r > 2147483647.0) return std::nullopt;
    return static_cast<int32_t>(r);
}

std::optional<double> numero_escrit(const QString& text) {
    static const QRegularExpression forma(QStringLiteral("^[+-]?(\\d+([.,]\\d*)?|[.,]\\d+)$"));
    QString t = text.trimmed();
    if (!forma.match(t).hasMatch()) return std::nullopt;
    bool ok = false;
    const double v = t.replace(u',', u'.').toDouble(&ok); // C locale whatever the process's
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

double valor_inicial(const QString& text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto es_blanc = [](QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; };
    while (i < n && es_blanc(text[i]))
        ++i;
    if (i + 1 < n && text[i] == u'&' && (text[i + 1] == u'H' || text[i + 1] == u'h')) {
        i += 2;
        // Unsigned, so sixteen digits can never overflow.
        quint64 v = 0;
        int digits = 0;
        while (i < n && digits < 16) {
            int d = QString(text[i]).toInt(nullptr, 16);
            if (!text[i].isLetterOrNumber() || (d == 0 && text[i] != u'0')) break;
            v = v * 16 + d;
            ++i;
            ++digits;
        }
        // Four-digit hex literals are 16-bit and signed, as the stored codes expect.
        if (digits <= 4 && v > 0x7FFF) return static_cast<double>(static_cast<qint64>(v) - 0x10000);
        return static_cast<double>(v);
    }
    QString num;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) num += text[i++];
    bool digits = false;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
        num += text[i++];
        digits = true;
    }
    if (i < n && text[i] == u'.') {
        num += text[i++];
        while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
            num += text[i++];
            digits = true;
        }
    }
    if (!digits) return 0.0;
    if (i < n && (text[i] == u'E' || text[i] == u'e')) {
        qsizetype j = i + 1;
        QString exp = QStringLiteral("e");
        if (j < n && (text[j] == u'+' || text[j] == u'-')) exp += text[j++];
        bool ed = false;
        while (j < n && text[j].isDigit() && text[j].unicode() < 128) {
            exp += text[j++];
            ed = true;
        }
        if (ed) num += exp;
    }
    bool ok = false;
    double v = num.toDouble(&ok); // QString::toDouble is locale independent
    return ok ? v : 0.0;
}

QString retallar(const QString& s) {
    qsizetype i = 0, f = s.size();
    while (i < f && s.at(i) == u' ')
        ++i;
    while (f > i && s.at(f - 1) == u' ')
        --f;
    return s.mid(i, f - i);
}

QString numero_text(int64_t n) {
    QString s = QString::number(n);
    return n < 0 ? s : QLatin1Char(' ') + s;
}

QString single_text(float v) {
    if (v == 0.0f) return QStringLiteral("0");
    // Shortest decimal of at most 7 significant digits that reads back the same.
    QString s;
    for (int prec = 1; prec <= 7; ++prec) {
        s = QString::number(static_cast<double>(v), 'g', prec);
        if (s.toFloat() == v) break;
    }
    if (s.contains(u'e')) {
        // Plain notation for small and large values.
        s = QString::number(QString::number(static_cast<double>(v), 'g', 7).toDouble(), 'f', 10);
        while (s.contains(u'.') && (s.endsWith(u'0') || s.endsWith(u'.')))
            s.chop(1);
    }
    if (s.startsWith(QLatin1String("0.")))
        s.remove(0, 1);
    else if (s.startsWith(QLatin1String("-0.")))
        s.remove(1, 1);
    return s;
}

QString double_text(double v) {
    if (v == 0.0) return QStringLiteral("0");
    QString s = QString::number(v, 'g', 15);
    s.replace(u'e', u'E');
    if (s.startsWith(QLatin1String("0.")))
        s.remove(0, 1);
    else if (s.startsWith(QLatin1String("-0.")))
        s.remove(1, 1);
    return s;
}

} // namespace lumi
