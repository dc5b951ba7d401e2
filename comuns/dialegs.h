// Message boxes and the common dialogs every editing and file operation uses.
#pragma once

#include "core/activitat.h"

#include <QMessageBox>
#include <QString>
#include <QStringList>

namespace lumi {

// A message box over `pare` (may be null); returns the button pressed.
QMessageBox::StandardButton missatge(QWidget* pare, const QString& text, QMessageBox::Icon icona,
                                     QMessageBox::StandardButtons botons = QMessageBox::Ok,
                                     const QString& titol = QStringLiteral("LUMIRAGA"));

// Tells that `text`, typed into a box that takes a number, is none: the box
// has its value back and the teacher a word of why.
void avisar_no_nombre(QWidget* pare, const QString& text);

// A message with a path to take elsewhere (to open by hand): the path in a
// box of its own, whole on one line where the screen allows, selected and
// ready to copy.
void missatge_cami(QWidget* pare, const QString& text, const QString& cami);

// True when the caller must not go on: there are unsaved changes and the
// user did not answer OK to message 30.
bool confirmar_descartar(QWidget* pare = nullptr);

// The colour dialog over `form`, opened on `color` (decimal 0x00BBGGRR);
// the chosen colour in the same form, "" on Cancel.
QString triar_color(QWidget* form, const QString& color);

// The font dialog over `form`, opened on the record's font. A choice writes
// name, size (rounded, halves to even), bold and italic back and keeps the
// colour; what the user left unchanged stays as the record had it, installed
// or not. Cancel changes nothing and gives false.
bool triar_font(QWidget* form, font_text& font);

// A resource file for `tipus` (the text of the language message naming the
// kind): a path in the activity's folder, followed by the options of a list
// entry or the three digits of a zone. "" when nothing was chosen.
QString triar_fitxers(const QString& actual, QWidget* form, const QString& tipus);

// The system's Open dialog over `form`: the full path chosen, or "". The
// form keeps its filter between calls, each current file putting an entry
// for its extension in front.
QString dialeg_obrir(const QString& actual, QWidget* form, const QString& tipus);

// The file put into the activity's folder, under its own name or the first
// free numbered one (foto1.jpg, foto2.jpg...). A file that does not exist, an
// activity file and a file already in the folder come back unchanged. A copy
// that fails is reported to the user and gives "".
QString copiar_a_carpeta(const QString& cami);
// The same without the report; `fallada` tells a failed copy apart.
QString copiar_a_carpeta_en(const QString& cami, const QString& carpeta, bool* fallada);

// "Name|*.ext;*.ext2|..." filters in the dialog's form ("Name (*.ext *.ext2)").
// Our file dialogs are Qt's own, whose filters match in any letter case (a
// desktop's native dialog may not).
QStringList filtres_dialeg(const QString& filtre);

// The folder resources are copied into: the activity's, else the process's.
QString carpeta_recursos();

} // namespace lumi
