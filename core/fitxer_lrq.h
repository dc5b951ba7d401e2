// Activity files (".lrq"): the writer of the current version and the reader
// of every version the program ever wrote. The work is done by two functions
// on values, so they can be tested and fuzzed without the program around
// them; desar_exercici and carregar_exercici apply them to the current
// activity and tell the player through the hooks below.
#pragma once

#include "core/activitat.h"
#include "core/avisos.h"

#include <QByteArray>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace lumi {

// Header of the version written.
inline const QString CAPCALERA_ACTUAL = QStringLiteral("LUMIRAGA7.1");

// The versions a file may hold, oldest first.
enum class Versio { v1, v2, v3, v4, v4_1, v4_2, v5, v6, v6_1, v7, v7_1 };

// The exact header that names a version ("LUMIRAGA4_1").
QString capcalera_versio(Versio v);

// The whole file for an activity: Windows-1252 with CR LF, or UTF-8 with a
// byte-order mark when some character does not fit or when its texts would
// read back as UTF-8. References are stored
// relative to `carpeta`, command keywords in Catalan whatever `llengua_interficie`.
QByteArray escriure_activitat(const Activitat& a, const QString& llengua_interficie, const QString& carpeta);

// What the reader needs from outside the file.
struct OpcionsLectura {
    QString llengua;  // interface language the keywords are turned into
    QString carpeta;  // folder that relative references resolve against
    QRect escriptori; // this machine's desktop: zone 0, and the scale of the saved zones
};

struct ResultatLectura {
    Activitat activitat;        // what was read, over the values it started from
    int missatge = 0;           // 0, or 45 (unreadable or damaged) / 46 (newer version)
    QString text_missatge;      // the message, a line break and the path; empty when none
    QString capcalera;          // the header as read
    bool usa_nivell_so = false; // some item reacts to the sound level
    bool utf8 = false;          // the text values were UTF-8
};

// Reads an activity file. `base` supplies what the version lacks (the
// new-activity defaults when the caller ran exercici_nou first); `cami` only
// goes into the message. Pure: no hook is called and nothing global changes.
ResultatLectura llegir_activitat(const QByteArray& dades, const QString& cami, const Activitat& base,
                                 const OpcionsLectura& opcions);

// One raw value of an activity file, as a reader takes values in order.
struct ValorFitxer {
    QByteArray dades;
    bool entre_cometes = false;
    bool sense_tancar = false; // the file ended inside the quotes
};
// Every value of a file, in order (the line structure does not matter).
std::vector<ValorFitxer> valors_fitxer(const QByteArray& dades);

// Writes the current activity to `path`, whole or not at all. False when the
// file could not be written: the old file, the caption, `fitxer_actual` and
// `exercici_modificat` are then as they were. A snapshot path (see
// es_fitxer_desfer) changes neither caption nor `fitxer_actual`.
bool desar_exercici(const QString& path);
// The same with the keywords written from `llengua_interficie` and the
// references relative to `carpeta`, whatever the program's.
bool desar_exercici(const QString& path, const QString& llengua_interficie, const QString& carpeta);

// Loads the activity file at `path` into the current activity (one leading and
// one trailing double quote are stripped), in the interface language; the
// activity folder becomes the file's (the undo snapshot keeps the current
// one). Refusals and damage are told through avis_usuari(). False when the
// file was refused (unreadable, of no known version): the activity, its file,
// its modified flag and its folder are then as they were.
bool carregar_exercici(const QString& path);

// Hooks the player sets; all may be empty.
// The player window's caption.
std::function<void(const QString&)>& titol_finestra();
// The speech engine's opening of a word-pattern folder; empty while there is no engine.
std::function<bool(const QString& carpeta)>& veu_obrir_paraules_carpeta();
// This machine's desktop rectangle; when empty, the current zone 0 is used.
std::function<QRect()>& escriptori_actual();

// The last activity file refused or found damaged on load (message 45 or
// 46): what is saved over it must not go unasked.
QString& fitxer_refusat();

// The per-user undo snapshot the planner writes and reloads.
QString& cami_desfer();
// True for the undo snapshot's own path (cami_desfer); false while it is unset.
bool es_fitxer_desfer(const QString& path);

} // namespace lumi
