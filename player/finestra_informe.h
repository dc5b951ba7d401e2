// The report window: the exercise report as plain text the teacher can read,
// change and save to a file.
#pragma once

#include <QWidget>

class QPlainTextEdit;
class QPushButton;

namespace lumi {

// Property of a window that the player does not count as one of its forms.
inline constexpr char FORA_DEL_RECOMPTE[] = "fora_del_recompte";

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
