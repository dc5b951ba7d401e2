#!/usr/bin/env bash
# A sound-level exercise heard through our speech engine: the example's first
# item made to accept a level from 20 to 128, the microphone (synthetic,
# playing a tone) answers it without a key being pressed, after word recognition.
# shellcheck source=tests/e2e/comu.sh source-path=SCRIPTDIR/../..
source "$(dirname "$0")/comu.sh"

# Thirty seconds of a 440 Hz tone at a quarter of full scale (level 32).
python3 - "$tmp/to.wav" <<'PY'
import array, math, sys, wave
w = wave.open(sys.argv[1], "wb")
w.setnchannels(1)
w.setsampwidth(2)
w.setframerate(16000)
w.writeframes(array.array("h", (int(8192 * math.sin(2 * math.pi * 440 * i / 16000)) for i in range(16000 * 30))).tobytes())
w.close()
PY
export SDL_AUDIODRIVER=dummy LUMIRAGA_BACKENDS=microfon:sintetic LUMIRAGA_SINTETIC="microfon:wav=$tmp/to.wav"

engegar
# The first item's sound level (the item's lines 37 to 39): on, 20 to 128.
sed -i '37s/.*/1\r/;38s/.*/20\r/;39s/.*/128\r/' "$tmp/examples/primera/primera.lrq"
esperar_inici 10 "at the first start"
xdotool key Escape
obrir_configurar
xdotool key Down Down Right Return # Recuperar patrons, as a teacher does to reach the level meter
esperar_finestra "^$(text_taula catala 'motor_veu|obrir')\$" 10 || fallar "\"Recuperar patrons\" opened no dialog"
xdotool key Escape
menu_opcions 1
esperar_inici 5 "after the patterns"
engegar_des_de_inici
esperar_color 'groc|verd' 20 || # the tone answers at once: red can pass unseen
  fallar "the tone did not answer the first item (the screen's middle stayed $color_vist)"
captura reaccio-al-to >/dev/null
llegir_informe
comprovar_informe "Respostes BE=1" "Respostes malament=0"
superada=1
