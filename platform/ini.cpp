#include "core/idioma.h"
#include "core/avisos.h"
#include "platform/ini.h"

#include "core/desar.h"
#include "core/text_codec.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringList>

namespace lumi::plataforma {

namespace {

struct Linies {
    QStringList linies;
    bool utf8 = false;
    QString salt = QStringLiteral("\r\n");
};

Linies llegir_linies(const QString& fitxer, bool* existeix = nullptr) {
    Linies l;
    QFile f(fitxer);
    if (!f.open(QIODevice::ReadOnly)) {
        if (existeix) *existeix = false;
        return l;
    }
    if (existeix) *existeix = true;
    const QByteArray dades = f.readAll();
    if (!dades.contains("\r\n") && dades.contains('\n')) l.salt = QStringLiteral("\n");
    QString text = descodificar_text(dades, &l.utf8);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    l.linies = text.split(u'\n');
    if (!l.linies.isEmpty() && l.linies.last().isEmpty()) l.linies.removeLast();
    return l;
}

// The section name of a "[name]" line, or a null string.
QString nom_seccio(const QString& linia) {
    const QString t = linia.trimmed();
    if (t.startsWith(u'[') && t.contains(u']')) return t.mid(1, t.indexOf(u']') - 1).trimmed();
    return {};
}

bool es_clau(const QString& linia, const QString& clau, QString* valor) {
    const qsizetype igual = linia.indexOf(u'=');
    if (igual < 0) return false;
    if (linia.left(igual).trimmed().compare(clau.trimmed(), Qt::CaseInsensitive) != 0) return false;
    if (valor) {
        QString v = linia.mid(igual + 1).trimmed();
        // A value in matching quotes loses them, as the Windows reader does.
        if (v.size() >= 2 &&
            ((v.startsWith(u'"') && v.endsWith(u'"')) || (v.startsWith(u'\'') && v.endsWith(u'\''))))
            v = v.mid(1, v.size() - 2);
        *valor = v;
    }
    return true;
}

bool sembla_utf8(const QByteArray& dades) {
    bool no_ascii = false;
    for (char c : dades) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            no_ascii = true;
            break;
        }
    }
    if (!no_ascii) return false;
    QStringDecoder dec(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString s = dec.decode(dades);
    (void)s;
    return !dec.hasError();
}

} // namespace

QString ini_llegir(const QString& fitxer, const QString& seccio, const QString& clau,
                   const QString& defecte) {
    const Linies l = llegir_linies(fitxer);
    bool dins = false;
    for (const QString& linia : l.linies) {
        const QString s = nom_seccio(linia);
        if (!s.isNull()) {
            dins = s.compare(seccio.trimmed(), Qt::CaseInsensitive) == 0;
            continue;
        }
        QString valor;
        if (dins && es_clau(linia, clau, &valor)) return valor;
    }
    return defecte;
}

namespace {

// One key set in the lines, as a write of that key alone would set it.
void posar_clau(Linies& l, const QString& seccio, const QString& clau, const QString& valor) {
    const QString nova = clau + u'=' + valor;
    qsizetype inici_seccio = -1;
    qsizetype final_seccio = -1; // the line after the section's last key
    bool fet = false;
    for (qsizetype i = 0; i < l.linies.size() && !fet; ++i) {
        const QString s = nom_seccio(l.linies[i]);
        if (!s.isNull()) {
            if (inici_seccio >= 0) break;
            if (s.compare(seccio.trimmed(), Qt::CaseInsensitive) == 0) inici_seccio = final_seccio = i + 1;
            continue;
        }
        if (inici_seccio < 0) continue;
        if (es_clau(l.linies[i], clau, nullptr)) {
            l.linies[i] = nova;
            fet = true;
        } else if (!l.linies[i].trimmed().isEmpty()) {
            final_seccio = i + 1;
        }
    }
    if (!fet) {
        if (inici_seccio >= 0) {
            l.linies.insert(final_seccio, nova);
        } else {
            l.linies.append(u'[' + seccio + u']');
            l.linies.append(nova);
        }
    }
}

} // namespace

bool ini_escriure(const QString& fitxer, const QString& seccio, const QString& clau, const QString& valor) {
    return ini_escriure(fitxer, seccio, {{clau, valor}});
}

bool ini_escriure(const QString& fitxer, const QString& seccio, const QList<ClauValor>& valors) {
    bool existeix = false;
    Linies l = llegir_linies(fitxer, &existeix);
    // A file that is there but cannot be read is not replaced by a few keys.
    if (!existeix && QFile::exists(fitxer)) return false;
    for (const auto& [clau, valor] : valors)
        posar_clau(l, seccio, clau, valor);
    QString text = l.linies.join(l.salt) + l.salt;
    bool utf8 = false;
    QByteArray dades = codificar_text(text, &utf8);
    // Windows-1252 bytes that happen to be valid UTF-8 ("Ã©") would be read
    // back as UTF-8: the BOM keeps them as written.
    if (!utf8 && (l.utf8 || sembla_utf8(dades))) dades = QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    const Desament r = desar_fitxer_propi(fitxer, dades);
    if (r == Desament::alie) avisar_un_cop(fitxer, tradueix(QStringLiteral("fitxers|alie")) + u'\n' + fitxer);
    return r == Desament::desat;
}

} // namespace lumi::plataforma
