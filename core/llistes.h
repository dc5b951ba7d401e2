// Item lists, the voice-word list and the text utilities every subsystem
// uses on them.
#pragma once

#include "core/activitat.h"

#include <QString>
#include <functional>

namespace lumi {

// "»": joins the orders of one entry and ends the count of a list.
inline constexpr char16_t separador_ordres = 0xBB;

// Number of entries of the trimmed text cut at the separator's first
// character; 0 for a blank text, a trailing separator adds none.
int llista_comptar(const QString& text, const QString& separador);

// Entry n (from 1) of the trimmed text, made relative to the activity's
// folder; a leading interface-language "Sèrie" word is skipped. "" when there
// is no entry n.
QString llista_element(const QString& text, int n, const QString& separador);
// Same on explicit state: the folder and the word for "Sèrie".
QString llista_element_en(const QString& text, int n, const QString& separador, const QString& carpeta,
                          const QString& paraula_serie);

// What the list maintenance needs from the planner; both may be empty.
struct EntornPlanificador {
    std::function<const item*()> item_editat; // the planner's working item
    std::function<int()> item_mostrat;        // the item the planner shows (its scroll bar)
};
EntornPlanificador& entorn_planificador();

// Old word lists ("gat,gos") become numbers, setting the voice flags of the
// items whose key list holds each word.
void llista_antiga_convertir();
void llista_antiga_convertir(Activitat& a);

// Rebuilds paraules_veu(0) from the voice flags of every item.
void items_series_revisar();
void items_series_revisar(Activitat& a, const item* editat);

// Word w (0..15) added (mode 1) or removed (mode 0) from paraules_veu(0). A
// word stays while an item other than `item_mostrat`, or the item under edit
// `editat` (its series in action text), accepts it or names it in its series.
void series_llista_actualitzar(int k, int mode);
void series_llista_actualitzar(Activitat& a, int item_mostrat, int k, int mode, const item* editat = nullptr);

// A brace text rebuilt from display entries (codis_a_text mode 0): a plain
// run ("µabµ") goes back bare, so runs that become neighbours join, and any
// other entry as a token in braces. Empty entries are left out.
QString serie_de_entrades(const QStringList& entrades);

// Moves the dragged entry of a "»" list before entry p + o; brace list result.
QString llista_index(int p, int index_control, int o, int n, const QString& llista);

// Word-wraps a text to a width; `amplada_text` measures a text in the same
// units, and a longer prefix is never narrower. Lines end with a carriage
// return after a blank or punctuation; a word wider than the width is cut.
// With `linies_max` > 0 only that many lines are made and the rest of the
// text is left out, so the work is bounded whatever the text's length.
QString text_ajustar(const QString& text, int amplada_form,
                     const std::function<int(const QString&)>& amplada_text, qsizetype linies_max = 0);

// The text as the OEM code page (850) shows it through the ANSI one, same length.
QString text_a_oem(const QString& text);
// And back.
QString text_de_oem(const QString& text);

// Kind word of an action text ("TECLAT", "RATOLI", "WEB", "JOYSTICK", "VEU",
// or the next / previous marker word) and of an order ("GRAF", "LRQ", "SO",
// "ANIM", "FLASH", "EXE", "TEXT" or a command keyword); "" for an empty text.
QString icona_accio_tipus(const QString& accio);
QString icona_recurs_tipus(const QString& ordre);

} // namespace lumi
