// The words dialog: a text placed on the screen (header, centre, foot or at
// random), written as the placement in capitals, "_" and the words.
#pragma once

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <array>
#include <optional>

namespace lumi {

class paraules : public QDialog {
    Q_OBJECT
  public:
    explicit paraules(QWidget* pare);

    void Command1_Click(int Index);
    // Shows the placement `lloc` (any letter case) and the words.
    void posar(const QString& lloc, const QString& text);

    // The order written; nullopt after Cancel or with no words.
    std::optional<QString> resultat;

    QComboBox* Combo1 = nullptr;
    QLineEdit* Text1 = nullptr;
    std::array<QPushButton*, 2> Command1{};
    QLabel* avis = nullptr;

  protected:
    // Form_Activate: the words box takes the focus.
    void showEvent(QShowEvent* e) override;

  private:
    void Form_Load();
    void Text1_Change();
};

} // namespace lumi
