// Message boxes and the common dialogs every editing and file operation uses.
#pragma once

#include <QMessageBox>
#include <QString>

namespace lumi {

// A message box over `pare` (may be null); returns the button pressed.
QMessageBox::StandardButton missatge(QWidget* pare, const QString& text, QMessageBox::Icon icona,
                                     QMessageBox::StandardButtons botons = QMessageBox::Ok,
                                     const QString& titol = QStringLiteral("LUMIRAGA"));

// True when the caller must not go on: there are unsaved changes and the
// user did not answer OK to message 30.
bool confirmar_descartar(QWidget* pare = nullptr);

} // namespace lumi
