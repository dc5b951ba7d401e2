// The cell editor: one order of a planner list written or changed, as a
// file reference, placed words or a command. It only says what was written
// (`desat`); the planner puts it into the list.
#pragma once

#include "core/activitat.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace lumi {

// The dialogs the editors open, replaceable for tests.
struct TriadorsOrdres {
    std::function<QString(const QString& actual, QWidget* form, const QString& titol)> fitxers;
    std::function<QString(QWidget* form, const QString& color)> color;
    std::function<bool(QWidget* form, font_text& font)> font;
    // An input box; nullopt on Cancel.
    std::function<std::optional<QString>(QWidget* pare, const QString& pregunta, const QString& titol,
                                         const QString& valor)>
        entrada;
    // Shows a form modally; its result.
    std::function<int(QDialog& d)> modal;
};
TriadorsOrdres& triadors_ordres();

// The explanation shown while a typed text holds a character that would break
// the lists, "" when it holds none.
QString avis_caracter(const QString& text);

class Finestra2 : public QDialog {
    Q_OBJECT
  public:
    // `planificar` is the owner of the choosers; `titol` the edited page's title.
    Finestra2(QWidget* planificar, const QString& titol, int fila, int columna);

    void Canc_Click(int Index);
    void ord(int Index, const QString& valor);
    void Text1_DblClick();
    void Text1_Change();
    void mn_ord_Click(int Index);
    void mn_item_Click(int Index);
    void mn_zona_Click(int Index);

    // What accept stored, once; nullopt while nothing was.
    std::optional<QString> desat;

    QLineEdit* Text1 = nullptr;
    std::array<QLabel*, 2> dada{};
    std::array<QPushButton*, 7> Canc{};
    QLabel* avis = nullptr;
    QMenu* mn_op = nullptr;
    std::array<QAction*, 8> mn_ord{};
    QMenu* menu_items = nullptr;
    QMenu* menu_zones = nullptr;
    std::vector<QAction*> mn_item;
    std::vector<QAction*> mn_zona;

  private:
    void Form_Load();
    // The FONT order from the font dialog, not yet accepted.
    void ordre_font();
    // The words dialog on a placement and words; true when it stored.
    bool obrir_paraules(const QString& lloc, const QString& paraules);
    QWidget* planificar_ = nullptr;
    bool tancat_ = false;
};

} // namespace lumi
