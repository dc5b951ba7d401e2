// Input codes: three characters per accepted input ("H1E" a key, "M02" a left
// click, "Z03" a mouse zone...), and the readable action text that shows
// them as tokens between braces.
#pragma once

#include "core/activitat.h"

#include <QString>
#include <cstdint>

namespace lumi {

// Mode 0: action text -> codes; mode 1: codes -> action text; other modes "".
// Key names and terms are those of the interface language (`llengua`); when
// reading, Catalan ones are taken too.
QString accions_text_a_codis(const QString& text, int mode);
QString accions_text_a_codis_en(const QString& llengua, const QString& text, int mode);

// Mode 0: brace text -> display form ("{a}{b}" -> "a»b"); mode 1 back.
// Other modes return the text unchanged.
QString codis_a_text(const QString& text, int mode);

// 0: " " -> "»"; 1: "»" -> " "; 2: "," -> "^"; 3: "^" -> ","; else unchanged.
QString escapar_text(const QString& text, int mode);

// Codes built from one live input; always three characters. A result that is
// no code (blanks, NULs) is found in no code sequence.
QString codi_veu(int caracter);
QString codi_joystick(const QString& event);
QString codi_clic_ratoli(int boto, float x, float y);
QString codi_clic_ratoli(const Activitat& a, int boto, float x, float y);
QString zona_web_cam(int x, int y, const QString& codi);
QString zona_web_cam(const Activitat& a, int x, int y, const QString& codi);

// Left and top inside, right and bottom outside.
bool zona_conte(const zona& z, int x, int y);

bool claus_equilibrades(const QString& text);

// Whether some item other than `exclos` (0 for none) uses the device:
// -1 true, 0 false.
int16_t usa_web_cam(int exclos);
int16_t usa_nivell_so(int exclos);
int16_t usa_veu(int exclos);
int16_t usa_web_cam(const Activitat& a, int exclos);
int16_t usa_nivell_so(const Activitat& a, int exclos);
int16_t usa_veu(const Activitat& a, int exclos);
int16_t usa_joystick(const Activitat& a);
// 1 when some item reacts to the pointer moving over it.
int16_t usa_opcio_item();
int16_t usa_opcio_item(const Activitat& a);

} // namespace lumi
