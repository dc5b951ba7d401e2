# shellcheck shell=bash
# Steps shared by the end-to-end routes: the real program under a virtual X
# server of its own, driven as a person drives it (keys and clicks through
# XTEST), watched through the screen's pixels and the clipboard.
#
# Sourced by a route script with the program's path as its first argument.
# Everything lives in a temporary folder (home, runtime folder, program
# folder, a copy of the examples); it is removed when the route passes and
# kept, with its screenshots and the program's output, when it fails (or
# when LUMI_E2E_CONSERVAR is set).

set -uo pipefail

programa=${1:?the lumiraga executable}
arrel=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
ruta=$(basename "$0" .sh)

for eina in Xvfb xdotool xclip import; do
  if ! command -v "$eina" >/dev/null; then
    echo "SKIP: $eina is missing (scripts/deps.sh installs it)"
    exit 77
  fi
done

tmp=$(mktemp -d "${TMPDIR:-/tmp}/lumi-e2e-$ruta.XXXXXX")
superada=0
xvfb_pid=""
app_pid=""
gestor_pid=""

acabar() {
  if [ -n "$app_pid" ]; then
    kill "$app_pid" 2>/dev/null
    wait "$app_pid" 2>/dev/null
  fi
  [ -z "$gestor_pid" ] || kill "$gestor_pid" 2>/dev/null
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  if [ "$superada" = 1 ] && [ -z "${LUMI_E2E_CONSERVAR:-}" ]; then
    rm -rf "$tmp"
  else
    echo "$ruta: kept $tmp (screenshots, lumiraga.log)" >&2
  fi
}
trap acabar EXIT

ara_ms() {
  echo $(($(date +%s%N) / 1000000))
}

# A numbered screenshot of the whole screen; prints its path. Numbered by the
# files already there, as it often runs in a subshell.
captura() {
  local n f
  n=$(find "$tmp" -maxdepth 1 -name '*.png' | wc -l)
  f=$(printf '%s/%02d-%s.png' "$tmp" $((n + 1)) "$1")
  import -window root "$f" 2>/dev/null
  echo "$f"
}

fallar() {
  local f
  f=$(captura fallada)
  {
    echo "FAIL ($ruta): $*"
    echo "  screen at the failure: $f"
    if [ -s "$tmp/lumiraga.log" ]; then
      echo "  lumiraga's output:"
      sed 's/^/    /' "$tmp/lumiraga.log" | tail -20
    fi
  } >&2
  exit 1
}

# A virtual X server on a free display, then the program on it with a
# private home, runtime folder and program folder, and no sound server
# (reactions last their set time either way); the arguments go to the program.
engegar() {
  mkdir -m 700 "$tmp/run" "$tmp/home"
  mkdir -p "$tmp/programa"
  cp -r "$arrel/examples" "$tmp/examples"
  printf 'autospawn = no\n' >"$tmp/pulse-client.conf"

  # -noreset: when the program is closed before a new start the server would
  # otherwise reset, and a program connecting during the reset is refused.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$tmp/display" >"$tmp/xvfb.log" 2>&1 &
  xvfb_pid=$!
  local fins=$(($(ara_ms) + 10000))
  until grep -q '^[0-9]' "$tmp/display" 2>/dev/null; do
    kill -0 "$xvfb_pid" 2>/dev/null || fallar "Xvfb did not start: $(cat "$tmp/xvfb.log")"
    [ "$(ara_ms)" -lt "$fins" ] || fallar "Xvfb gave no display within 10 s"
    sleep 0.02
  done
  DISPLAY=":$(head -1 "$tmp/display")"
  export DISPLAY
  [ -z "${LUMI_E2E_SAFATA:-}" ] || engegar_gestor
  engegar_programa "$@"
}

# With LUMI_E2E_SAFATA set, a window manager with a panel, as on a
# teacher's desktop: jwm and its tray along the foot of the screen, magenta,
# with the task list a learner could click.
engegar_gestor() {
  command -v jwm >/dev/null || fallar "jwm is missing (scripts/deps.sh installs it)"
  printf '<?xml version="1.0"?><JWM><Tray x="0" y="-1" height="30"><TaskList/></Tray>%s%s</JWM>\n' \
    '<TrayStyle><Background>#FF00FF</Background></TrayStyle>' \
    '<TaskListStyle><Background>#FF00FF</Background><Active><Background>#FF00FF</Background></Active></TaskListStyle>' \
    >"$tmp/jwmrc"
  jwm -f "$tmp/jwmrc" >"$tmp/jwm.log" 2>&1 &
  gestor_pid=$!
  local fins=$(($(ara_ms) + 10000))
  until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
    [ "$(ara_ms)" -lt "$fins" ] || fallar "jwm did not start: $(cat "$tmp/jwm.log")"
    sleep 0.05
  done
}

