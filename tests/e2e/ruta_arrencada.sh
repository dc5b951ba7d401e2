#!/usr/bin/env bash
# The program's services on the machine's own back ends, loaded where they
# are first used: at rest after the start none of the sound, joystick,
# camera or metafile libraries is mapped, nor the locale's collation data
# read (the start dialog's lists fill when they first show); an activity that plays a sound and
# accepts the webcam and the joystick, started right after the program's
# start, loads them, says there is no camera on this machine, shows its
# question and goes on; a second copy started over it ends at once and is
# told once Esc gives the window back. Then a killed copy, and missing
# modules: told at the start, or, found during the run, once Esc gives the window back.
# shellcheck source=tests/e2e/comu.sh source-path=SCRIPTDIR/../..
source "$(dirname "$0")/comu.sh"

# The libraries the program loads on first use, as they are mapped.
moduls_carregats() {
  grep -oE 'lib(SDL2|Qt6Multimedia|sndfile|wmf|v4l2|lumi_[a-z]+)[^/ ]*\.so' "/proc/$app_pid/maps" | sort -u | tr '\n' ' '
}

unset LUMIRAGA_BACKENDS LUMIRAGA_SINTETIC
mkdir -p "$tmp/programa"
printf '[WEBCAM]\r\ndata=7/12/26\r\nx1=0\r\ny1=0\r\nx2=640\r\ny2=0\r\nx3=640\r\ny3=480\r\nx4=0\r\ny4=480\r\nwc_modus=1\r\n' \
  >"$tmp/programa/lumiraga.ini"
engegar
esperar_inici 10 "at the first start"
captura inici >/dev/null
carregats=$(moduls_carregats)
[ -z "$carregats" ] || fallar "at rest after the start these are already mapped: $carregats"
icu=$(awk '/^[0-9a-f]+-/ {m = /libicudata/} m && /^Rss:/ {s += $2} END {print s + 0}' "/proc/$app_pid/smaps")
[ "$icu" -lt 100 ] || fallar "at rest after the start $icu kB of the locale's data are read"

# A second copy is refused with message 31 and ends; the first goes on.
primer=$app_pid
engegar_programa
segon=$app_pid
llegir_missatge "from a second copy" "$(text_taula catala 31)"
timeout 5 tail --pid="$segon" -f /dev/null || fallar "the refused second copy did not end"
app_pid=$primer
kill -0 "$app_pid" 2>/dev/null || fallar "the first copy ended when a second one was refused"

# One item: the question is a red metafile with a sound; it accepts any key,
# the webcam in zone 1 and the joystick.
python3 - "$tmp/examples/primera/arrencada.lrq" <<'PY'
import os, struct, sys
zeros = lambda n: ["0"] * n
web = zeros(12)
web[11] = "1"
L = ['"LUMIRAGA7.1"', "1"] + ["1"] + zeros(10) + ["1"] + zeros(7) + zeros(15 + 3) + web + zeros(4)
L += ['""', '"W01"', "1", "1", '"1\xbbestrella.jpg"', '"1\xbbcreu.gif"', '""', '""', "60", "0",
      '"1\xbbcercle.wmf\xbbhola.wav"']
L += ["0", '"Arial"', "24", "-1", "0", "65535", "0", '""', '""', "0", "0", "0", '""', "0", "0", "0", "0",
      "5", "0", "1", "1", '"1"', '""', '""', "1"]
