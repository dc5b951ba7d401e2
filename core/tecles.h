// The key table: Windows virtual-key codes, set-1 scan codes (what activity
// files store), key names and the characters keys type. One fixed table,
// independent of the keyboard layout the program runs under, so a key typed
// live and the same key written as text give the same code.
#pragma once

#include <QString>

namespace lumi {

// Scan code of a virtual key (the mapping of MapVirtualKey type 0); 0 when none.
int vk_a_scan(int vk);
// Virtual key of a scan code (MapVirtualKey type 1); 0 when none.
int scan_a_vk(int scan);

// Scan code of the key that types the character, shifted or not; -1 when no
// single key types it (AltGr characters, accented letters, "#").
int caracter_a_scan(QChar c);

// The key's name: its character for a key that types one, a longer name for
// the others; "" for an unknown scan code.
QString nom_tecla_scan(int scan);

// Mode 0: key name ("{F1}", "{ESPAI}" or its translation) -> " " + virtual key,
// "" when not in the table. Mode 1: virtual key as decimal text -> key name.
// Other modes "". Translated names are those of the interface language (`llengua`).
QString tecla_codi_nom(const QString& text, int mode);
QString tecla_codi_nom_en(const QString& llengua, const QString& text, int mode);

// Qt::Key value -> virtual key / scan code, 0 when the table has no such key.
// `teclat_numeric`: the key came from the numeric keypad.
int qt_a_vk(int qt_key, bool teclat_numeric);
int qt_a_scan(int qt_key, bool teclat_numeric);

// "H" + 2 hex digits of the scan code.
QString codi_tecla(int vk);
QString codi_tecla_qt(int qt_key, bool teclat_numeric);

// Two upper-case hex digits, zero-padded; only the last two digits of a
// larger number.
QString hex2(int n);

} // namespace lumi
