// The report window: the exercise report as plain text the teacher can read,
// change and save to a file.
#pragma once

#include "comuns/formulari.h"

#include <QWidget>

class QPlainTextEdit;
class QPushButton;

namespace lumi {

class FinestraInforme : public QWidget {
    Q_OBJECT
  public:
    explicit FinestraInforme(QWidget* parent = nullptr);

    // Shows `text` (lines ending CR LF or LF) from its top.
    void mostrar(const QString& text);
    // The text as it stands now, lines ending CR LF.
    QString text() const;
    // Writes the text to `cami`, whole or not at all. On failure the user is
    // told and false is returned.
    bool desar(const QString& cami);
    // Asks for a file name, then saves.
    void desar_com();

    QPlainTextEdit* editor = nullptr;
    QPushButton* boto_desar = nullptr;
    QPushButton* boto_tancar = nullptr;
};

} // namespace lumi
