// The action editor's check-box captions, as the editor shows them: the
// translation under the control's caption key, else the design text. The
// planner's ACCIO list reads them here so that list and editor never differ.
#pragma once

#include "core/idioma.h"

#include <QString>
#include <array>

namespace lumi {

// Design texts of the option boxes.
inline QString caption_disseny_accions(const QString& control, int index) {
    static const std::array<const char*, 11> teclat{
        "Qualsevol tecla",  "Tecla {ENTER}",     "Tecla {ESPAI}",  "Llista",
        "Tecles de funció", "Bloc Numèric",      "Cursor {Amunt}", "Cursor {Avall}",
        "Cursor {Dreta}",   "Cursor {Esquerra}", "Sèrie"};
    static const std::array<const char*, 3> ratoli{"Moure el ratolí", "Clic esquerre", "Clic dret"};
    static const std::array<const char*, 8> jostick{"Amunt",  "Avall",  "Dreta",  "Esquerra",
                                                    "Botó 1", "Botó 2", "Botó 3", "Botó 4"};
    static const std::array<const char*, 11> web{
        "Moure web cam", "Clic web cam", "Fora web cam", "Amunt Esquerra", "Amunt",   "Amunt Dreta",
        "Dreta",         "Avall Dreta",  "Avall",        "Avall Esquerra", "Esquerra"};
    auto de = [index](const auto& taula) {
        return index >= 0 && static_cast<size_t>(index) < taula.size()
                   ? QString::fromUtf8(taula[static_cast<size_t>(index)])
                   : QString();
    };
    if (control == QLatin1String("teclat")) return de(teclat);
    if (control == QLatin1String("ratoli")) return de(ratoli);
    if (control == QLatin1String("jostick")) return de(jostick);
    if (control == QLatin1String("web")) return de(web);
    return {};
}

inline QString caption_accions(const QString& control, int index) {
    const QString t = tradueix(clau_traduccio(QStringLiteral("ACCIONS"), control, index, u'c'));
    return t.isEmpty() ? caption_disseny_accions(control, index) : t;
}

} // namespace lumi
