// The planner's data without its widgets: the list grids, the order edits,
// the item working copy with its load and store, and the item commands. The
// window shows what this holds and calls it; what the window asks the user
// or what later editors do comes back through PontPlanificador.
#pragma once

#include "core/activitat.h"

#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>

namespace lumi {

// The five lists by number, as the grid arrays index them.
enum : int { LLISTA_CAP = 0, ESTIMULS = 1, SI_BE = 2, SI_MAL = 3, ACCIO = 4, CONSIGNA = 5 };

// The grid markers: "Següent_" and "Anterior_" in the interface language.
QString marca_seguent();
QString marca_anterior();

// A list as an item stores it: the count, "»", the entries joined by "|",
// then the references made absolute. Blank entries are left out; a list of
// one SI_MAL entry keeps that entry untrimmed (`sense_retallar_sola`).
QString llista_item(const QStringList& entrades, int nombre, bool sense_retallar_sola = false);

// Str of a time as the delay boxes show it (" .5", "-1").
QString text_temps(float v);
// The same for the Double the delay rule computes.
QString text_temps_doble(double v);

// Row and column of a grid cell index (1..28).
inline int fila_cella(int index) {
    return (index - 1) / 7 + 1;
}
inline int columna_cella(int index) {
    return (index - 1) % 7 + 1;
}

// The first character that would break a list if typed into an order, an
// entry or a file name ("|", "»" or a double quote), else a null QChar.
QChar caracter_prohibit(const QString& text);

// What the model needs from the window and from the editors still to come.
struct PontPlanificador {
    // A question with OK and Cancel (messages 58, 70, 17, 18, 19); true for OK.
    std::function<bool(int missatge)> preguntar;
    // OK on message 58: lead the user to write a first right reaction; true
    // when one was written (the check then runs again).
    std::function<bool()> primera_reaccio;
    // The delay boxes and the next-file box brought into the activity.
    std::function<void()> retards_confirmar;
    // A failure the user is told of.
    std::function<void(const QString& text)> avisar;
};

// One grid as the repaint leaves it.
struct VistaGraella {
    struct Cella {
        bool visible = false;
        QString text;
        QString tipus; // the kind word the picture comes from, "" for none
    };
    std::array<Cella, 29> celles{};                          // 1..28
    std::array<std::optional<QString>, 29> numeros_ordre{};  // shown order-number captions
    std::array<std::optional<QString>, 5> numeros_entrada{}; // 1..4, shown entry-number captions
};

class ModelPlanificador {
  public:
    PontPlanificador pont;

    // ---- Controls the window shows (the model sets them; the window only
    // mirrors them, with its signals blocked).
    int item_mostrat = 0; // the number box beside the navigator
    int navegador_max = 1;
    std::array<int, 5> barra_max{1, 1, 1, 1, 1}; // list scroll bars 1..4
    std::array<int, 5> barra_valor{1, 1, 1, 1, 1};
    std::array<QString, 5> et_inf{QStringLiteral("ITEMS"), QStringLiteral("?"), QStringLiteral("?"),
                                  QStringLiteral("?"), QStringLiteral("?")};
    std::array<QString, 8> retard{}; // the delay boxes
    QString t_total;
    QString fitxer_so;
    int finestra_opcio = 0;
    int exer_seg = -1; // the selected next-exercise option, -1 for none
    QString fit_exer;
    int tots_be = 0, tots_mal = 0, tots_estimul = 0, tots_temps = 0;
    bool copiar_actiu = false;
    bool enganxar_actiu = false;
    std::array<bool, 8> retard_actiu{true, true, true, true, true, true, true, true};

    // ---- General page.
    // The delay rule: both groups kept consistent, the boxes rewritten in
    // Str form and stored.
    void retard_LostFocus(int Index);
    void tots_temps_Click();
    void atzar_Click(bool marcat);
    void Exer_seg_Click(int Index);
    void fit_exer_LostFocus();
    // "Tria exercici" answered with `fitxer` ("" on Cancel keeps the setting).
    void exercici_triat(const QString& fitxer);
    // "Esborrar": no next activity.
    void exercici_esborrar();
    void Option1_Click(int Index);

    // The action editor's title on a page: message 33, a blank and the word.
    static QString titol_accions(int pagina);
    // The page the action editor opens on for an ACCIO entry, -1 for none.
    static int pagina_accio(const QString& entrada);

    // ---- The ACCIO list, rebuilt from the working copy.
    void accions_llista_omplir();
    // The entries it would show, without touching the lists.
    QStringList accions_entrades() const;

