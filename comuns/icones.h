// The planner's palette pictures: one picture per order kind and per action
// kind, put into the picture cells of the grids and of the action editor.
#pragma once

#include <QImage>
#include <QString>
#include <vector>

class QLabel;

namespace lumi {

// The picture of a kind word as the two kind functions of the core give it
// (GRAF, LRQ, SO..., TECLAT, RATOLI..., a command keyword or a marker word
// in the interface language); a null image for a kind without a picture.
QImage imatge_tipus(const QString& tipus);

// Gives the cell the picture of a kind word already found; "" clears it.
// The kind word back.
QString icona_posar(QLabel* cella, const QString& tipus);
// Sets the cell flat and gives it the picture of the order's kind; the kind
// word, or "" (the cell cleared) for an order without a file part.
QString icona_recurs(const QString& ordre, QLabel* cella);
// Same for an action text; "" for an empty text.
QString icona_accio(const QString& accio, QLabel* cella);
// Every cell from 1 on flat, then cell n raised; an index that is no cell
// does nothing.
void icona_marcar(const std::vector<QLabel*>& celles, int n);

} // namespace lumi
