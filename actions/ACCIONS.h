// The action editor: which inputs the item under edit accepts. Every control
// goes through the model beside it, which writes the working item at once.
#pragma once

#include "actions/dimensionar.h"
#include "actions/model_accions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <array>
#include <vector>

class QMenu;
class QMenuBar;

namespace lumi {

class TelaZones;
class VisorZones;

class ACCIONS : public QDialog {
    Q_OBJECT
  public:
    ACCIONS(item& it, Activitat& a, EstatDispositius& d, QWidget* pare);
    ~ACCIONS() override;

    ModelAccions model;

    // Page p (Canc index 2..6, or the page number through `obrir_pagina`;
    // page 4 is the full-screen zone editor).
    void Canc_Click(int Index);
    void obrir_pagina(int pagina, const QString& titol);
    void done(int r) override;
    void reject() override;
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

    // Event procedures of the page controls.
    void teclat_Click(int Index);
    void Command1_Click(int Index);
    void llista_tecles_Change();
    void ok_text_Click();
    void ratoli_Click(int Index);
    void web_Click(int Index);
    void jostick_Click(int Index);
    void mouse_Click(int Index);
    void joy_Click(int Index);
    void B_web_Click(int Index);
    void Command2_Click();
    void tria_zones_mouse_Click();
    void tria_zones_web_Click();
    void veu1_Click();
    void niv_so_Click();
    void nivell_so_Change(int Index);
    void decimes_Change();
    void Paraula_Change();
    void CommandEntrenament_Click();
    void CommandObrir_Click();
    void CommandGuardar_Click();
    void CommandVeureLesFuncions_Click();
    void CommandControlDelVolum_Click();

    // ---- the full-screen zone editor
    void dibuixar_zones();
    void CREAR_ZONES_Click(int Index);
    int calcula_zones_ultim() const;
    int busca_zona() const;
    void zona_selecciona(int k);
    void zones_mostrar_visor(int Index);
    void zona_arrossegar_amagar(int p);
    // Window pixels of the canvas, as the player's window has them.
    void Form_MouseDown(Qt::MouseButton boto, QPointF p);
    void Form_MouseMove(Qt::MouseButtons botons, QPointF p);
    void Form_MouseUp(Qt::MouseButton boto, QPointF p);
    void nzona_MouseDown(int Index, Qt::MouseButton boto, QPoint on);
    void mn_opcions_Click();
    void mn_zona_Click(int Index);
    void quadric_Click(int Index);
    void ScrollH_Change();
    void ScrollV_Change();
    void TxH_LostFocus();
    void TxV_Change();
    // The selected zone (its label yellow), 0 when none.
    int zona_seleccionada() const { return seleccionada_; }

    int estat_zones = 0;
    zona zona_nova{};
    zona_rect marc{64, 64, 217, 145};
    int arrossegant = 0;
    int nansa_activa = 0;
    int desplacament_x = 0;
    int desplacament_y = 0;
    TelaZones* tela = nullptr;
    QMenuBar* barra_zones = nullptr;
    QMenu* mn_opcions = nullptr;
    std::array<QAction*, 5> mn_zona{};
    QScrollBar* ScrollH = nullptr;
    QScrollBar* ScrollV = nullptr;
    QLineEdit* TxH = nullptr;
    QLineEdit* TxV = nullptr;
    std::array<QPushButton*, 2> quadric{};
    QLabel* avis_subdividir = nullptr;
    std::array<QWidget*, 7> visor_zones{};
    std::array<QLabel*, 7> i_fons{};
    VisorZones* zm = nullptr; // the labels of the mouse page's preview
    VisorZones* zw = nullptr; // and of the webcam page's
    QImage picFlag;
    bool picFlag_visible = false;
    zona_rect marc_inici{}; // where the picture stays while a drag lasts

  protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void changeEvent(QEvent* e) override;

  private:
    void construir();
    void construir_zones();
    void desar_pendent();
    void zona_arrossegar_iniciar(Qt::MouseButton boto, int X, int Y);
    void zona_arrossegar_moure(int X, int Y);
    void zona_arrossegar_acabar();
    // Ends a drag without a redraw: the pointer is set free.
    void soltar_punter();
    void refusar_zona_nova(const QString& clau);
    int seleccionada_ = 0;
    int pagina_abans_ = -1;
    dimensionar::Caixa retall_{};
    bool refusat(int missatge);
    void cursor_serie();
    void boto_token(const QString& control, int Index);
    void tria_zona(bool web, int Index);
    void engine_unitat(const std::function<void()>& seguir);
    QPoint premsa_{};
    int premuda_ = 0;
};

} // namespace lumi
