// The player window: the program's main window and its start-up object.
#pragma once

#include "activitat.h"

#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QTimer>
#include <vector>

namespace lumi {

class Form1 : public QMainWindow {
    Q_OBJECT
  public:
    // The one player window (created by the program's main).
    static Form1* instancia();

    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    // Initialises the program; false when it must end at once (a second copy).
    bool Form_Load();
    void Form_Activate();
    void Form_Resize();
    // Cancel is set when the user keeps the program open.
    void Form_Unload(int16_t& Cancel);

    // Caption with a translated fallback for "untitled".
    void posar_titol(const QString& t) { setWindowTitle(t); }

    // Speed menu captions for a speed factor (32-bit float arithmetic).
    static int percentatge_velocitat(float velocitat, int index);

    // Whether the window shows an exercise (full screen).
    bool es_maximitzada() const;

    // Controls, in creation order.
    QLabel* web_cursor = nullptr;
    QTimer* t_web_control = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* t_web = nullptr;
    QWidget* Picture1 = nullptr;
    QTimer* T_so = nullptr;
    QLineEdit* forat = nullptr;
    QTimer* t_joystick = nullptr;
    QTimer* t_estimular = nullptr;
    std::vector<QLabel*> I_zona;
    QLabel* Label_KK = nullptr;
    QLabel* t_total = nullptr;
    QLabel* Label_par = nullptr;
    QLabel* Temps = nullptr;
    QLabel* Image2 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* imatge_fons = nullptr;

    // Menus.
    QMenu* mn_opcions = nullptr;
    QAction* mn_inici = nullptr;
    QMenu* mn_d = nullptr;
    std::vector<QAction*> mn_disc;
    QAction* mn_FITXERS = nullptr;
    QAction* mn_engegar = nullptr;
    QAction* mn_informe = nullptr;
    QAction* mn_fitxer_salvap = nullptr;
    QAction* mn_FI = nullptr;
    QMenu* mn_conf = nullptr;
    QMenu* mn_vel = nullptr;
    std::vector<QAction*> mn_velocitat;
    std::vector<QMenu*> mn_rec_s;
    std::vector<QAction*> mn_fressa;
    std::vector<QAction*> mn_ovs;
    QMenu* mn_id = nullptr;
    std::vector<QAction*> mn_idioma;
    QMenu* mn_ajuda = nullptr;
    QAction* ajuda = nullptr;
    QAction* quant_a = nullptr;

    // The screen-saver entry remembered at start.
    QString estalvi_pantalla;
    // Command line: the activity to load and start, empty for none.
    QString linia_ordres;

  protected:
    void changeEvent(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;

  private:
    void crear_controls();
    void crear_menus();
    void imatge_centrar();
    void mostrar_menus(bool visibles);

    bool activant_ = false;
    bool activat_alguna_vegada_ = false;
};

// The environment a new activity needs from the player window.
EntornNou entorn_nou();
// A new activity in the program's current state.
void exercici_nou();

} // namespace lumi
