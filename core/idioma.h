// The three interface languages: numbered messages, caption keys and terms,
// and the translation of command keywords between the interface language and
// Catalan (the language activity files store them in).
#pragma once

#include <QString>
#include <QStringList>

namespace lumi {

inline const QString IDIOMA_CATALA = QStringLiteral("catala");
inline const QString IDIOMA_ESPANOL = QStringLiteral("español");
inline const QString IDIOMA_GALEGO = QStringLiteral("galego");

// Message n (0..82) in the current language; "" outside the table.
QString text_idioma(int n);
// Message n in a given language ("" for an unknown language).
QString text_idioma_en(const QString& llengua, int n);

// Caption key or term in the current language; "" when the table lacks it;
// the key itself when the current language is none of the three.
QString tradueix(const QString& clau);
QString tradueix_en(const QString& llengua, const QString& clau);

// "Form1|mn_velocitat | 1|c|"; index < 0 means not in a control array.
QString clau_traduccio(const QString& formulari, const QString& control, int index, QChar lletra);

// Keyword translation: direction 0 interface language -> Catalan, 1 Catalan -> interface language.
QString tradueix_paraules_clau(const QString& text, int direccio);
QString tradueix_paraules_clau_en(const QString& llengua, const QString& text, int direccio);

// The messages that are command keywords, in the order they are translated.
const QList<int>& missatges_paraula_clau();

bool es_idioma_conegut(const QString& llengua);

// The language codes of an interface language, the closest first: "ca", "es",
// "gl" then "es" (where no Galician text exists, Spanish stands in); none for
// an unknown language.
QStringList codis_idioma(const QString& llengua);

} // namespace lumi
