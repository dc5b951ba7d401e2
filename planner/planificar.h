// The planner window: edits the activity item by item. The data and its
// rules are the model's; the window shows the model and passes it the
// user's commands.
#pragma once

#include "planner/model_planificador.h"

#include <QCheckBox>
#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <array>
#include <vector>

namespace lumi {

class planificar : public QDialog {
    Q_OBJECT
  public:
    explicit planificar(QWidget* parent = nullptr);
    ~planificar() override;

    // The planner while it is loaded, else null.
    static planificar* instancia();
    // Loads the planner over `pare` and shows it modally until it closes.
    static void mostrar(QWidget* pare);

    ModelPlanificador model;

    void Form_Load();
    void Form_Unload();
    void menu1_Click(int Index);
    void reaccions_Click(int Index);
    void et_inf_Click(int Index);
    void Command1_Click(int Index);
    void mn_acc_Click(int Index);
    void mn_disc_Click(int Index);
    void desfer_Click();
    void mn_czones_Click();
    void mn_sortir_Click();
    void ajuda_Click();
    void quant_a_Click();
    void HScroll1_Change();
    // A list's scroll bar moved.
    void VScroll_Change(int k);
    void ord_seguent(int fila, int k);
    void ord_anterior(int fila, int k);

    // Shows the model: every control takes its value without running a handler.
    void mostrar_model();
    void ordres_repinta(int k);
    // The values typed into the general page, into the model.
    void capturar();

    // ---- Cells, the order popup and the editors.
    bool sel_acc = false;
    bool sel_cons = false;
    void cella_MouseDown(int k, int Index, Qt::MouseButton boto);
    void cella_MouseMove(int k, int Index, Qt::MouseButtons botons);
    // The drag in progress ended over cell `desti` of list `k` (0: elsewhere).
    void cella_DragDrop(int k, int desti);
    void cella_DblClick(int k, int Index);
    void amagat_Click();
    void menu2_Click(int Index);
    // The action editor on a page; -1 without choosing one.
    void ACC_Click(int Index);
    // The marked cell of list k, 0 for none.
    int marcada(int k) const { return marcades_[static_cast<size_t>(k)]; }
    bool arrossegant() const { return arrossegament_.k != 0; }

    // ---- General page.
    void retard_LostFocus(int Index);
    void tots_temps_Click();
    void fit_exer_LostFocus();
    void buto_Click(int Index);
    void so_Click();
    bool so_sonant() const { return so_sonant_; }

    // ---- Controls, in creation order.
    QMenuBar* barra = nullptr;
    QMenu* mn_d = nullptr;
    std::vector<QAction*> mn_disc;
    std::array<QAction*, 7> menu1_accio{}; // 0, 2, 3: pages
    std::array<QMenu*, 7> menu1_menu{};    // 1, 4, 6: submenus
    std::vector<QAction*> mn_acc;
    std::array<QAction*, 5> reaccions{}; // 3, 4
    QAction* desfer = nullptr;
    QAction* mn_czones = nullptr;
    QAction* mn_sortir = nullptr;
    QMenu* mn_ajuda = nullptr;
    QAction* ajuda = nullptr;
    QAction* quant_a = nullptr;
    QMenu* amagat = nullptr;
    std::array<QAction*, 5> menu2{};

    QLabel* etiqueta = nullptr;
    QLineEdit* Label2 = nullptr;
    QScrollBar* HScroll1 = nullptr;
    std::array<QPushButton*, 6> Command1{}; // 4, 5
    std::array<QLabel*, 5> et_inf{};

    QFrame* Frame0 = nullptr;
    QFrame* Frame3 = nullptr;
    QFrame* Frame1 = nullptr;
    std::array<QFrame*, 2> Frame2{};

    // The grids by list number: cells 0..28 (CONSIGNA 0..7), order-number
    // labels 0..28, entry-number labels 0..4, scroll bars.
    std::array<std::vector<QLabel*>, 6> celles;
    std::array<std::vector<QLabel*>, 4> numeros_ordre;
    std::array<std::vector<QLabel*>, 4> numeros_entrada;
    std::array<QScrollBar*, 5> barres{};
    QCheckBox* tots_estimul = nullptr;
    QCheckBox* tots_be = nullptr;
    QCheckBox* tots_mal = nullptr;

    // General page.
    QLabel* inf_con = nullptr;
    QLabel* titol_consigna = nullptr;
    std::array<QLabel*, 6> inf{}; // the lists' hover labels (5 is inf_con)
    QLineEdit* intents = nullptr;
    std::array<QLabel*, 5> Label3{};
    QLineEdit* t_total = nullptr;
    QLineEdit* fitxer_so = nullptr;
    std::array<QPushButton*, 8> buto{};
    std::array<QRadioButton*, 2> Option1{};
    QGroupBox* Frame5 = nullptr;
    std::array<QRadioButton*, 3> Exer_seg{};
    QLineEdit* fit_exer = nullptr;
    QLabel* Text2 = nullptr;
    QLabel* IMG_fons = nullptr;
    QLabel* so = nullptr;
    QCheckBox* atzar = nullptr;
    QCheckBox* tots_temps = nullptr;
    std::array<QLineEdit*, 8> retard{};
    std::array<QLabel*, 9> Label1{};

  protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

  private:
    // Opens the cell editor on cell `Index` of list k; true when it stored.
    bool editor_obrir(int k, int Index, const QString& contingut, bool doble_clic);
    void marcar(int k, int Index);
    void posar_sel(int k, bool valor);
    int llista_sel() const;
    void refrescar();
    void mostrar_so();
    void connectar_general();
    std::array<int, 6> marcades_{};
    int index_actual_ = 0;
    struct {
        int k = 0;
        int index = 0;
    } arrossegament_;
    bool editor_de_premsa_ = false;
    bool so_sonant_ = false;
    void crear_controls();
    void crear_menus();
    void crear_graella(int k, QWidget* pare, const QString& nom, int files, int x, int y);
    void mostrar_pagina(QFrame* pagina, int missatge);
    void mostrar_general();
    // The file commands when both windows are loaded: the planner is not
    // the window shown meanwhile.
    void amagar_si_sols_dos();
    bool descarregat_ = false;
};

} // namespace lumi