# Under the panel: the exercise and the zone editor cover it, as nothing of
# the desktop may be clicked by the learner; the screen's foot is looked at.
safata_coberta() {
  [ -n "$gestor_pid" ] || return 0
  local fins=$(($(ara_ms) + 3000))
  # grep reads it all: a grep -q fails import's write, and pipefail passed that.
  until ! import -window root -crop 1024x30+0+738 -depth 8 txt:- 2>/dev/null | grep -i '#FF00FF' >/dev/null; do
    [ "$(ara_ms)" -lt "$fins" ] || fallar "the panel stays visible over $1"
    sleep 0.1
  done
}

# The program on the virtual X server, with the private folders and the
# arguments given; its output is added to lumiraga.log.
engegar_programa() {
  env -u DBUS_SESSION_BUS_ADDRESS -u PULSE_SERVER QT_QPA_PLATFORM=xcb \
    HOME="$tmp/home" XDG_RUNTIME_DIR="$tmp/run" LUMIRAGA_HOME="$tmp/programa" \
    PULSE_CLIENTCONFIG="$tmp/pulse-client.conf" \
    "$programa" "$@" >>"$tmp/lumiraga.log" 2>&1 &
  app_pid=$!
}

# The program ended and started again on the same display and folders, as
# a teacher who closes it and opens it later; the environment is read again,
# and the arguments given go to the new program.
reengegar_programa() {
  kill "$app_pid" 2>/dev/null
  wait "$app_pid" 2>/dev/null
  app_pid=""
  engegar_programa "$@"
}

# A window's place on the screen and size, as X=, Y=, WIDTH=, HEIGHT= lines
# (xdotool counts a window manager's frame twice).
geometria() {
  xwininfo -id "$1" 2>/dev/null | sed -n 's/^ *Absolute upper-left \([XY]\): *\(-\{0,1\}[0-9]*\)/\1=\2/p
    s/^ *\(Width\|Height\): *\([0-9]*\)/\U\1\E=\2/p'
}

# The first visible window whose title matches an extended regular
# expression, waited for up to a number of seconds; its id goes in $finestra.
finestra=""
esperar_finestra() {
  local patro=$1 segons=$2
  local fins=$(($(ara_ms) + segons * 1000))
  while :; do
    kill -0 "$app_pid" 2>/dev/null || fallar "lumiraga ended while waiting for a window \"$patro\""
    finestra=$(xdotool search --onlyvisible --name "$patro" 2>/dev/null | head -1)
    [ -n "$finestra" ] && return 0
    [ "$(ara_ms)" -lt "$fins" ] || return 1
    sleep 0.03
  done
}

# Waits until no visible window's title matches.
esperar_sense_finestra() {
  local patro=$1 segons=$2
  local fins=$(($(ara_ms) + segons * 1000))
  while xdotool search --onlyvisible --name "$patro" >/dev/null 2>&1; do
    [ "$(ara_ms)" -lt "$fins" ] || return 1
    sleep 0.03
  done
}

# The colour of a screen point as six lower-case hexadecimal digits (rrggbb).
pixel() {
  import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null |
    sed -n 's/.*#\([0-9A-Fa-f]\{6\}\).*/\1/p' | head -1 | tr A-F a-f
}

