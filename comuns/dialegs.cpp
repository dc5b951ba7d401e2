#include "dialegs.h"

#include "activitat.h"
#include "idioma.h"

namespace lumi {

QMessageBox::StandardButton missatge(QWidget* pare, const QString& text, QMessageBox::Icon icona,
                                     QMessageBox::StandardButtons botons, const QString& titol) {
    QMessageBox box(icona, titol, text, botons, pare);
    box.setObjectName(QStringLiteral("missatge"));
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

bool confirmar_descartar(QWidget* pare) {
    if (!activitat().exercici_modificat) return false;
    const auto r = missatge(pare, text_idioma(30), QMessageBox::Critical,
                            QMessageBox::Ok | QMessageBox::Cancel, tradueix(QStringLiteral("Atencio")));
    return r != QMessageBox::Ok;
}

} // namespace lumi
