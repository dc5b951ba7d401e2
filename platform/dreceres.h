// Shortcuts as freedesktop desktop entries (.desktop files).
#pragma once

#include <QString>
#include <QStringList>

namespace lumi::plataforma {

// The folder a special-folder name stands for: "Desktop" the user's desktop
// folder, "Programs" the user's applications menu folder (subfolders there
// are menu groups). "" for any other name.
QString carpeta_especial(const QString& nom);

// One argument of an Exec line, quoted by the Desktop Entry rules when it holds
// a reserved character, with "%" doubled so it is never a field code. The
// result still goes through the string escapes of the file (escapar_valor).
QString argument_exec(const QString& argument);
// The string escapes of a value: "\" "\n" "\t" "\r".
QString escapar_valor(const QString& valor);

struct Drecera {
    QString nom;       // the menu or desktop caption
    QStringList ordre; // program and arguments, unquoted
    QString carpeta_treball;
    QString icona; // may be empty
};

// The whole text of the desktop entry.
QString text_drecera(const Drecera& d);

// Writes the entry whole (or not at all) and makes it executable, as desktops
// ask of launchers they trust. False when it could not be written.
bool escriure_drecera(const QString& fitxer, const Drecera& d);

} // namespace lumi::plataforma
