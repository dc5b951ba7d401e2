// The activity held in memory: items, zones and the activity-wide settings,
// plus the player's and the devices' shared state. Field names are the ones
// the activity file and every subsystem use.
#pragma once

#include <QRect>
#include <QString>
#include <algorithm>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace lumi {

struct item {
    std::array<int16_t, 11> teclat{};
    std::array<int16_t, 4> ratoli{};
    QString zones_ratoli;
    QString text_reserva; // memory only, never stored
    QString tecles_llista;
    QString serie;
    std::array<int16_t, 9> jostick{}; // element 8 is memory only
    std::array<int16_t, 13> web{};    // element 12 is memory only
    QString zones_web;
    std::array<int16_t, 3> nivell{};
    std::array<int16_t, 16> veu{}; // element 15 is memory only
    QString estimuls;
    QString si_be;
    QString si_mal;
    float retard_be = 0;
    float retard_mal = 0;
    float retard_accio = 0;
    float retard_estimul = 0;

    bool operator==(const item&) const = default;
};

struct zona {
    int32_t esquerra = 0;
    int32_t dalt = 0;
    int32_t dreta = 0;
    int32_t baix = 0;
    QString imatge;

    bool operator==(const zona&) const = default;
};

// A zone with all four edges 0 was never drawn (the sum is taken wide, so
// edges that cancel out in 16 bits still count).
inline bool zona_dibuixada(const zona& z) {
    return static_cast<int64_t>(z.esquerra) + z.dalt + z.dreta + z.baix != 0;
}

// A zone's rectangle moved by `d` both ways, summed wide: a file may hold any
// 32-bit coordinates. The edges are clamped far beyond any screen, where
// QRect still holds them; right and bottom are outside.
QRect rectangle_zona(const zona& z, int d = 0);

struct font_text {
    QString nom;
    int16_t mida = 0;
    int32_t color = 0;   // 0x00BBGGRR
    int16_t negreta = 0; // -1 true
    int16_t cursiva = 0; // -1 true

    bool operator==(const font_text&) const = default;
};

// Truth values stay 16-bit -1 / 0, as stored in files.
constexpr int16_t CERT = -1;
constexpr int16_t FALS = 0;

// Everything an activity file holds, and the current file.
struct Activitat {
    std::vector<item> items{1}; // element 0 is the player's scratch item
    int16_t nombre_items = 0;
    std::vector<zona> zones{1};
    int16_t zones_max = 0;
    QString fitxer_actual;
    int16_t exercici_modificat = FALS;
    font_text font;
    int32_t color_fons = 0;
    QString fitxer_imatge_fons;
    QString fitxer_so_fons;
    int32_t reserva_llarg = 0;
    int16_t reserva_enter = 0;
    int16_t finestra_opcio = 0;
    std::array<QString, 33> paraules_veu{}; // only element 0 belongs to the activity
    QString carpeta_veu;
    int16_t decimes_veu = 0;
    QString consigna;
    int16_t temps_total = 0;
    int16_t tots_be_global = 0;
    int16_t tots_mal_global = 0;
    int16_t tots_estimul_global = 0;
    int16_t tots_temps_global = 0;
    float retard_tots_be = 0;
    float retard_tots_mal = 0;
    float retard_tots_accio = 0;
    float retard_tots_estimul = 0;
    QString mode_estimul;
    QString exercici_seguent;

    // The planner's grid arrays: bounds (0..5, 0..4, 0..7) and (0..5, 0..4, 2..3).
    std::array<std::array<std::array<QString, 8>, 5>, 6> graella_celles{};
    std::array<std::array<std::array<int16_t, 2>, 5>, 6> graella_comptes{};
};

// The last zone slot the table holds: zones_max, unless the list is shorter.
inline int zona_darrera(const Activitat& a) {
    return std::min<int>(a.zones_max, static_cast<int>(a.zones.size()) - 1);
}

// Split lists of the item being played or edited; entries 1..count, element 0 empty.
struct Llistes {
    int16_t nombre_estimuls = 0;
    int16_t nombre_be = 0;
    int16_t nombre_mal = 0;
    QStringList llista_estimuls{QString()};
    QStringList llista_be{QString()};
    QStringList llista_mal{QString()};
    QStringList llista_accio{QString()};
};

// JOYINFO as the joystick service fills it.
struct JOYINFO {
    int32_t wXpos = 0;
    int32_t wYpos = 0;
    int32_t wZpos = 0;
    int32_t wButtons = 0;
};

