// The action editor without its widgets: what each control holds and what
// each handler does to the working item. The form mirrors this state.
#pragma once

#include "core/activitat.h"

#include <QString>
#include <QStringList>
#include <array>
#include <functional>

namespace lumi {

// What the zone editor gives the action editor; empty until it is built.
struct InterficieZones {
    std::function<int()> calcula_zones_ultim;
    std::function<void(int visor)> zones_mostrar_visor;
};
InterficieZones& interficie_zones();

// The highest zone in use: the zone editor's answer, else the highest
// non-free zone of the activity.
int zones_ultima(const Activitat& a);

// The on-screen keyboard's token for button `index` (0..36), as the key
// table spells it; "" outside.
QString token_teclat_pantalla(int index);

// Tokens of the other pages, built from the converter's own terms.
QString token_ratoli(int boto);    // 1 left, 2 right
QString token_joystick(int index); // 0..7 like the option boxes
QString token_web(int index);      // 1..10 like the option boxes
QString token_zona(int z, bool web);
QString token_veu(int k);
QString token_nivell(const QString& baix, const QString& alt);

// Position just after entry `n` (1-based) of a series text: a token in
// braces or a run of plain characters is one entry.
int fi_entrada_serie(const QString& text, int n);

class ModelAccions {
  public:
    ModelAccions(item& it, Activitat& a, EstatDispositius& d);

    item& it;
    Activitat& a;
    EstatDispositius& d;

    // ---- the load and the fill
    void carregar(); // load steps 2 to 4 and the fill
    void omplir();
    item item_guardat;
    QString sons;
    QString decimes;

    // ---- keys
    std::array<int16_t, 11> caixa_teclat{};
    QStringList tecles;
    int tecla_seleccionada = -1;
    void teclat_click(int index, int16_t valor);
    void tecles_afagir(const QString& vtec);
    void tecles_esborrar(int index);
    void tecles_actualitzar();
    void tecles_suprimir(); // Delete on the key list
    void ok_text(const QString& text);
    void teclat_pantalla(int index);

    // ---- the series text and its icons
    QString paraula;
    int cursor = 0;
    int seleccio = 0;
    QString serie_visual;
    int serie_total = 0;
    int serie_primer = 0;
    std::array<bool, 10> marcada{}; // raised icons 1..7
    bool serie_marcada() const { return caixa_teclat[10] != 0; }
    bool llista_marcada() const { return caixa_teclat[3] != 0; }
    void posar_paraula(const QString& text);
    void series_afagir(const QString& vtec);
    void inserir_al_cursor(const QString& token);
    QString entrada_icona(int i) const; // entry shown by icon 1..7
    void refrescar_icones(bool mostrar_ultimes);
    bool fletxa_enrere() const { return serie_primer >= 1; }
    bool fletxa_endavant() const { return serie_primer + 7 < serie_total; }
    void marcar(int i);
    void icona_premer(int i, bool dret);
    void icona_deixar(int desti, int arrossegada);
    void icones_esborrar();

    // ---- mouse, webcam, joystick
    void ratoli_click(int index, int16_t valor);
    void web_click(int index, int16_t valor);
    void jostick_click(int index, int16_t valor);
    void boto_token(const QString& control, int index);
    QStringList tria_zones_mouse, tria_zones_web;
    QStringList llista_zones_mouse, llista_zones_web;
    int zona_ultima_usada = 0;
    void omplir_combos_zones();
    // True when the zone was added to the item's list.
    bool tria_zona(bool web, int index);
    void tria_zones_mouse_change();
    void esborrar_zona(bool web, int index);
    // The combo entry of zone z, 0 when the combo has none.
    int entrada_zona(bool web, int z) const;

    // ---- voice words and sound level
    QStringList veu1;
    QStringList llista_veu;
    std::array<QString, 2> nivell_so{QStringLiteral("0"), QStringLiteral("128")};
    int16_t niv_so = 0;
    bool nivell_actiu = true;      // niv_so, both bounds and the sound button
    bool entrenament_actiu = true; // "&Crear Patrons" and "&Obrir"
    void niv_so_click(int16_t valor);
    void nivell_so_canviar(int index, const QString& text);
    void nivell_so_perdre_focus();
    // True when the word was added to the list.
    bool veu_triar(int k);
    void veu_esborrar(int index);
    void controlveu_so();
    void recalcular_exclusio();
    bool item_usa_veu() const;
    bool item_usa_nivell() const;

    // ---- ways out: the message number refused with, 0 when it may close
    int acceptar(bool pagina_teclat, QString& llista_tecles);
    int tancar_finestra(const QString& llista_tecles);
    void cancellar();
    void desar_decimes();
};

// 0 when the text is balanced and every token names an input.
bool text_accio_valid(const QString& text);

} // namespace lumi
