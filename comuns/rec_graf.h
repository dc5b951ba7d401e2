// The resource chooser: drive, folder and file lists with a type list, a
// preview of pictures, a play button for sounds, size options for pictures
// and the zone list for a zone picture. triar_fitxers prepares it for one
// choice, shows it modally and reads File1 and flag_graf back.
#pragma once

#include "comuns/llistes_fitxers.h"

#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <vector>

namespace lumi {

class rec_graf : public QDialog {
    Q_OBJECT
  public:
    explicit rec_graf(QWidget* parent = nullptr);

    // The pictures the play button can show.
    enum ImatgeSo { IMATGE_PLAY = 0, IMATGE_STOP = 1, IMATGE_OBRIR = 2 };
    int imatge_so() const { return imatge_so_; }

    // Sets the initial file name and selects it, as the caller does.
    void posar_nom_fitxer(const QString& nom);

    // Controls, in creation order.
    QLabel* Label1 = nullptr;
    LlistaUnitats* Drive1 = nullptr;
    LlistaCarpetes* Dir1 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Text1 = nullptr;
    LlistaFitxers* File1 = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* Tipus_fitxer = nullptr;
    QLabel* Image1 = nullptr;
    std::vector<QPushButton*> so;
    std::vector<QLabel*> Image2;
    QGroupBox* Frame1 = nullptr;
    std::vector<QRadioButton*> MIDA_GRAF;
    QSlider* HScroll1 = nullptr;
    QLineEdit* dibuix_percent = nullptr;
    QComboBox* mn_zona = nullptr;
    QLineEdit* flag_graf = nullptr;
    QLabel* nom_fitxer = nullptr;
    std::vector<QPushButton*> Command1;

    // Event procedures.
    void Form_Load();
    void Form_Activate();
    void nom_fitxer_Change();
    void Tipus_fitxer_Click();
    void Tipus_fitxer_Change(const QString& text);
    void Drive1_Change();
    void Dir1_Change();
    void File1_Click();
    void so_Click(int index);
    void MIDA_GRAF_Click(int index);
    void HScroll1_Change();
    // A percentage typed into the box beside the slider.
    void dibuix_percent_Change();
    void mn_zona_Click(int index);
    void flag_graf_Change();
    void Text1_KeyDown(int KeyCode);
    void Command1_Click(int index);

    // Cancel, Esc and the window's close: no file chosen.
    void reject() override;

  protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

  private:
    void crear_controls();
    void tipus_fitxer_actualitzar(const QString& nom);
    void mostrar_boto_so(int imatge);
    bool es_zona() const;
    int imatge_so_ = IMATGE_PLAY;
};

} // namespace lumi
