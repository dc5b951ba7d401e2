#!/usr/bin/env bash
# The program copied with its modules into a folder of its own: a module
# that is missing, or that others could change, is loaded under none of the
# other names a loader may try, and the program says, in each interface
# language, what will not work and why, then goes on; the genuine modules
# still load. From a folder anyone can write to, no module loads.
# shellcheck source=tests/e2e/comu.sh source-path=SCRIPTDIR/../..
source "$(dirname "$0")/comu.sh"

unset LUMIRAGA_BACKENDS LUMIRAGA_SINTETIC
bin=$tmp/bin
mkdir -p "$bin" "$tmp/cami" "$tmp/programa" "$tmp/activitat"
cp "$arrel"/examples/primera/* "$tmp/activitat/"
cp "$programa" "$(dirname "$programa")"/liblumi_*.so "$bin/"
chmod 755 "$bin"
programa=$bin/lumiraga
# The same modules planted under the hardware-capability subfolders, with a
# second "lib", on the library path and in the working folder.
for m in media sdl; do
  for d in haswell glibc-hwcaps/x86-64-v2 glibc-hwcaps/x86-64-v3 glibc-hwcaps/x86-64-v4 tls x86_64; do
    mkdir -p "$bin/$d" "$tmp/cami/$d"
    for nom in "$bin/$d/liblumi_$m.so" "$bin/$d/libliblumi_$m.so" "$tmp/cami/$d/liblumi_$m.so"; do
      cp "$bin/liblumi_$m.so" "$nom"
    done
  done
  cp "$bin/liblumi_$m.so" "$bin/libliblumi_$m.so"
  cp "$bin/liblumi_$m.so" "$tmp/cami/liblumi_$m.so"
done
rm "$bin/liblumi_media.so"
chmod g+w "$bin/liblumi_sdl.so"
export LD_LIBRARY_PATH=$tmp/cami
cd "$tmp/cami" || exit 1
activitat_serveis "$tmp/activitat/moduls.lrq" 0

# Every module file mapped, by its path.
moduls_carregats() {
  grep -oE '/[^ ]*liblumi_[a-z]+\.so' "/proc/$app_pid/maps" | sort -u | tr '\n' ' '
}

# The activity started with the program; each message read (in any order)
# holds what will not work and why, with the file or folder at fault.
jugar_sense_moduls() {
  local l=${1%:*} idioma=${1#*:} quan=$2 llegits="" m clau cami t
  shift 2
  printf '\xEF\xBB\xBF[inici]\r\nidioma=%s\r\n' "$idioma" >"$tmp/programa/lumiraga.ini"
  if [ -z "$xvfb_pid" ]; then engegar "$tmp/activitat/moduls.lrq"; else reengegar_programa "$tmp/activitat/moduls.lrq"; fi
  for _ in "$@"; do
    llegir_missatge "of a module $quan ($l)"
    llegits+=$missatge_llegit$'\n'
  done
  for esperat in "$@"; do
    IFS=: read -r m clau cami <<<"$esperat"
    for t in "$(text_taula "$l" "moduls|$m")" "$(text_taula "$l" "moduls|$clau" | sed "s|%1|$cami|")"; do
      [[ "$llegits" == *"$t"* ]] || fallar "no message $quan ($l) says \"$t\"; they said: $llegits"
    done
  done
  kill -0 "$app_pid" 2>/dev/null || fallar "lumiraga ended after saying a module is missing ($l)"
}

for llengua in catala:catala espanol:español galego:galego; do
  l=${llengua%:*}
  jugar_sense_moduls "$llengua" "missing or group-writable" \
    "media:absent:$bin/liblumi_media.so" "sdl:no_fiable:$bin/liblumi_sdl.so"
  # The genuine picture module draws the red question.
  esperar_primera_pregunta "with the media and SDL modules refused ($l)"
  carregats=$(moduls_carregats)
  [ "$carregats" = "$bin/liblumi_imatges.so " ] ||
    fallar "mapped are \"$carregats\", not the genuine picture module alone ($l)"
done

# A sticky folder anyone can write to: nothing is loaded from it.
chmod g-w "$bin/liblumi_sdl.so"
chmod 1777 "$bin"
jugar_sense_moduls catala:catala "in a folder anyone can write to" \
  "media:no_fiable:$bin" "sdl:no_fiable:$bin" "imatges:no_fiable:$bin"
sleep 1
carregats=$(moduls_carregats)
[ -z "$carregats" ] || fallar "from a folder anyone can write to, mapped are $carregats"
superada=1