L += ["1", "0", "0", "1024", "768", '""', "412", "284", "612", "484", '""', '""', ""]
open(sys.argv[1], "wb").write("\r\n".join(L).encode("cp1252"))
cap = [0xCDD7, 0x9AC6, 0, 0, 0, 100, 50, 72, 0, 0]
regs = [[0x020B, 0, 0], [0x020C, 50, 100], [0x02FC, 0, 0xFF, 0, 0], [0x012D, 0], [0x041B, 50, 100, 0, 0], [0]]
cos = b"".join(struct.pack("<I%dH" % len(r), len(r) + 2, *r) for r in regs)
wmf = struct.pack("<11H", *cap, cap[0] ^ cap[1] ^ 100 ^ 50 ^ 72) + struct.pack("<3HIHIH", 1, 9, 0x300, 9 + len(cos) // 2, 1, 7, 0)
open(os.path.join(os.path.dirname(sys.argv[1]), "cercle.wmf"), "wb").write(wmf + cos)
PY
reengegar_programa "$tmp/examples/primera/arrencada.lrq"
# No camera here: the tracker cannot start and the program says so.
fins=$(($(ara_ms) + 10000))
until [[ "$(moduls_carregats)" == *liblumi_camera* ]]; do
  [ "$(ara_ms)" -lt "$fins" ] || fallar "the webcam activity never tried the camera (mapped: $(moduls_carregats))"
  sleep 0.1
done
sleep 1
captura sense-camera >/dev/null
xdotool key Return
esperar_primera_pregunta "of an activity started with the program"
sleep 1
kill -0 "$app_pid" 2>/dev/null || fallar "lumiraga ended while the activity played"
carregats=$(moduls_carregats)
for b in liblumi_sdl libSDL2 liblumi_media libQt6Multimedia liblumi_imatges libwmf liblumi_camera libv4l2; do
  [[ "$carregats" == *"$b"* ]] || fallar "$b is not mapped while the activity plays (mapped: $carregats)"
done
# A second copy started over the run ends at once and says why on its
# output; the learner's run goes on, and the teacher reads it once Esc gives
# the window back.
primer=$app_pid
engegar_programa
segon=$app_pid
app_pid=$primer
timeout 5 tail --pid="$segon" -f /dev/null || fallar "a second copy started during a run did not end"
grep -qF "$(text_taula catala 31)" "$tmp/lumiraga.log" || fallar "the refused second copy said nothing on its output"
respondre space groc vermell "to the activity started with the program"
[ -z "$sense_reaccio" ] || fallar "$sense_reaccio"
captura resposta >/dev/null
xdotool key Escape
llegir_missatge "from a copy refused during the run, once Esc gave the window back" "$(text_taula catala 31)"

# A copy killed outright leaves its lock file; it keeps no later start out.
kill -9 "$app_pid"
wait "$app_pid" 2>/dev/null
[ -e "$tmp/programa/lumiraga.lock" ] || fallar "the killed copy left no lock file to test against"
engegar_programa
esperar_inici 10 "after a copy was killed"

# A copy of the program and its modules, the media one missing and the SDL
# one writable by the group, both planted under every other name a loader
# may try: hardware-capability subfolders, a second "lib", the library path.
bin=$tmp/bin
mkdir -p "$bin" "$tmp/cami"
cp "$programa" "$(dirname "$programa")"/liblumi_*.so "$bin/"
programa=$bin/lumiraga
for p in {"$bin","$tmp/cami"}{,/haswell,/glibc-hwcaps/x86-64-v{2,3,4},/tls,/x86_64}/{,lib}liblumi_{media,sdl}.so; do
  [ -e "$p" ] || install -D "$bin/$(basename "${p/liblib/lib}")" "$p"
done
rm "$bin/liblumi_media.so"
chmod g+w "$bin/liblumi_sdl.so"
cd "$tmp/cami" && export LD_LIBRARY_PATH=$tmp/cami
for llengua in catala:catala espanol:español galego:galego; do
  l=${llengua%:*}
  printf '\xEF\xBB\xBF[inici]\r\nidioma=%s\r\n' "${llengua#*:}" >"$tmp/programa/lumiraga.ini"
  reengegar_programa "$tmp/examples/primera/arrencada.lrq"
  llegir_missatge "at the start ($l)" # the two modules and the camera, told at once
  llegits=$(xclip -o -selection clipboard 2>/dev/null)
  absent=$(text_taula "$l" 'moduls|absent') refusat=$(text_taula "$l" 'moduls|no_fiable')
  for t in "$(text_taula "$l" 'moduls|media')" "${absent/\%1/$bin/liblumi_media.so}" \
    "$(text_taula "$l" 'moduls|sdl')" "${refusat/\%1/$bin/liblumi_sdl.so}"; do
    [[ "$llegits" == *"$t"* ]] || fallar "no message says \"$t\" ($l); they said: $llegits"
  done
  # The program goes on, on the genuine modules.
  esperar_primera_pregunta "with two modules refused ($l)"
  carregats=$(grep -oE '/[^ ]*liblumi_[a-z]+\.so' "/proc/$app_pid/maps" | sort -u | tr '\n' ' ')
  [ "$carregats" = "$bin/liblumi_camera.so $bin/liblumi_imatges.so " ] || fallar "mapped: $carregats ($l)"
done
# The second item's picture a metafile found only during the run, without its module.
rm "$bin/liblumi_imatges.so"
reengegar_programa "$tmp/examples/primera/primera.lrq"
llegir_missatge "at the start ($l)" "$(text_taula "$l" 'moduls|media')" "$(text_taula "$l" 'moduls|sdl')"
esperar_primera_pregunta "with modules missing"
cp "$tmp/examples/primera/cercle.wmf" "$tmp/examples/primera/quadrat.gif"
respondre space groc negre "on the first item" || fallar "$sense_reaccio"
sleep 1
[ "$(xdotool getwindowfocus getwindowname 2>/dev/null)" != LUMIRAGA ] || fallar "a message came over the run"
xdotool key Escape
llegir_missatge "when Esc gave the window back" "$(text_taula "$l" 'moduls|imatges')"
# From a sticky folder anyone can write to, no module is loaded.
chmod g-w "$bin/liblumi_sdl.so"
chmod 1777 "$bin"
reengegar_programa "$tmp/examples/primera/arrencada.lrq"
llegir_missatge "from a folder anyone can write to" "$(text_taula "$l" 'moduls|no_fiable' | sed "s|%1|$bin|")"
sleep 2
! grep -q liblumi_ "/proc/$app_pid/maps" || fallar "a module was loaded from a folder anyone can write to"
superada=1
