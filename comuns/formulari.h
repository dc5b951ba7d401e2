// What every form shares: translating its captions from the language tables
// and the captions and texts of its controls, whatever their Qt kind.
#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace lumi {

// A control's caption (label, button, menu item, group title) and its text
// (line edit, combo box); empty when it has none.
QString caption_control(const QObject* control);
QString text_control(const QObject* control);
void posar_caption(QObject* control, const QString& caption);
void posar_text(QObject* control, const QString& text);

// The control-array index of a control ("index" property), -1 when none.
int index_control(const QObject* control);

// Every named control of the form, in the order the form created them.
QList<QObject*> controls_formulari(QObject* form);

// Replaces each control's caption by its translation under its caption key;
// controls without an entry keep the caption they have.
void tradueix_formulari(QObject* form);

} // namespace lumi
