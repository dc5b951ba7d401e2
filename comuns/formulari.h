// What every form shares: translating its captions from the language tables
// and the captions and texts of its controls, whatever their Qt kind.
#pragma once

#include <QColor>
#include <QObject>
#include <QString>
#include <cstdint>

class QPoint;
class QWidget;

namespace lumi {

// Property of a window that the player does not count as one of its forms.
inline constexpr char FORA_DEL_RECOMPTE[] = "fora_del_recompte";

// A control's caption (label, button, menu item, group title) and its text
// (line edit, combo box); empty when it has none.
QString caption_control(const QObject* control);
QString text_control(const QObject* control);
void posar_caption(QObject* control, const QString& caption);
void posar_text(QObject* control, const QString& text);

// The control-array index of a control ("index" property), -1 when none.
int index_control(const QObject* control);

// Names a control (and its index in a control array) as the form knows it.
template <class T> T* anomenar(T* o, const QString& nom, int index = -1) {
    o->setObjectName(nom);
    if (index >= 0) o->setProperty("index", index);
    return o;
}

// A colour as activity files store it (0x00BBGGRR).
inline QColor color_desat(int32_t bgr) {
    const auto c = static_cast<uint32_t>(bgr);
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

// Every named control of the form, in the order the form created them.
QList<QObject*> controls_formulari(QObject* form);

// Moves the window `w` so that its frame's top left corner is at `lloc`, or
// as near as keeps it whole inside the free area of the screen it falls on.
void moure_dins_pantalla(QWidget* w, const QPoint& lloc);
// The same, centred over the window `sobre`.
void centrar_dins_pantalla(QWidget* w, const QWidget* sobre);

// Replaces each control's caption by its translation under its caption key;
// controls without an entry keep the caption they have.
void tradueix_formulari(QObject* form);

} // namespace lumi