// Device state shared by the player, the devices and the editors.
struct EstatDispositius {
    int16_t nivell_so_actiu = 0;
    int16_t nivell_so_item = 0; // the item in the planner uses the sound level
    int16_t fonemes_actiu = 0;  // another item than the planner's uses voice words
    int16_t fonemes_item = 0;   // the item in the planner uses voice words
    int16_t veu_activa = 0;
    int16_t omvis_estat = 0;
    int16_t motor_veu_preparat = FALS;
    float versio_motor_veu = 0;
    int32_t procOld_rec = 0;
    int32_t procOld_so = 0;
    int16_t nivell_so = 0;
    std::array<int16_t, 11> nivells_so{};
    int16_t num_paraules_veu = 0;
    int16_t wc_retard = 0;
    int16_t wc_modus = 0;
    int16_t web_inv_v = 0;
    int16_t web_inv_h = 0;
    // The webcam's capture window (0 when none) and the camera-to-screen map:
    // the system stored transposed, the work matrix, the inverse and K1..K8,
    // all indexed from 1 as the calibration writes them.
    int32_t captura_hwnd = 0;
    using MatriuCalibracio = std::array<std::array<double, 17>, 9>;
    MatriuCalibracio matriu_a{};
    MatriuCalibracio matriu_b{};
    MatriuCalibracio matriu_c{};
    std::array<double, 9> coeficients_calibracio{};
    JOYINFO joy_info;
    JOYINFO joy_centre;
    int16_t num_joystick = 0; // 0 until the first probe, 100 when none was found
    int16_t sensibilitat_joystick = 0;
    int16_t joystick_sense_us = 0;
    int16_t num_joy_botons = 4;
    QStringList joy_botons{QStringLiteral("1234"), QStringLiteral("1"), QStringLiteral("2"),
                           QStringLiteral("3"), QStringLiteral("4")};
};

// The player's memory that the activity core resets or reads.
struct EstatJugador {
    float velocitat = 1.0f;
    int16_t item_anterior = 0;
    QString reaccio_be_anterior;
    QString reaccio_mal_anterior;
    int16_t estat_carrega = 0;
    int16_t estat_finestra = 0;
    int16_t marge_x = 0;
    int16_t marge_y = 0;
    int16_t index_actual = 0;
    QString media_actual;
    QString item_salt;            // item forced by an ITEM order, read by the next question
    int16_t usa_ratoli_sobre = 0; // some item reacts to the pointer moving over it
};

// The planner's working state that the editors beside it read and write.
struct EstatPlanificador {
    std::vector<item> item_editat{1}; // element 0 the working copy; element 1 a copied item
    font_text font_editada;
    bool temps_tots_canviats = false;
    bool sel_be = false;
    bool sel_mal = false;
    bool sel_est = false;
    // The planner is shown; the player's Esc stop and the planner's file
    // commands clear it while both windows are loaded. Nothing reads it.
    bool visible = false;
};

// The program's current instances.
Activitat& activitat();
EstatPlanificador& planificador();
Llistes& llistes();
EstatDispositius& dispositius();
EstatJugador& jugador();
QString& idioma();

// What a new activity needs from outside the core.
// Every callback may be empty.
struct EntornNou {
    QRect escriptori;                                // zone 0: the desktop (right = width, bottom = height)
    std::function<bool(int)> joystick_provar;        // tests joystick id 0..4
    bool joystick_diferit = false;                   // probed at its first use (provar_joysticks), not here
    std::function<void(int32_t)> restaurar_finestra; // puts a replaced window hook back
    std::function<bool()> finestra_maximitzada;      // an exercise is being shown
    std::function<void(const QString&)> posar_titol; // the player's caption
};

// Looks for the joystick, once per process: while num_joystick is 0, tries
// ids 0 to 4 with `provar` until one answers; with none found the number
// stays 100.
void provar_joysticks(EstatDispositius& d, const std::function<bool(int)>& provar);

// Resets the activity, lists and the related player and device state to a new
// activity. Returns nothing; every step runs.
void exercici_nou(Activitat& a, Llistes& l, EstatDispositius& d, EstatJugador& j, const EntornNou& entorn);

// Splits a list text ("2»a.bmp|b.bmp") into entries 1..count of `llista`.
// Returns the count; with a count of 0 the list is left untouched.
int16_t dividir_llista(const QString& text, QStringList& llista);

// The three list splits of item i of the current activity.
void carregar_llista_estimul(int i);
void carregar_llista_be(int i);
void carregar_llista_mal(int i);

} // namespace lumi
