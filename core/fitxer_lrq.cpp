#include "core/fitxer_lrq.h"

#include "core/camins.h"
#include "core/codis.h"
#include "core/desar.h"
#include "core/idioma.h"
#include "core/llistes.h"
#include "core/text_codec.h"
#include "core/vb.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <cerrno>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace lumi {

namespace {

constexpr QChar SEP_ORDRES(0xBB); // »
const QString SEPARADOR_ORDRES(SEP_ORDRES);

struct InfoVersio {
    Versio versio;
    const char* capcalera;
};
constexpr InfoVersio VERSIONS[] = {
    {Versio::v1, "LUMIRAGA1"}, {Versio::v2, "LUMIRAGA2"},     {Versio::v3, "LUMIRAGA3"},
    {Versio::v4, "LUMIRAGA4"}, {Versio::v4_1, "LUMIRAGA4_1"}, {Versio::v4_2, "LUMIRAGA4_2"},
    {Versio::v5, "LUMIRAGA5"}, {Versio::v6, "LUMIRAGA6"},     {Versio::v6_1, "LUMIRAGA6.1"},
    {Versio::v7, "LUMIRAGA7"}, {Versio::v7_1, "LUMIRAGA7.1"},
};

std::optional<Versio> versio_de(const QString& capcalera) {
    for (const auto& v : VERSIONS)
        if (capcalera == QLatin1String(v.capcalera)) return v.versio;
    return std::nullopt;
}

// ---------------------------------------------------------------- writer

bool es_ascii(QByteArrayView b);
bool es_utf8_valid(QByteArrayView b);

// Writes values straight to Windows-1252 bytes. A character that has no byte
// there makes the whole file UTF-8 with a byte-order mark: fora() says so,
// and the caller writes again with `utf8`, which gathers the text first.
class Escriptor {
  public:
    // `mida` guesses the size, so the text is not moved as it grows.
    Escriptor(bool utf8, size_t mida) : utf8_(utf8) {
        if (!utf8_) bytes_.reserve(mida);
    }
    void text(const QString& s) { entre_cometes(s, true); }
    // Input codes: raw bytes, which the reader never takes for UTF-8.
    void codis(const QString& s) { entre_cometes(s, false); }
    void enter(int64_t n) {
        char xifres[24];
        const auto r = std::to_chars(xifres, xifres + sizeof xifres, n);
        afegir_ascii(QByteArrayView(xifres, r.ptr - xifres));
    }
    void single(float v) { afegir_ascii(single_desat(v)); }
    template <size_t N> void enters(const std::array<int16_t, N>& a, size_t fins) {
        for (size_t i = 0; i < fins && i < N; ++i)
            enter(a[i]);
    }
    bool fora() const { return fora_; }
    // The reader takes a file without a BOM for UTF-8 when its non-ASCII
    // texts are valid UTF-8; such Windows-1252 texts ("Ã©") need the BOM.
    bool sembla_utf8() const { return text_no_ascii_ && text_utf8_valid_; }
    QByteArray resultat() const {
        if (utf8_) return QByteArray("\xEF\xBB\xBF") + text_.toUtf8();
        return QByteArray(bytes_.data(), static_cast<qsizetype>(bytes_.size()));
    }

  private:
    void afegir_ascii(QByteArrayView v) {
        if (utf8_) {
            text_ += QLatin1StringView(v.data(), v.size());
            text_ += u"\r\n";
        } else if (!fora_) {
            bytes_.append(v.data(), static_cast<size_t>(v.size()));
            bytes_ += "\r\n";
        }
    }
    void entre_cometes(const QString& s, bool es_text) {
        // A double quote would end the value early and shift every value
        // after it; a single quote keeps the file readable.
        if (utf8_) {
            text_ += u'"';
            const qsizetype inici = text_.size();
            text_ += s;
            for (qsizetype i = inici; i < text_.size(); ++i)
                if (text_.at(i) == u'"') text_[i] = u'\'';
            text_ += u"\"\r\n";
            return;
        }
        if (fora_) return;
        bytes_ += '"';
        const size_t inici = bytes_.size();
        bool no_ascii = false;
        for (const QChar c : s) {
            const char16_t u = c.unicode();
            if (u < 0x80) {
                bytes_ += u == u'"' ? '\'' : static_cast<char>(u);
                continue;
            }
            unsigned char b = 0;
            if (!caracter_a_cp1252(c, b)) {
                fora_ = true; // the whole file goes UTF-8
                return;
            }
            bytes_ += static_cast<char>(b);
            no_ascii = true;
        }
        if (es_text && no_ascii) {
            text_no_ascii_ = true;
            const QByteArrayView escrit(bytes_.data() + inici, static_cast<qsizetype>(bytes_.size() - inici));
            if (text_utf8_valid_ && !es_utf8_valid(escrit)) text_utf8_valid_ = false;
        }
        bytes_ += "\"\r\n";
    }
    // The few delays of an activity repeat: each is formatted once.
    QByteArray single_desat(float v) {
        uint32_t bits = 0;
        std::memcpy(&bits, &v, sizeof bits);
        for (const auto& [b, t] : singles_)
            if (b == bits) return t;
        QByteArray t = single_text(v).toLatin1();
        if (singles_.size() < 32) singles_.emplace_back(bits, t);
        return t;
    }

