// The start dialog: run an activity, create an activity file or a project
// folder, choose the interface language. Three panels take turns in one
// window.
#pragma once

#include "comuns/llistes_fitxers.h"

#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cstdint>
#include <vector>

namespace lumi {

class inici : public QDialog {
    Q_OBJECT
  public:
    // The one dialog, created and loaded on first use.
    static inici* instancia();
    // Whether the dialog is loaded now.
    static bool carregat();
    // Closes the dialog and lets it go; safe from inside its own handlers.
    void descarregar();

    void Form_Load();
    void Command1_Click(int16_t Index);
    void ct_idioma_Click(int16_t Index);
    void Drive1_Change();
    void Dir1_Change();

    // The folder list's path, and setting it (which refreshes the file list).
    QString carpeta() const { return carpeta_pendent_.isEmpty() ? Dir1->path() : carpeta_pendent_; }
    // By value: the pending folder itself is handed in, and cleared here.
    void posar_carpeta(QString carpeta);

    // Main panel.
    QFrame* Frame2 = nullptr;
    std::vector<QPushButton*> Command1;
    std::vector<QRadioButton*> ct_idioma;
    QLabel* Label1 = nullptr;
    // New-exercise panel.
    QFrame* Frame1 = nullptr;
    LlistaUnitats* Drive1 = nullptr;
    LlistaCarpetes* Dir1 = nullptr;
    LlistaFitxers* File1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Text1 = nullptr;
    // New-project panel.
    QFrame* Frame3 = nullptr;
    QLabel* Label5 = nullptr;
    QLineEdit* Text2 = nullptr;

    // Esc and the close button unload the dialog.
    void reject() override;

  private:
    explicit inici(QWidget* parent);
    void crear_controls();
    void mostrar_panell(QFrame* panell, int amplada, int alcada);
    void posar_titol();
    // Button 3's work; `preguntar` asks the discard question. True when the
    // activity file was written.
    bool crear_exercici(bool preguntar);
    void crear_projecte();

    bool descarregat_ = false;
    // The folder the lists open on, until their panel first shows: sorting
    // its names wakes the locale's collation data, which a start that
    // creates no activity never needs.
    QString carpeta_pendent_;
};

} // namespace lumi