# What the middle of the screen shows, by colour. While an exercise plays the
# player covers the screen and centres its picture there.
color_centre() {
  local hex r g b
  hex=$(pixel 512 384)
  [ -n "$hex" ] || {
    echo "cap"
    return
  }
  r=$((16#${hex:0:2})) g=$((16#${hex:2:2})) b=$((16#${hex:4:2}))
  if ((r > 200 && g > 200 && b > 200)); then
    echo blanc
  elif ((r > 200 && g > 200 && b < 80)); then
    echo groc
  elif ((r > 200 && g < 80 && b < 80)); then
    echo vermell
  elif ((r < 80 && g > 90 && b < 80)); then
    echo verd
  elif ((r < 80 && g < 80 && b > 200)); then
    echo blau
  elif ((r < 40 && g < 40 && b < 40)); then
    echo negre
  else
    echo "altre($hex)"
  fi
}

# Waits until the middle of the screen shows a colour (or one of "a|b|..."); returns 1 on a
# time-out, leaving the last colour seen in $color_vist.
color_vist=""
esperar_color() {
  local color=$1 segons=$2
  local fins=$(($(ara_ms) + segons * 1000))
  while :; do
    color_vist=$(color_centre)
    [[ "$color_vist" =~ ^($color)$ ]] && return 0
    [ "$(ara_ms)" -lt "$fins" ] || return 1
    sleep 0.02
  done
}

# The start dialog's title, from the language table of the interface's
# default language.
titol_inici=""
esperar_inici() {
  local segons=$1 quan=$2
  titol_inici=$(sed -n 's/^ *\["LumiRaga - Inici", "\(.*\)"\],\{0,1\}$/\1/p' "$arrel/lang/catala.json" | head -1)
  esperar_finestra "^$titol_inici\$" "$segons" || fallar "no start dialog titled \"$titol_inici\" $quan"
  # Keys go where the focus is: a person waits to see the dialog take it.
  local fins=$(($(ara_ms) + 3000))
  until [ "$(xdotool getwindowfocus 2>/dev/null)" = "$finestra" ] || [ "$(ara_ms)" -ge "$fins" ]; do
    sleep 0.03
  done
}

finestra_jugador() {
  esperar_finestra '^LUMIRAGA - ' 5 || fallar "no player window (title \"LUMIRAGA - ...\")"
}

# A click on a menu bar's entry at a screen position, then the item at a
# position of the menu that opens (1 = the first) with the arrow keys.
triar_menu() {
  local x=$1 y=$2 posicio=$3 nom=$4 abans ara fins i
  abans=$(xdotool search --onlyvisible --class lumiraga 2>/dev/null | sort | tr '\n' ' ')
  xdotool mousemove "$x" "$y" click 1
  fins=$(($(ara_ms) + 5000))
  while :; do
    ara=$(xdotool search --onlyvisible --class lumiraga 2>/dev/null | sort | tr '\n' ' ')
    [ "$ara" != "$abans" ] && break
    [ "$(ara_ms)" -lt "$fins" ] || fallar "the menu \"$nom\" did not open on a click at its name"
    sleep 0.02
  done
  for ((i = 0; i < posicio; ++i)); do
    xdotool key Down
  done
  xdotool key Return
}

# The planner window, raised; its place and size in X, Y, WIDTH, HEIGHT.
titol_planificador='^Planificar Lumi-Raga$'
planificador() {
  esperar_finestra "$titol_planificador" 5 || fallar "no planner window"
  xdotool windowraise "$finestra"
  eval "$(geometria "$finestra")"
}

# "Opcions > Planificar" with no file current: the open dialog, the copy of
# the example, then the planner on it.
planificar_primera() {
  menu_opcions 3
  esperar_finestra '^Fitxers Planificació Lumi Raga$' 5 || fallar "\"Planificar\" without a file did not ask for one"
  triar_al_dialeg_obrir "$tmp/examples/primera" primera.lrq
  esperar_finestra "$titol_planificador" 5 || fallar "the planner did not open on $tmp/examples/primera/primera.lrq"
  sleep 0.3
}

# "Opcions > Iniciar", then the start dialog's new activity, named "nova":
# the planner opens on it.
nova_des_de_inici() {
  menu_opcions 1
  esperar_inici 5 "after \"Opcions > Iniciar\""
  xdotool key space
  sleep 0.3
  # The name box, at the foot of the dialog above its buttons.
  eval "$(geometria "$finestra")"
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 60)) click 1
  xdotool type --delay 2 nova
  captura nova >/dev/null
  xdotool key Return
  esperar_finestra "$titol_planificador" 5 || fallar "creating an activity in the start dialog did not open the planner"
  sleep 0.3
}

