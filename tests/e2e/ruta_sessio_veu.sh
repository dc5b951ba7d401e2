#!/usr/bin/env bash
# A training session as it goes in a classroom, through our engine and the
# synthetic microphone (tests/dades/veu_sessio.txt: "a", "o" and "mama" with
# a cough, a chair scraped, an "a" said when «2» was asked for and a false
# start among them): "Crear Patrons" trains the list "1,2,3," as a teacher
# who says what the window asks for. Then a run of one item that takes word
# 2 hears the session again: the three "o" answer it, and neither a stray
# nor the "a" said by mistake does.
# shellcheck source=tests/e2e/comu.sh source-path=SCRIPTDIR/../..
source "$(dirname "$0")/comu.sh"

microfon_de veu_sessio.flac

engegar
# One item (the other two gone), taking word 2; reactions of a picture alone
# for 0.3 s, so no sound pauses the microphone; the list "1,2,3,".
LC_ALL=C sed -i $'2s/.*/1\r/;24s/.*/1\r/;58,59s/.*/0.3\r/;60s/.*/"1\xbbestrella.jpg"\r/;61s/.*/"1\xbbcreu.gif"\r/;67,194d;202s/.*/"1,2,3,"\r/;206s/.*/0\r/' \
  "$tmp/examples/primera/primera.lrq"
enregistrar_patrons
sleep 26 # the session lasts 24 s
captura entrenat >/dev/null

menu_opcions 4
esperar_primera_pregunta "of the second run"
sleep 26
llegir_informe
be=$(comptador "Respostes BE")
[ "${be:-0}" = 3 ] || fallar "the three \"o\" should answer the item, and nothing else (Respostes BE=${be:-missing})"
superada=1