    // ---- Cells.
    // An empty cell where a new order may start. The row above is tested by
    // its order count on a left press, by its first cell otherwise.
    bool punt_insercio(int k, int fila, int columna, bool premsa_esquerra) const;
    QString text_cella(int k, int index) const;
    bool es_marca(const QString& text) const;
    // A right press on ACCIO acts only on the series row while it shows the
    // series from its first entry.
    bool accio_popup_permes(int index) const;
    // A cell dropped within list k; false (nothing written) when refused.
    bool ord_DragDrop(int desti, int origen, int k, int k_origen);
    bool accio_DragDrop(int desti, int origen, int k_origen);
    // What the cell editor stored for cell `index`: a new order there, or the
    // replacement of the order it held; the row keeps its window start.
    void ordre_editada(int index, int k, const QString& text, bool substituir, int inici_abans);
    // The popup's "Esborrar", "Copiar" and "Enganxar"; true when something changed.
    bool menu2_esborrar(int index, int k);
    bool menu2_copiar(int index, int k);
    bool menu2_enganxar(int index, int k);
    QString& portapapers() const;

    // ---- Grids.
    QString entrada(int k, int e) const; // entry e of list k ("" when none)
    int nombre_entrades(int k) const;
    void ordres_OMPLIR(int k);
    void ord_omplir_fila(int fila, int k);
    void ord_seguent(int fila, int k);
    void ord_anterior(int fila, int k);
    void f_et_inf(int k, const QString& ordre);
    // A list scroll bar moved to `valor`.
    void barra_canviada(int k, int valor);
    VistaGraella ordres_repinta(int k) const;

    // ---- Order edits (the caller refills the changed rows).
    // True when the order went into a row that held orders already (the
    // caller's order is then placed and used up).
    bool ord_afagir(int fila, int columna, int k, const QString& contingut);
    void ord_esborrar(int fila, int columna, int k);
    void fila_esborrar(int fila, int k);
    void accio_esborrar(int col);

    // ---- The working copy.
    void item_carregar(int n);
    enum class Desat { fet, sense_accio, cancellat, fora };
    Desat item_desar(int n);
    bool accio_definida() const;
    void item_ultim_mostrar();
    // Shows item n, the last one when n is past it.
    void item_mostrar(int n);
    // The item as a store would write it (codes, lists as edited).
    item item_format_desat() const;
    // The activity settings of the general page into the activity.
    void generals_desar();
    // The navigator moved to `valor`: stores the shown item, loads that one.
    void navegar(int valor);

    // ---- Item commands.
    bool afegir();
    bool esborrar();
    void copiar();
    bool enganxar();
    // Reloads the undo snapshot and shows the item shown before; false (and a
    // report) when it cannot be read.
    bool desfer();
    // Writes the activity as shown now as the undo snapshot (opening, "Nou",
    // "Obrir"); a failure is reported once per planner.
    bool escriure_desfer();
    // Runs before and after each of the teacher's changes: when the activity
    // as shown is no longer what was last seen, what was last seen becomes
    // the snapshot. So "Desfer" gives back the state just before her last
    // change, whatever moves and stores came after it.
    bool punt_desfer();
    // What is shown now is what was last seen: a load or a store is no change.
    void veure();

    void tots_be_Click();
    void tots_mal_Click();
    void tots_estimul_Click();

    // True once a failed snapshot was reported.
    bool desfer_fallat = false;

  private:
    bool preguntar(int missatge) const { return pont.preguntar ? pont.preguntar(missatge) : false; }
    QStringList* llista(int k) const;
    // The entry count nombre_entrades reads, for lists 1..4.
    void posar_nombre_entrades(int k, int n);
    // The grid's copy of list k's entry count, and its scroll bar's range.
    void barra_ajustar(int k);
    void marcar_modificat() const;
    // The general page's settings put into `a` as a store does; true when
    // that changes them.
    bool generals_posar(Activitat& a) const;
    // The activity with the shown item and the general page as they stand.
    Activitat mostrada() const;
    bool desar_desfer(Activitat& a);
    struct {
        Activitat activitat;
        QByteArray ajustos; // its settings as the file writes them
        QByteArray dades;   // the whole file, "" until a change needs it
        bool fet = false;
    } vist_;
};

// A change of the teacher's between two undo points.
class PasDesfer {
  public:
    explicit PasDesfer(ModelPlanificador& m) : m_(m) { m_.punt_desfer(); }
    ~PasDesfer() { m_.punt_desfer(); }
    PasDesfer(const PasDesfer&) = delete;
    PasDesfer& operator=(const PasDesfer&) = delete;

  private:
    ModelPlanificador& m_;
};

} // namespace lumi