# The zone editor's canvas: a window of the program over the whole screen at
# its origin, the player's frame.
tela=""
esperar_tela() {
  local fins=$(($(ara_ms) + 5000)) w
  while :; do
    for w in $(xdotool search --onlyvisible --class lumiraga 2>/dev/null); do
      [[ "$(xdotool getwindowname "$w" 2>/dev/null)" == LUMIRAGA* ]] && continue
      eval "$(xdotool getwindowgeometry --shell "$w")"
      if [ "$X,$Y,$WIDTH,$HEIGHT" = "0,0,1024,768" ]; then
        tela=$w
        return 0
      fi
    done
    [ "$(ara_ms)" -lt "$fins" ] || fallar "no full-screen zone editor after \"$1\""
    sleep 0.03
  done
}

# The planner's menu bar entry at a distance from the window's left edge: a
# click, then the item at a position of its menu (0: the entry is a page).
menu_planificador() {
  planificador
  if [ "$2" = 0 ]; then
    xdotool mousemove $((X + $1)) $((Y + 8)) click 1
  else
    triar_menu $((X + $1)) $((Y + 8)) "$2" "planner menu at $1"
  fi
}

# Opens the menu "Opcions" of the player window with a click on its name and
# chooses the item at a position (1 = the first) with the arrow keys.
menu_opcions() {
  finestra_jugador
  # No window manager raises a window that is clicked: raise it as one would.
  xdotool windowraise "$finestra"
  # After a run the window goes back to its place and size: wait until it
  # stands still, so the click lands on the menu bar.
  local abans="" ara fins=$(($(ara_ms) + 3000))
  while :; do
    ara=$(geometria "$finestra")
    [ "$ara" = "$abans" ] && break
    [ "$(ara_ms)" -lt "$fins" ] || break
    abans=$ara
    sleep 0.2
  done
  eval "$ara"
  triar_menu $((X + 30)) $((Y + 9)) "$1" Opcions
}

# The player window's menu "Configurar" opened with a click on its name; the
# player's place in X, Y.
obrir_configurar() {
  finestra_jugador
  eval "$(geometria "$finestra")"
  xdotool mousemove $((X + 104)) $((Y + 9)) click 1
  sleep 0.4
}

# A window moved to the screen's top left, so that points in it are known;
# its place and size in X, Y, WIDTH, HEIGHT.
a_la_cantonada() {
  xdotool windowmove "$1" 0 0
  sleep 0.5
  eval "$(geometria "$1")"
}

# In the open dialog (open and focused), a file chosen by its folder and its
# name. The folder first, then the name, as the dialog's completer and its
# folder listing keep up with a person (a whole path typed at full speed on a
# loaded machine can be confirmed before the dialog has read it).
# A path typed into a file dialog's name box and taken. Keys typed as the
# dialog comes up, or under a window manager as the completer's list comes
# up, can be lost: it is read back, and typed again, before it is taken.
escriure_al_dialeg() {
  for _ in 1 2 3; do
    sleep 0.3
    xdotool key ctrl+a
    xdotool type --delay 2 "$1"
    sleep 0.3
    xdotool key ctrl+a ctrl+c
    [ "$(xclip -o -selection clipboard 2>/dev/null)" = "$1" ] && break
  done
  xdotool key Return
}

triar_al_dialeg_obrir() {
  local carpeta=$1 nom=$2
  escriure_al_dialeg "$carpeta/"
  sleep 0.3
  for _ in 1 2 3; do
    xdotool key ctrl+a
    xdotool type --delay 2 "$nom"
    captura dialeg-obrir >/dev/null
    xdotool key Return
    esperar_sense_finestra '^Fitxers Planificació Lumi Raga$' 3 && return 0
    # The dialog said it did not find the file yet: its message goes, and
    # the name is typed again.
    xdotool key Return
    sleep 0.5
  done
  fallar "the open dialog did not close after choosing $carpeta/$nom"
}

# From the start dialog (open and focused): "Engegar Exercici" (the second
# button, reached with Tab as a keyboard user does), the open dialog, the
# example activity.
engegar_des_de_inici() {
  xdotool key Tab space
  esperar_finestra '^Fitxers Planificació Lumi Raga$' 5 ||
    fallar "\"Engegar Exercici\" in the start dialog did not bring the open dialog"
  triar_al_dialeg_obrir "$tmp/examples/primera" primera.lrq
}