    bool utf8_;
    std::string bytes_;
    QString text_;
    bool fora_ = false;
    bool text_no_ascii_ = false;
    bool text_utf8_valid_ = true;
    std::vector<std::pair<uint32_t, QByteArray>> singles_;
};

// ---------------------------------------------------------------- reader

bool es_blanc(char c) {
    return c == ' ' || c == '\t';
}
bool es_fi_linia(char c) {
    return c == '\r' || c == '\n';
}

// QByteArray::trimmed without a call for the usual value that has no blank
// at either end.
QByteArrayView retallat(QByteArrayView v) {
    auto espai = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    if (v.isEmpty() || (!espai(v.front()) && !espai(v.back()))) return v;
    return v.trimmed();
}

// A value that is a plain whole number ("12", "-3"): read without the
// general conversion. Fifteen digits are always exact in a double; "-0" is
// left to the general path, which keeps its sign.
std::optional<int64_t> enter_pla_de(QByteArrayView t) {
    qsizetype i = 0;
    const qsizetype n = t.size();
    const bool negatiu = n > 0 && t[0] == '-';
    if (n > 0 && (t[0] == '-' || t[0] == '+')) ++i;
    if (i == n || n - i > 15) return std::nullopt;
    int64_t v = 0;
    for (; i < n; ++i) {
        const char c = t[i];
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    if (negatiu && v == 0) return std::nullopt;
    return negatiu ? -v : v;
}

// One value as it stands in the file, without a copy.
struct Valor {
    QByteArrayView dades;
    bool entre_cometes = false;
    bool sense_tancar = false; // the file ended inside the quotes
};

// Takes the values of a file in order: a quoted value runs to its closing
// quote, an unquoted one to the next comma or line end.
class Tokenitzador {
  public:
    explicit Tokenitzador(const QByteArray& d, qsizetype inici = 0)
        : d_(d.constData()), n_(d.size()), pos_(inici) {}

    std::optional<Valor> seguent() {
        while (pos_ < n_ && (es_blanc(d_[pos_]) || es_fi_linia(d_[pos_])))
            ++pos_;
        if (pos_ >= n_) return std::nullopt;
        Valor v;
        if (d_[pos_] == '"') {
            v.entre_cometes = true;
            const qsizetype ini = ++pos_;
            const void* q = std::memchr(d_ + pos_, '"', static_cast<size_t>(n_ - pos_));
            pos_ = q ? static_cast<const char*>(q) - d_ : n_;
            v.dades = QByteArrayView(d_ + ini, pos_ - ini);
            if (pos_ < n_)
                ++pos_; // closing quote
            else
                v.sense_tancar = true;
            // Whatever follows the quote up to the delimiter is dropped.
            while (pos_ < n_ && d_[pos_] != ',' && !es_fi_linia(d_[pos_]))
                ++pos_;
        } else {
            const qsizetype ini = pos_;
            while (pos_ < n_ && d_[pos_] != ',' && !es_fi_linia(d_[pos_]))
                ++pos_;
            v.dades = retallat(QByteArrayView(d_ + ini, pos_ - ini));
        }
        consumir_delimitador();
        return v;
    }

    // Most values are unquoted plain whole numbers: taken here without
    // building a value. False, with nothing taken, for any other value.
    bool enter_pla(int64_t& sortida) {
        qsizetype p = pos_;
        while (p < n_ && (es_blanc(d_[p]) || es_fi_linia(d_[p])))
            ++p;
        if (p >= n_ || d_[p] == '"') return false;
        const qsizetype ini = p;
        while (p < n_ && d_[p] != ',' && !es_fi_linia(d_[p]))
            ++p;
        const auto e = enter_pla_de(retallat(QByteArrayView(d_ + ini, p - ini)));
        if (!e) return false;
        pos_ = p;
        consumir_delimitador();
        sortida = *e;
        return true;
    }

  private:
    void consumir_delimitador() {
        if (pos_ >= n_) return;
        if (d_[pos_] == ',') {
            ++pos_;
        } else if (d_[pos_] == '\r') {
            ++pos_;
            if (pos_ < n_ && d_[pos_] == '\n') ++pos_;
        } else if (d_[pos_] == '\n') {
            ++pos_;
        }
    }
    const char* d_;
    qsizetype n_;
    qsizetype pos_;
};

bool es_ascii(QByteArrayView b) {
    for (char c : b)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

bool es_utf8_valid(QByteArrayView b) {
    QStringDecoder dec(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString s = dec.decode(b); // lazy: the conversion runs here
    (void)s;
    return !dec.hasError();
}

QString de_cp1252(QByteArrayView b) {
    QString s(b.size(), Qt::Uninitialized);
    QChar* c = s.data();
    for (const char byte : b)
        *c++ = cp1252_a_caracter(static_cast<unsigned char>(byte));
    return s;
}

// The leading number of a value stored as text.
double valor_text(QByteArrayView b) {
    if (auto e = enter_pla_de(b)) return static_cast<double>(*e);
    return valor_inicial(QString::fromLatin1(b));
}

// A number written by a writer: sign, digits, one ".", an exponent; empty is 0.
std::optional<double> numero_estricte(QByteArrayView b) {
    const QByteArrayView t = retallat(b);
    if (t.isEmpty()) return 0.0;
    if (auto e = enter_pla_de(t)) return static_cast<double>(*e);
    // The shape is checked by hand: toDouble alone would take "inf", "nan"
    // and blanks inside.
    qsizetype i = 0;
    const qsizetype n = t.size();
    auto digits = [&] {
        const qsizetype ini = i;
        while (i < n && t[i] >= '0' && t[i] <= '9')
            ++i;
        return i - ini;
    };
    if (t[i] == '+' || t[i] == '-') ++i;
    qsizetype xifres = digits();
    if (i < n && t[i] == '.') {
        ++i;
        xifres += digits();
    }
    if (xifres == 0) return std::nullopt;
    if (i < n && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < n && (t[i] == '+' || t[i] == '-')) ++i;
        const qsizetype e = digits();
        if (e == 0 || e > 3) return std::nullopt;
    }
    if (i != n) return std::nullopt;
    bool ok = false;
    const double v = t.toDouble(&ok); // C locale whatever the process locale
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

enum class Codificacio {
    cp1252,    // every value byte by byte
    utf8_text, // text values UTF-8, input codes byte by byte (no byte-order mark)
    utf8,      // every value UTF-8 (file with a byte-order mark)
};

// Reads values one at a time; a value that is missing or does not convert
// leaves its target as it was and marks the file damaged.
class Lector {
  public:
    Lector(const QByteArray& dades, qsizetype inici, Codificacio c) : tok_(dades, inici), cod_(c) {}

    bool danyat() const { return danyat_; }
    bool text_no_ascii() const { return text_no_ascii_; }
    bool text_utf8_valid() const { return text_utf8_valid_; }

    std::optional<Valor> valor() {
        if (fi_) {
            danyat_ = true;
            return std::nullopt;
        }
        auto v = tok_.seguent();
        if (!v || v->sense_tancar) {
            // The file ended before the value did.
            fi_ = true;
            danyat_ = true;
        }
        return v;
    }

    // A text value (file names, lists, orders).
    bool text(QString& sortida) {
        auto v = valor();
        if (!v) return false;
        if (!es_ascii(v->dades)) {
            text_no_ascii_ = true;
            // Once one text is not UTF-8 the file is not.
            if (text_utf8_valid_ && !es_utf8_valid(v->dades)) text_utf8_valid_ = false;
        }
        sortida = cod_ == Codificacio::cp1252 ? de_cp1252(v->dades) : QString::fromUtf8(v->dades);
        return true;
    }

    // Input codes: sound-level codes hold raw bytes, which must come back
    // exactly as they were even when they happen to form valid UTF-8.
    bool codis(QString& sortida) {
        auto v = valor();
        if (!v) return false;
        sortida = cod_ == Codificacio::utf8 ? QString::fromUtf8(v->dades) : de_cp1252(v->dades);
        return true;
    }

    bool enter16(int16_t& sortida) {
        return numero(sortida, [](double d) { return a_enter16(d); });
    }
    bool enter32(int32_t& sortida) {
        return numero(sortida, [](double d) { return a_enter32(d); });
    }
    bool single(float& sortida) {
        int64_t n = 0;
        if (!fi_ && tok_.enter_pla(n)) {
            sortida = static_cast<float>(static_cast<double>(n));
            return true;
        }
        auto v = valor();
        if (!v) return false;
        auto d = numero_estricte(v->dades);
        if (!d || std::fabs(*d) > FLT_MAX) return marca_danyat();
        sortida = static_cast<float>(*d);
        return true;
    }

    // Values stored as text and converted by their leading number, so a
    // quoted number reads like an unquoted one.
    std::optional<double> text_numeric() {
        // A plain whole number, most of what a file holds, needs no reading
        // of its leading number.
        int64_t n = 0;
        if (!fi_ && tok_.enter_pla(n)) return static_cast<double>(n);
        auto v = valor();
        if (!v) return std::nullopt;
        return valor_text(v->dades);
    }
    bool text_enter16(int16_t& sortida) {
        int64_t n = 0;
        if (!fi_ && tok_.enter_pla(n)) return enter_en_rang(n, sortida);
        auto d = text_numeric();
        if (!d) return false;
        auto e = a_enter16(*d);
        if (!e) return marca_danyat();
        sortida = *e;
        return true;
    }
    bool text_single(float& sortida) {
        auto d = text_numeric();
        if (!d) return false;
        if (std::fabs(*d) > FLT_MAX) return marca_danyat();
        sortida = static_cast<float>(*d);
        return true;
    }

    bool marca_danyat() {
        danyat_ = true;
        return false;
    }

  private:
    // A whole number needs no rounding, only its range checked.
    template <typename T> bool enter_en_rang(int64_t n, T& sortida) {
        if (n < std::numeric_limits<T>::min() || n > std::numeric_limits<T>::max()) return marca_danyat();
        sortida = static_cast<T>(n);
        return true;
    }
    template <typename T, typename F> bool numero(T& sortida, F convertir) {
        int64_t n = 0;
        if (!fi_ && tok_.enter_pla(n)) return enter_en_rang(n, sortida);
        auto v = valor();
        if (!v) return false;
        auto d = numero_estricte(v->dades);
        if (!d) return marca_danyat();
        auto e = convertir(*d);
        if (!e) return marca_danyat();
        sortida = *e;
        return true;
    }

    Tokenitzador tok_;
    Codificacio cod_;
    bool fi_ = false;
    bool danyat_ = false;
    bool text_no_ascii_ = false;
    bool text_utf8_valid_ = true;
};

// Brace text of old versions to input codes. Key names and terms are
// recognised in the interface language and, failing that, in Catalan (the
// language such files were mostly written in).
QString brace_a_codis(const QString& text, const QString& llengua) {
    const QString h00 = QStringLiteral("H00");
    QString resultat;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        const qsizetype obre = text.indexOf(u'{', i);
        if (obre < 0) {
            resultat += accions_text_a_codis_en(llengua, text.mid(i), 0);
            break;
        }
        if (obre > i) resultat += accions_text_a_codis_en(llengua, text.mid(i, obre - i), 0);
        const qsizetype tanca = text.indexOf(u'}', obre);
        if (tanca < 0) {
            resultat += accions_text_a_codis_en(llengua, text.mid(obre), 0);
            break;
        }
        const QString token = text.mid(obre, tanca - obre + 1);
        QString codi = accions_text_a_codis_en(llengua, token, 0);
        if (codi == h00 && llengua != IDIOMA_CATALA) {
            const QString catala = accions_text_a_codis_en(IDIOMA_CATALA, token, 0);
            if (!catala.isEmpty()) codi = catala;
        }
        resultat += codi;
        i = tanca + 1;
    }
    return resultat;
}

// ---------------------------------------------------------------- the readers

class LectorVersio {
  public:
    LectorVersio(Lector& l, Versio v, const OpcionsLectura& o, ResultatLectura& r)
        : l_(l), v_(v), o_(o), r_(r), a_(r.activitat), refs_(o.carpeta, o.llengua) {}

    // False when the file is refused part way (a count out of range).
    bool llegir() {
        if (!llegir_items()) return false;
        llegir_opcions();
        if (v_ >= Versio::v5) {
            if (!llegir_zones()) return false;
            QString s;
            if (l_.text(s)) {
                // " 1" and " 2" chain by folder; anything else names a file.
                if (!s.isEmpty() && valor_inicial(s) == 0) s = refs_.absoluta(s);
                a_.exercici_seguent = s;
            }
        }
        if (v_ <= Versio::v4_2) {
            for (int i = 1; i <= a_.nombre_items; ++i) {
                item& it = a_.items[i];
                it.tecles_llista = brace_a_codis(it.tecles_llista, o_.llengua);
                it.serie = brace_a_codis(it.serie, o_.llengua);
            }
        }
        return true;
    }

  private:
    bool llegir_items() {
        int16_t n = 0;
        // A count that is no number or is negative cannot be trusted for
        // anything after it.
        if (!l_.enter16(n) || n < 0) {
            l_.marca_danyat();
            return false;
        }
        a_.nombre_items = n;
        a_.items.assign(static_cast<size_t>(n) + 1, item{});
        for (int i = 1; i <= n; ++i)
            llegir_item(a_.items[i]);
        return true;
    }

    template <size_t N> void enters(std::array<int16_t, N>& a, size_t fins) {
        for (size_t i = 0; i < fins; ++i)
            l_.enter16(a[i]);
    }

    void llista_a(QString& camp) {
        QString s;
        if (l_.text(s)) camp = refs_.absoluta(escapar_text(s, 0));
    }
    void llista_b(QString& camp) {
        QString s;
        if (l_.text(s)) camp = refs_.absoluta(tradueix_paraules_clau_en(o_.llengua, s, 1));
    }
    void llista(QString& camp) {
        if (v_ <= Versio::v3)
            llista_a(camp);
        else
            llista_b(camp);
    }
    void codis_s(QString& camp) {
        if (v_ <= Versio::v4_2) {
            // Brace text, converted once every item is read.
            l_.text(camp);
            return;
        }
        if (l_.codis(camp) && camp.contains(u'S')) r_.usa_nivell_so = true;
    }

    void llegir_item(item& it) {
        const size_t teclat = v_ == Versio::v1 ? 4 : v_ == Versio::v2 ? 10 : 11;
        enters(it.teclat, teclat);
        if (v_ >= Versio::v4_2) {
            enters(it.jostick, 8);
            enters(it.veu, 15);
        }
        if (v_ >= Versio::v5) {
            for (size_t k = 0; k < 3; ++k)
                l_.text_enter16(it.nivell[k]);
            if (it.nivell[0] == 1) r_.usa_nivell_so = true;
        }
        if (v_ >= Versio::v7)
            for (size_t k = 0; k < 12; ++k)
                l_.text_enter16(it.web[k]);
        enters(it.ratoli, v_ >= Versio::v5 ? 4 : 3);
        if (v_ >= Versio::v5) l_.codis(it.zones_ratoli);
        if (v_ >= Versio::v7) l_.codis(it.zones_web);
        l_.single(it.retard_be);
        if (v_ >= Versio::v7) l_.single(it.retard_mal);
        llista(it.si_be);
        if (v_ >= Versio::v3) llista(it.si_mal);
        codis_s(it.tecles_llista);
        if (v_ >= Versio::v3) codis_s(it.serie);
        if (v_ >= Versio::v2) {
            l_.single(it.retard_accio);
            l_.single(it.retard_estimul);
            llista(it.estimuls);
        }
    }

    void llegir_opcions() {
        if (v_ <= Versio::v2) {
            a_.tots_temps_global = 1;
            return;
        }
        l_.enter32(a_.color_fons);
        l_.text(a_.font.nom);
        l_.enter16(a_.font.mida);
        l_.enter16(a_.font.negreta);
        l_.enter16(a_.font.cursiva);
        if (v_ >= Versio::v4) l_.enter32(a_.font.color);
        l_.enter16(a_.finestra_opcio);

        QString s;
        if (l_.text(s)) {
            if (v_ == Versio::v3) {
                a_.paraules_veu[0] = s;
                llista_antiga_convertir(a_);
            } else if (v_ == Versio::v4 || v_ == Versio::v4_1) {
                a_.paraules_veu[0] = escapar_text(s, 3);
                if (!a_.paraules_veu[0].isEmpty()) llista_antiga_convertir(a_);
            } else {
                a_.paraules_veu[0] = escapar_text(s, 3);
            }
        }
        if (l_.text(s)) {
            if (v_ == Versio::v3 || s.isEmpty()) {
                a_.carpeta_veu = s;
            } else {
                a_.carpeta_veu = refs_.absoluta(s);
                obrir_carpeta_veu_ = true;
            }
        }
        l_.enter32(a_.reserva_llarg);
        l_.enter16(a_.reserva_enter);
        if (v_ >= Versio::v4) l_.enter16(a_.decimes_veu);
        if (v_ >= Versio::v4_1) {
            if (l_.text(s)) {
                if (s.isEmpty()) {
                    a_.consigna = s;
                } else if (v_ <= Versio::v4_2) {
                    a_.consigna = refs_.absoluta(tradueix_paraules_clau_en(o_.llengua, s, 1));
                } else {
                    // One entry of orders: made a one-entry list for the
                    // conversions, then unwrapped again.
                    QString t = QStringLiteral("1") + SEPARADOR_ORDRES + s;
                    t = refs_.absoluta(tradueix_paraules_clau_en(o_.llengua, t, 1));
                    a_.consigna = t.mid(2);
                }
            }
            l_.text_enter16(a_.temps_total);
        }
        if (v_ >= Versio::v5) {
            l_.text_enter16(a_.tots_estimul_global);
            l_.text_enter16(a_.tots_be_global);
            l_.text_enter16(a_.tots_mal_global);
        }
        if (v_ >= Versio::v6_1) {
            l_.text_single(a_.retard_tots_accio);
            l_.text_single(a_.retard_tots_estimul);
            l_.text_single(a_.retard_tots_be);
            if (v_ >= Versio::v7) l_.text_single(a_.retard_tots_mal);
            if (auto d = l_.text_numeric()) a_.mode_estimul = QString::number(*d, 'g', 15);
        }
        if (v_ >= Versio::v5 && l_.text(s)) a_.fitxer_imatge_fons = refs_.absoluta(s);
        if (v_ >= Versio::v6) {
            if (l_.text(s)) a_.fitxer_so_fons = refs_.absoluta(s);
            l_.enter16(a_.tots_temps_global);
        } else {
            a_.tots_temps_global = 1;
        }
    }

    // One coordinate of a saved zone, rescaled from the saving machine's
    // desktop to this one's; halves go to the even neighbour.
    void coordenada(int32_t& desti, int32_t actual, int32_t desat) {
        auto d = l_.text_numeric();
        if (!d) return;
        auto v = a_enter32(*d);
        if (!v || desat == 0) {
            l_.marca_danyat();
            return;
        }
        const int64_t producte = static_cast<int64_t>(*v) * actual;
        if (producte < INT32_MIN || producte > INT32_MAX) {
            l_.marca_danyat();
            return;
        }
        // Saved on a desktop of this size: the value as it stands.
        auto r = actual == desat ? v : a_enter32(static_cast<double>(producte) / static_cast<double>(desat));
        if (!r) {
            l_.marca_danyat();
            return;
        }
        desti = *r;
    }

    bool llegir_zones() {
        int16_t m = 0;
        auto d = l_.text_numeric();
        if (!d) return true; // the file ended: what was read stays
        auto e = a_enter16(*d);
        if (!e || *e < 0) {
            l_.marca_danyat();
            return false;
        }
        m = *e;
        a_.zones_max = m;
        a_.zones.assign(static_cast<size_t>(m) + 1, zona{});
        const QRect& p = o_.escriptori;
        zona& z0 = a_.zones[0];
        z0.esquerra = p.left();
        z0.dalt = p.top();
        z0.dreta = p.left() + p.width();
        z0.baix = p.top() + p.height();

        // The saving machine's desktop: only its right and bottom matter.
        int32_t desat[4] = {0, 0, 0, 0};
        for (int32_t& c : desat) {
            if (auto v = l_.text_numeric()) {
                if (auto e32 = a_enter32(*v))
                    c = *e32;
                else
                    l_.marca_danyat();
            }
        }
        const bool amb_imatges = v_ == Versio::v7_1;
        QString s, anterior, absoluta;
        if (amb_imatges) l_.text(s);
        for (int j = 1; j <= m; ++j) {
            zona& z = a_.zones[j];
            coordenada(z.esquerra, z0.dreta, desat[2]);
            coordenada(z.dalt, z0.baix, desat[3]);
            coordenada(z.dreta, z0.dreta, desat[2]);
            coordenada(z.baix, z0.baix, desat[3]);
            if (amb_imatges && l_.text(s)) {
                // Zones one after another often show the same picture: made
                // absolute once, and the text shared.
                if (j == 1 || s != anterior) {
                    anterior = s;
                    absoluta = refs_.absoluta(s);
                }
                z.imatge = absoluta;
            }
        }
        return true;
    }

    Lector& l_;
    Versio v_;
    const OpcionsLectura& o_;
    ResultatLectura& r_;
    Activitat& a_;
    const CarpetaReferencies refs_;

  public:
    bool obrir_carpeta_veu_ = false;
};

QString missatge_amb_cami(const QString& llengua, int n, const QString& cami) {
    return text_idioma_en(llengua, n) + QChar(13) + cami;
}

struct Lectura {
    ResultatLectura r;
    bool text_no_ascii = false;
    bool text_utf8_valid = true;
    bool obrir_carpeta_veu = false;
};

Lectura llegir(const QByteArray& dades, qsizetype inici, Codificacio cod, const QString& cami,
               const Activitat& base, const OpcionsLectura& o) {
    Lectura res;
    ResultatLectura& r = res.r;
    r.activitat = base;
    r.utf8 = cod != Codificacio::cp1252;
    Lector l(dades, inici, cod);

    auto refusa = [&](int n) {
        r.missatge = n;
        r.text_missatge = missatge_amb_cami(o.llengua, n, cami);
    };

    QString capcalera;
    l.text(capcalera);
    r.capcalera = capcalera;
    if (!capcalera.contains(QLatin1String("LUMIRAGA"))) {
        refusa(45);
    } else if (valor_inicial(capcalera.mid(8)) > 7.1) {
        refusa(46);
    } else if (auto v = versio_de(capcalera)) {
        LectorVersio lv(l, *v, o, r);
        lv.llegir();
        res.obrir_carpeta_veu = lv.obrir_carpeta_veu_;
        if (l.danyat()) refusa(45);
    } else {
        // Names the program but no version it ever wrote.
        refusa(45);
    }
    res.text_no_ascii = l.text_no_ascii();
    res.text_utf8_valid = l.text_utf8_valid();
    return res;
}

struct ResultatIntern {
    ResultatLectura r;
    bool obrir_carpeta_veu = false;
};

ResultatIntern llegir_intern(const QByteArray& dades, const QString& cami, const Activitat& base,
                             const OpcionsLectura& o) {
    Lectura lect;
    if (dades.startsWith("\xEF\xBB\xBF")) {
        lect = llegir(dades, 3, Codificacio::utf8, cami, base, o);
    } else {
        lect = llegir(dades, 0, Codificacio::cp1252, cami, base, o);
        // Our writer marks UTF-8 with a byte-order mark; a file without one
        // is UTF-8 only when its text values, and not just its input codes,
        // hold valid UTF-8.
        if (lect.text_no_ascii && lect.text_utf8_valid)
            lect = llegir(dades, 0, Codificacio::utf8_text, cami, base, o);
    }
    return {std::move(lect.r), lect.obrir_carpeta_veu};
}

} // namespace

QString capcalera_versio(Versio v) {
    for (const auto& i : VERSIONS)
        if (i.versio == v) return QLatin1String(i.capcalera);
    return {};
}

namespace {

void escriure_valors(Escriptor& e, const Activitat& a, const QString& llengua_interficie,
                     const QString& carpeta) {
    const CarpetaReferencies refs(carpeta, llengua_interficie);
    auto relativa = [&](const QString& s) { return refs.relativa(s); };
    auto llista = [&](const QString& s) {
        return tradueix_paraules_clau_en(llengua_interficie, relativa(s), 0);
    };

    e.text(CAPCALERA_ACTUAL);
    const int n = a.nombre_items < 0 ? 0 : a.nombre_items;
    e.enter(n);
    for (int i = 1; i <= n; ++i) {
        const item buit{};
        const item& it = i < static_cast<int>(a.items.size()) ? a.items[i] : buit;
        e.enters(it.teclat, 11);
        e.enters(it.jostick, 8);
        e.enters(it.veu, 15);
        e.enters(it.nivell, 3);
        e.enters(it.web, 12);
        e.enters(it.ratoli, 4);
        e.codis(it.zones_ratoli);
        e.codis(it.zones_web);
        e.single(it.retard_be);
        e.single(it.retard_mal);
        e.text(llista(it.si_be));
        e.text(llista(it.si_mal));
        e.codis(it.tecles_llista);
        e.codis(it.serie);
        e.single(it.retard_accio);
        e.single(it.retard_estimul);
        e.text(llista(it.estimuls));
    }
    e.enter(a.color_fons);
    e.text(a.font.nom);
    e.enter(a.font.mida);
    e.enter(a.font.negreta);
    e.enter(a.font.cursiva);
    e.enter(a.font.color);
    e.enter(a.finestra_opcio);
    e.text(escapar_text(a.paraules_veu[0], 2));
    e.text(relativa(a.carpeta_veu));
    e.enter(a.reserva_llarg);
    e.enter(a.reserva_enter);
    e.enter(a.decimes_veu);
    e.text(llista(a.consigna));
    e.enter(a.temps_total);
    e.enter(a.tots_estimul_global);
    e.enter(a.tots_be_global);
    e.enter(a.tots_mal_global);
    e.single(a.retard_tots_accio);
    e.single(a.retard_tots_estimul);
    e.single(a.retard_tots_be);
    e.single(a.retard_tots_mal);
    e.text(a.mode_estimul);
    e.text(relativa(a.fitxer_imatge_fons));
    e.text(relativa(a.fitxer_so_fons));
    e.enter(a.tots_temps_global);
    const int m = a.zones_max < 0 ? 0 : a.zones_max;
    e.enter(m);
    for (int j = 0; j <= m; ++j) {
        const zona buida{};
        const zona& z = j < static_cast<int>(a.zones.size()) ? a.zones[j] : buida;
        e.enter(z.esquerra);
        e.enter(z.dalt);
        e.enter(z.dreta);
        e.enter(z.baix);
        e.text(relativa(z.imatge));
    }
    e.text(relativa(a.exercici_seguent));
}

} // namespace

QByteArray escriure_activitat(const Activitat& a, const QString& llengua_interficie, const QString& carpeta) {
    const size_t mida = 1024 + 320 * static_cast<size_t>(std::max<int>(a.nombre_items, 0));
    Escriptor e(false, mida);
    escriure_valors(e, a, llengua_interficie, carpeta);
    if (!e.fora() && !e.sembla_utf8()) return e.resultat();
    Escriptor u(true, mida);
    escriure_valors(u, a, llengua_interficie, carpeta);
    return u.resultat();
}

std::vector<ValorFitxer> valors_fitxer(const QByteArray& dades) {
    std::vector<ValorFitxer> valors;
    Tokenitzador t(dades, dades.startsWith("\xEF\xBB\xBF") ? 3 : 0);
    while (auto v = t.seguent())
        valors.push_back({v->dades.toByteArray(), v->entre_cometes, v->sense_tancar});
    return valors;
}

ResultatLectura llegir_activitat(const QByteArray& dades, const QString& cami, const Activitat& base,
                                 const OpcionsLectura& opcions) {
    return llegir_intern(dades, cami, base, opcions).r;
}

// ---------------------------------------------------------------- procedures

std::function<void(const QString&)>& titol_finestra() {
    static std::function<void(const QString&)> f;
    return f;
}
std::function<bool(const QString&)>& veu_obrir_paraules_carpeta() {
    static std::function<bool(const QString&)> f;
    return f;
}
std::function<QRect()>& escriptori_actual() {
    static std::function<QRect()> f;
    return f;
}
QString& cami_desfer() {
    static QString c;
    return c;
}

QString& fitxer_refusat() {
    static QString f;
    return f;
}

bool es_fitxer_desfer(const QString& path) {
    // Its own path only: a teacher's folder may well be named "lrq.tmp".
    return !cami_desfer().isEmpty() && !path.isEmpty() &&
           QDir::cleanPath(separadors_natius(path)) == QDir::cleanPath(separadors_natius(cami_desfer()));
}

bool desar_exercici(const QString& path) {
    return desar_exercici(path, idioma(), carpeta_activitat());
}

bool desar_exercici(const QString& path, const QString& llengua_interficie, const QString& carpeta) {
    Activitat& a = activitat();
    const QByteArray dades = escriure_activitat(a, llengua_interficie, carpeta);
    // The snapshot's name is the program's: no link of another user leads it
    // over one of the teacher's files.
    const bool desfer = es_fitxer_desfer(path);
    if (desfer) {
        const Desament r = desar_fitxer_propi(path, dades);
        if (r == Desament::alie) avisar_un_cop(path, tradueix(QStringLiteral("fitxers|alie")) + u'\n' + path);
        return r == Desament::desat;
    }
    if (!desar_fitxer(path, dades)) return false;
    // The refused file now holds this activity: saving over it again is no loss.
    const QString refusat = QFileInfo(fitxer_refusat()).canonicalFilePath();
    if (!refusat.isEmpty() && refusat == QFileInfo(path).canonicalFilePath()) fitxer_refusat().clear();
    if (titol_finestra()) titol_finestra()(QStringLiteral("LUMIRAGA - ") + path);
    a.fitxer_actual = path;
    return true;
}

namespace {

// The file whole; "" when it was read, else what the user is told: that it
// is missing, or there but unreadable (and why, where the tables say).
QString llegir_fitxer(const QString& fitxer, QByteArray& dades) {
    const QString no_llegit = tradueix(QStringLiteral("fitxers|no_llegit"));
    const int fd = ::open(QFile::encodeName(fitxer).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR) return tradueix(QStringLiteral("fitxers|no_existeix"));
        if (error == EACCES || error == EPERM)
            return no_llegit + QStringLiteral(": ") + tradueix(QStringLiteral("fitxers|motiu_permis"));
        return no_llegit;
    }
    QFile f;
    if (!f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return no_llegit;
    }
    dades = f.readAll();
    // A folder, or a disk that fails under it.
    return f.error() == QFileDevice::NoError ? QString() : no_llegit;
}

} // namespace

bool carregar_exercici(const QString& path) {
    QString s = path;
    if (s.startsWith(u'"')) s.remove(0, 1);
    if (s.endsWith(u'"')) s.chop(1);

    // Read once and passed down: the reading itself changes no global.
    const QString llengua = idioma();
    QString carpeta = carpeta_activitat();
    Activitat& a = activitat();
    const QString natiu = separadors_natius(s);
    // A file that is refused leaves the activity as it was.
    auto refusar = [&, carpeta_abans = carpeta, fitxer_abans = a.fitxer_actual,
                    modificat_abans = a.exercici_modificat] {
        if (es_fitxer_desfer(s)) return;
        a.fitxer_actual = fitxer_abans;
        a.exercici_modificat = modificat_abans;
        carpeta_activitat() = carpeta_abans;
    };
    QString fitxer;
    // The undo snapshot lives elsewhere: it keeps the activity's name, its
    // modified flag and its folder, against which its references resolve.
    if (!es_fitxer_desfer(s)) {
        // A name typed with "\" or in another letter case: the activity is
        // named, saved and resolved as the file really is.
        fitxer = natiu;
        if (!QFileInfo::exists(natiu)) {
            const QString trobat = resoldre_fitxer(QFileInfo(natiu).absoluteFilePath(), carpeta);
            if (QFileInfo(trobat).isFile()) fitxer = trobat;
        }
        a.fitxer_actual = fitxer;
        a.exercici_modificat = FALS;
        carpeta = QFileInfo(fitxer).absolutePath();
        carpeta_activitat() = carpeta;
    } else {
        fitxer = resoldre_fitxer(natiu, carpeta);
    }

    QByteArray dades;
    if (const QString text = llegir_fitxer(fitxer, dades); !text.isEmpty()) {
        refusar();
        if (avis_usuari()) avis_usuari()(text + QChar(13) + s);
        return false;
    }

    OpcionsLectura o;
    o.llengua = llengua;
    o.carpeta = carpeta;
    if (escriptori_actual()) {
        o.escriptori = escriptori_actual()();
    } else if (!a.zones.empty()) {
        const zona& z = a.zones[0];
        o.escriptori = QRect(z.esquerra, z.dalt, z.dreta - z.esquerra, z.baix - z.dalt);
    }

    ResultatIntern r = llegir_intern(dades, s, a, o);
    a = std::move(r.r.activitat);
    if (r.r.usa_nivell_so) dispositius().nivell_so_actiu = CERT;

    const bool refusat = r.r.missatge == 46 || !versio_de(r.r.capcalera);
    if (!refusat) jugador().estat_carrega = 2;
    if (!es_fitxer_desfer(s)) fitxer_refusat() = r.r.missatge != 0 ? fitxer : QString();
    // Nothing of it was read: it does not become the current file.
    if (refusat) refusar();
    if (r.r.missatge != 0 && avis_usuari()) avis_usuari()(r.r.text_missatge);

    // Last, as the open yields while it reads: what runs meanwhile finds the
    // activity whole, as a folder that does not open leaves it.
    if (r.obrir_carpeta_veu && !a.carpeta_veu.isEmpty()) {
        // Without an engine, or when it cannot open the folder, the folder
        // and the word list stay as the file gave them.
        const QString carpeta = a.carpeta_veu;
        const QString paraules = a.paraules_veu[0];
        const bool obert = veu_obrir_paraules_carpeta() && veu_obrir_paraules_carpeta()(carpeta);
        if (!obert) {
            a.carpeta_veu = carpeta;
            a.paraules_veu[0] = paraules;
        }
    }
    return !refusat;
}

} // namespace lumi
