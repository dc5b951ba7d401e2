// What the player's menus reach outside the player window: the open and save
// choice, and the forms and programs of other parts of the program. Each is a
// replaceable function so tests and later parts can put their own in place.
#pragma once

#include <QList>
#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace lumi {

// One open or save choice.
struct EleccioFitxer {
    bool desar = false;
    QString titol;
    QString filtre;  // "Name|*.ext|Name|*.*" as the language tables give it
    QString carpeta; // the folder the dialog starts in
    QString nom;     // the initial file name, may be a pattern ("*.lrq")
};

// The chosen path, or nullopt when the user cancelled. Overwriting is asked
// about by the caller, not by the dialog.
using TriadorFitxer = std::function<std::optional<QString>(QWidget* pare, const EleccioFitxer&)>;
TriadorFitxer& triador_fitxer();
// The default chooser: a QFileDialog.
std::optional<QString> dialeg_fitxer(QWidget* pare, const EleccioFitxer& e);

// The planner on the current file, shown modally; empty while there is none.
std::function<void()>& obrir_planificar();
// Starts the colour-tracking program's stand-in; false when it is not there.
std::function<bool()>& ombravisor_engegar();
// Shows the webcam calibration window modally.
std::function<bool(QWidget* pare)>& mostrar_calibracio();
// Opens a document with the desktop's viewer; false when nothing opened it.
std::function<bool(const QString& fitxer)>& obrir_document();

// Unloads every form of the program but the player window and the forms
// in `respectar`.
void descarregar_formularis(const QList<QWidget*>& respectar = {});

// The open and save choice of an activity: the player's title and filter,
// starting in the current activity's folder (made current) or the program's.
EleccioFitxer eleccio_activitat();
// "Save as" of the current activity through triador_fitxer(): the overwrite
// question, references relative to the new folder, the report of a failure.
// The caption of `finestra` names the new file. True when it was written.
bool desar_activitat(QWidget* pare, QWidget* finestra, EleccioFitxer e);

// The help page in the interface language, or a message with its path when
// nothing opens it; and the about box.
void obrir_ajuda(QWidget* pare);
void mostrar_quant_a(QWidget* pare);

// The player's caption for the current activity file, or for an untitled one.
QString titol_activitat();

// Message 81 after the name of an existing file; true when the user agreed to
// lose it.
bool confirmar_sobreescriure(QWidget* pare, const QString& nom);

} // namespace lumi
