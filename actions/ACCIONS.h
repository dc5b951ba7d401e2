// The action editor: which inputs the item under edit accepts. Every control
// goes through the model beside it, which writes the working item at once.
#pragma once

#include "actions/model_accions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <array>
#include <vector>

namespace lumi {

class ACCIONS : public QDialog {
    Q_OBJECT
  public:
    ACCIONS(item& it, Activitat& a, EstatDispositius& d, QWidget* pare);

    ModelAccions model;

    // Page p (Canc index 2..6, or the page number through `obrir_pagina`).
    void Canc_Click(int Index);
    void obrir_pagina(int pagina, const QString& titol);
    // The controls shown again from the model.
    void sincronitzar();

    std::array<QWidget*, 7> Frame1{};
    std::array<QPushButton*, 7> Canc{};
    std::array<QCheckBox*, 11> teclat{};
    QListWidget* tecles = nullptr;
    QLineEdit* llista_tecles = nullptr;
    QPushButton* ok_text = nullptr;
    std::array<QPushButton*, 37> Command1{};
    std::array<QLabel*, 10> ICO_SER{};
    QLineEdit* Paraula = nullptr;
    QLabel* INFORMACIO = nullptr;
    std::array<QCheckBox*, 3> ratoli{};
    std::array<QPushButton*, 3> mouse{};
    QComboBox* tria_zones_mouse = nullptr;
    QListWidget* Llista_zones_mouse = nullptr;
    std::array<QCheckBox*, 11> web{};
    std::array<QPushButton*, 11> B_web{};
    QComboBox* tria_zones_web = nullptr;
    QListWidget* Llista_zones_web = nullptr;
    std::array<QCheckBox*, 8> jostick{};
    std::array<QPushButton*, 8> joy{};
    QCheckBox* niv_so = nullptr;
    std::array<QLineEdit*, 2> nivell_so{};
    QPushButton* Command2 = nullptr;
    QComboBox* veu1 = nullptr;
    QListWidget* llista_veu = nullptr;
    QLabel* sons = nullptr;
    QLineEdit* decimes = nullptr;
    QPushButton* CommandEntrenament = nullptr;
    QPushButton* CommandObrir = nullptr;
    QPushButton* CommandGuardar = nullptr;
    QPushButton* CommandVeureLesFuncions = nullptr;
    QPushButton* CommandControlDelVolum = nullptr;

  protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;
    void showEvent(QShowEvent* e) override;

  private:
    void construir();
    bool refusat(int missatge);
    void engine_unitat(const std::function<void()>& seguir);
    QPoint premsa_{};
    int premuda_ = 0;
};

} // namespace lumi
