// Geometry of the selected zone while it is moved or resized: the frame,
// its eight handles, the hit test, the pointer box of a drag and the move
// table. Window pixels throughout; the canvas shares the player's frame.
#pragma once

#include <QRect>
#include <cstdint>

class QPainter;

namespace lumi {

struct zona_rect {
    int16_t x = 0;
    int16_t y = 0;
    int16_t amplada = 0;
    int16_t alcada = 0;
    bool operator==(const zona_rect&) const = default;
};

namespace dimensionar {

constexpr int NANSA_DINS = 8; // inside the rectangle: a move
constexpr int NANSA_FORA = 9; // nowhere: ends the selection
constexpr int MARGE = 7;

// Whole pixels, halves to even (as the form runtime rounds).
int arrodonir(double v);
int16_t a_16(double v); // rounded, then clamped to 16 bits

// Right and bottom edges included, unlike the player's zone test.
bool punt_dins_rect(const zona_rect& r, int px, int py);

// Handle n (0..7), edges included: left, top, right, bottom.
struct Caixa {
    int esquerra, dalt, dreta, baix;
    bool operator==(const Caixa&) const = default;
};
Caixa caixa_nansa(const zona_rect& r, int n);

// 0..7 a handle, 8 inside, 9 outside.
int nansa_buscar(const zona_rect& r, int px, int py);

// Pointer shape for a hit test result.
Qt::CursorShape punter(int nansa);

// Dotted frame and the eight filled handles.
void zona_dibuixar_nanses(const zona_rect& r, QPainter& p);

// The box the pointer is held in while handle n is dragged, in window
// pixels of a W x H window; right and bottom are exclusive (the pointer
// reaches at most right - 1), so a dragged corner keeps width and height
// of at least 1. Returned as left, top, right, bottom in a Caixa.
Caixa retall_arrossegar(const zona_rect& r, int nansa, int W, int H);

// The pointer clamped into that box, for where the window system does not
// hold it.
QPoint dins_retall(const Caixa& c, int px, int py);

// The rectangle after the pointer moved to (X, Y) dragging handle n; dx and
// dy are the grab offset of a move (handle 8).
zona_rect moure(const zona_rect& abans, int nansa, int X, int Y, int dx, int dy);

} // namespace dimensionar
} // namespace lumi