# An answer of the learner (xdotool's key name, "clic" for a left click on
# the picture, or "clic@X,Y" for one at a screen point), the reaction it must bring and the question shown after it.
# Stops at the first reaction that does not come: the report tells the rest.
respostes_donades=0
sense_reaccio=""
respondre() {
  local accio=$1 reaccio=$2 seguent=$3 quan=$4
  if [ "$accio" = clic ]; then
    xdotool mousemove 512 384 click 1
  elif [[ "$accio" == clic@* ]]; then
    local punt=${accio#clic@}
    xdotool mousemove "${punt%,*}" "${punt#*,}" click 1
  else
    xdotool key "$accio"
  fi
  respostes_donades=$((respostes_donades + 1))
  if ! esperar_color "$reaccio" 3; then
    sense_reaccio="no $reaccio reaction to \"$accio\" $quan within 3 s (the screen's middle stayed $color_vist; $(captura sense-reaccio))"
    return 1
  fi
  esperar_color "$seguent" 6 ||
    fallar "after the reaction to \"$accio\" $quan the screen's middle showed $color_vist, not the next question ($seguent)"
}

# A text of the language tables (catala, espanol, galego): a message by its
# number, or an "area|key" entry (the key itself where the table lacks it).
text_taula() {
  python3 -c 'import json, sys
d = json.load(open(sys.argv[1], encoding="utf-8"))
k = sys.argv[2]
print(d["missatges"][int(k)] if k.isdigit() else dict(d["traduccions"]).get(k, k))' "$arrel/lang/$1.json" "$2"
}

# The message box in front (titled "LUMIRAGA"), its text selected and copied
# as a person can (a click on it, Ctrl+A, Ctrl+C), then closed with Return;
# fails unless the text holds every text given.
# A question titled otherwise is read with titol_missatge set, and answered
# with the key in tecla_missatge.
llegir_missatge() {
  local quan=$1 w text X Y WIDTH HEIGHT fins=$(($(ara_ms) + 5000))
  shift
  until w=$(xdotool getwindowfocus 2>/dev/null) &&
    [ "$(xdotool getwindowname "$w" 2>/dev/null)" = "${titol_missatge:-LUMIRAGA}" ]; do
    [ "$(ara_ms)" -lt "$fins" ] || fallar "no message box $quan"
    sleep 0.1
  done
  eval "$(geometria "$w")"
  printf 'buit' | xclip -selection clipboard -i >/dev/null 2>&1
  xdotool mousemove $((X + WIDTH / 2)) $((Y + 18)) click 1 key ctrl+a ctrl+c
  sleep 0.3
  captura missatge >/dev/null
  text=$(xclip -o -selection clipboard 2>/dev/null)
  xdotool key "${tecla_missatge:-Return}"
  for t in "$@"; do
    [[ "$text" == *"$t"* ]] || fallar "the message $quan does not say \"$t\": $text"
  done
}

# Esc, then "Opcions > Informe": the report, read from the clipboard.
informe_text=""
llegir_informe() {
  xdotool key Escape
  finestra_jugador
  # Whatever the clipboard held before is not this report.
  printf 'buit' | xclip -selection clipboard -i >/dev/null 2>&1
  menu_opcions 5
  local fins=$(($(ara_ms) + 5000))
  while :; do
    informe_text=$(xclip -o -selection clipboard 2>/dev/null)
    [[ "$informe_text" == *"Nombre de Respostes"* ]] && break
    [ "$(ara_ms)" -lt "$fins" ] || fallar "no report on the clipboard after \"Opcions > Informe\""
    sleep 0.05
  done
  esperar_finestra '^INFORME LUMI-RAGA$' 5 || fallar "no report window after \"Opcions > Informe\""
  captura informe >/dev/null
  printf '%s\n' "$informe_text" >>"$tmp/informes.txt"
}

# A counter of the report ("Nombre de Respostes", ...).
comptador() {
  printf '%s\n' "$informe_text" | sed -n "s/^$1 *=[[:space:]]*\([0-9-]*\).*/\1/p" | head -1
}

# Checks the report's counters against the expected ones, given as
# "Name=value" pairs; says every difference, and why no reaction came.
comprovar_informe() {
  local errors="" parella nom esperat vist
  for parella in "$@"; do
    nom=${parella%=*} esperat=${parella##*=}
    vist=$(comptador "$nom")
    [ "$vist" = "$esperat" ] || errors+=$'\n'"  $nom = ${vist:-(missing)}, expected $esperat"
  done
  if [ -n "$errors" ] || [ -n "$sense_reaccio" ]; then
    fallar "the learner's answers were not all judged and counted:${sense_reaccio:+$'\n'  $sense_reaccio}$errors
  report's summary:
$(printf '%s\n' "$informe_text" | sed -n '/RESUM/,$p' | sed 's/^/    /')"
  fi
}

# The example activity from its first question: the first item takes Space,
# the second a click, the third the right arrow; a wrong answer asks the same
# item again, a right one goes on to the next. Two refused keys, three right
# answers, ending on the first item asked again.
# The instruction, then the first question: a red circle.
esperar_primera_pregunta() {
  esperar_color vermell 15 ||
    fallar "the first question (a red circle) $1 did not come after the instruction (the screen's middle showed $color_vist)"
  captura primera-pregunta >/dev/null
}

jugar_primera() {
  esperar_primera_pregunta "of the run"
  respondre a blanc vermell "on the first item (Space only)" &&
    respondre space groc verd "on the first item" &&
    respondre b blanc verd "on the second item (clicks only)" &&
    respondre clic groc blau "on the second item" &&
    respondre Right groc vermell "on the third item (right arrow only)"
}

# From the start dialog to the report: the whole run of the example, every
# answer judged and counted.
primera_des_de_inici() {
  engegar_des_de_inici
  jugar_primera
  llegir_informe
  comprovar_informe "Nombre de Respostes=$respostes_donades" "Respostes BE=3" "Respostes malament=2" \
    "Nombre de Preguntes=4" "Preguntes no respostes=1"
}

# Chooses an item of "Configurar > Reconeixement de sons" (0 = the first).
menu_sons() {
  local i
  finestra_jugador
  xdotool windowraise "$finestra"
  eval "$(geometria "$finestra")"
  triar_menu $((X + 105)) $((Y + 9)) 2 Configurar
  sleep 0.3
  for ((i = 0; i < $1; ++i)); do
    xdotool key Down
  done
  xdotool key Return
}

# The edited example started once from the start dialog and left, so that
# its word list is the engine's; then "Crear Patrons" and one press of
# "Enregistrar" in the training window.
enregistrar_patrons() {
  esperar_inici 10 "at the first start"
  engegar_des_de_inici
  esperar_primera_pregunta "of the first run"
  xdotool key Escape
  menu_sons 1
  local y_jugador=$Y
  esperar_finestra '^Entrenament de sons$' 5 || fallar "\"Crear Patrons\" opened no training window"
  xdotool windowraise "$finestra"
  eval "$(geometria "$finestra")"
  # Its frame below the player's menu bar (19 pixels high here, clicked 9
  # pixels into it): a window manager's title bar lies above the window.
  local marc
  marc=$(xprop -id "$finestra" _NET_FRAME_EXTENTS | sed -n 's/.*= *[0-9]*, *[0-9]*, *\([0-9]*\),.*/\1/p')
  [ "$((Y - ${marc:-0}))" -ge $((y_jugador + 19)) ] ||
    fallar "the training window's frame at $((Y - ${marc:-0})) covers the player's menu bar at $y_jugador"
  captura entrenament >/dev/null
  xdotool mousemove $((X + 50)) $((Y + HEIGHT - 23)) click 1
}

# The program started with no activity, its first start dialog closed with
# Esc, as a teacher who goes to the menus does.
engegar_sense_inici() {
  engegar
  esperar_inici 10 "at the first start"
  xdotool key Escape
  esperar_sense_finestra "^$titol_inici\$" 5 || fallar "Esc did not close the first start dialog"
}

# The synthetic microphone saying a sound file of tests/dades over and over
# (copied to the temporary folder: a comma in the checkout's path would
# split the options).
microfon_de() {
  cp "$arrel/tests/dades/$1" "$tmp/"
  export SDL_AUDIODRIVER=dummy LUMIRAGA_BACKENDS=microfon:sintetic LUMIRAGA_SINTETIC="microfon:wav=$tmp/$1"
}

# The example made to accept voice word 1 on its first item and word 2 on
# its second, with the list "1,2," as the action editor writes it and the
# listening time a new activity has (0).
paraules_a_primera() {
  sed -i '23s/.*/1\r/;88s/.*/1\r/;202s/.*/"1,2,"\r/;206s/.*/0\r/' "$tmp/examples/primera/primera.lrq"
}
