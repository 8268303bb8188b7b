#!/usr/bin/env bash
# The desktop part of a behaviour snapshot, run inside xvfb-run by behaviour-snapshot.sh:
# two sign-ins on one home with screenshots of every window on the way.
# Usage: gui-steps.sh PROGRAM_HOME SHOTS_DIR LOG_DIR  (PROGRAM_ENV: env words for the program)
set -uo pipefail
HOME_DIR="$1"; SHOTS="$2"; LOGS="$3"
read -r -a PROGRAM_ENV <<< "${PROGRAM_ENV:-}"

# The windows are centred on a 1280x1024 screen, so these points are fixed.
PARK="5 5"                    # pointer away from every window (the face looks at it)
SIGN_IN_BUTTON="728 554"      # start window: "Prihlásiť"
WELCOME_OK="728 580"          # first-start message: "OK"
INPUT_LINE="790 620"          # main window input line
MENU_SETTINGS="520 358"       # main window menu "Nastavenia"
MENU_OTHER="530 490"          # its item "Iné": the settings window
SETTINGS_CLOSE="801 396"      # settings window close button
MAIN_CLOSE="903 334"          # main window close button: stores and ends
MENU_PROGRAM="395 358"        # main window menu "Program", in both layouts
MENU_SIMPLE="430 378"         # its item "Jednoduchá verzia" (switches the layout)
MENU_THEME="430 400"          # its item "Zmeň vzhľad" (a file dialog)
MENU_QUIT="430 424"           # its item "Ukonči"
DARK_THEME="design/tmava.thm"
# Parts of the main window that move by themselves on timers that depend on how fast the
# machine ticks: the face (blinks, gaze, looking away), the input line (the caret) and the
# info bar sliding into the menu row. behaviour-compare.sh counts their pixels separately.
MAIN_WINDOW_NOISE="685,385,895,602 683,606,897,634 640,343,912,370"
SIMPLE_NOISE="381,386,595,608 381,611,595,636 540,343,615,370"
SETTINGS_NOISE="814,385,895,602"   # the part of the face the settings window leaves visible
START_WAIT=4                  # seconds from start to a painted start window
SIGN_IN_WAIT=4                # from the click to the main window with its opening line
REPLY_WAIT=4                  # from Enter to the reply shown
HOVER_WAIT=4                  # pointer on the close button: a remark comes after 100 ticks
IDLE_WAIT=40                  # an idle remark comes after 2000 ticks (30 s) without a key,
                              # the next one 30 s later: the shot falls between them
FADE_WAIT=5                   # a theme change fades out and in
CLICK_WAIT=2                  # after a click that opens or closes a window
EXIT_WAIT=15                  # a closed main window must end the program within this
SHOT_TRIES=6                  # captures until two in a row agree
SHOT_GAP=0.4                  # seconds between them

PID=""
n=0

log() { printf '%s\n' "$*" >> "$LOGS/gui.log"; }

windows() { # name and geometry of every visible window, ids left out (they are not ours)
  local id
  for id in $(xdotool search --onlyvisible --name '.*' 2>/dev/null); do
    printf '%s|%s\n' "$(xdotool getwindowname "$id")" \
      "$(xdotool getwindowgeometry "$id" | sed -n 's/^ *Position: \([0-9,]*\).*/\1/p;s/^ *Geometry: //p' | paste -sd' ')"
  done | sort
}

# shot NAME [NOISE_REGIONS]: a capture taken when two captures in a row agree, so a blink or
# the caret flashing at that moment does not decide the picture (what stays different is masked).
shot() {
  n=$((n + 1))
  local name; name=$(printf '%02d-%s' "$n" "$1")
  xdotool mousemove $PARK
  sleep 1
  local prev="" cur try
  for try in $(seq 1 "$SHOT_TRIES"); do
    cur="$LOGS/capture-$try.png"
    import -window root "$cur"
    if [ -n "$prev" ] && [ "$(compare -metric AE "$prev" "$cur" null: 2>&1)" = "0" ]; then break; fi
    prev="$cur"
    sleep "$SHOT_GAP"
  done
  mv "$cur" "$SHOTS/$name.png"
  rm -f "$LOGS"/capture-*.png
  log "$name: $try captures"
  printf '%s.png %s\n' "$name" "${2:-}" >> "$SHOTS/noise-regions.txt"
  { echo "== $name"; windows; } >> "$SHOTS/windows.txt"
}

click() { xdotool mousemove $1 click 1; sleep "$CLICK_WAIT"; }

say() { # type a sentence into the input line and send it
  xdotool type --delay 60 -- "$1"
  xdotool key Return
  sleep "$REPLY_WAIT"
}

start_program() { # RUN_NAME
  xdotool mousemove $PARK
  env "${PROGRAM_ENV[@]}" "$HOME_DIR/tamzel" --home "$HOME_DIR" \
    > "$SHOTS/$1.stdout.txt" 2> "$LOGS/$1.stderr.txt" &
  PID=$!
  sleep "$START_WAIT"
}

wait_for_end() { # RUN_NAME
  local waited=0
  while kill -0 "$PID" 2>/dev/null && [ "$waited" -lt "$EXIT_WAIT" ]; do sleep 1; waited=$((waited + 1)); done
  if kill -0 "$PID" 2>/dev/null; then
    echo "still running after closing the window: killed" >> "$SHOTS/$1.exit.txt"
    kill "$PID"; wait "$PID" 2>/dev/null
  else
    wait "$PID"; echo "exit code $?" >> "$SHOTS/$1.exit.txt"
  fi
}

: > "$SHOTS/windows.txt"
: > "$SHOTS/noise-regions.txt"
xdotool mousemove $PARK

# First start: the login name's profile is made, the start window offers it.
start_program first
shot start-first
click "$SIGN_IN_BUTTON"; sleep "$SIGN_IN_WAIT"
shot welcome "$MAIN_WINDOW_NOISE"
click "$WELCOME_OK"
shot main-opening "$MAIN_WINDOW_NOISE"
# Without a window manager nothing gives the main window the focus back after the message.
click "$INPUT_LINE"
shot main-input-clicked "$MAIN_WINDOW_NOISE"
say "Ahoj, ako sa máš?"
shot reply-greeting "$MAIN_WINDOW_NOISE"
say "Volám sa Peter a mám rád futbal."
say "Koľko je hodín?"
shot reply-time "$MAIN_WINDOW_NOISE"
click "$MENU_SETTINGS"
shot menu-settings "$MAIN_WINDOW_NOISE"
click "$MENU_OTHER"
shot settings "$SETTINGS_NOISE"
click "$SETTINGS_CLOSE"
shot main-after-settings "$MAIN_WINDOW_NOISE"
# The file dialog shows the machine's folders, so it is typed into, never captured.
click "$MENU_PROGRAM"; click "$MENU_THEME"
xdotool type --delay 20 -- "$HOME_DIR/$DARK_THEME"
xdotool key Return; sleep "$FADE_WAIT"
shot theme-dark "$MAIN_WINDOW_NOISE"
click "$MENU_PROGRAM"; click "$MENU_SIMPLE"
shot simple-layout "$SIMPLE_NOISE"
click "$MENU_PROGRAM"; click "$MENU_SIMPLE"
shot full-layout-again "$MAIN_WINDOW_NOISE"
click "$MAIN_CLOSE"
wait_for_end first

# Second start on the same home: the remembered user, theme and what Tamzel learnt.
start_program second
shot start-second
click "$SIGN_IN_BUTTON"; sleep "$SIGN_IN_WAIT"
shot main-second "$MAIN_WINDOW_NOISE"
say "Ako sa volám?"
shot reply-name "$MAIN_WINDOW_NOISE"
xdotool mousemove $MAIN_CLOSE; sleep "$HOVER_WAIT"
xdotool mousemove $PARK; sleep "$REPLY_WAIT"
shot hover-remark "$MAIN_WINDOW_NOISE"
xdotool key End   # a key in the input line starts the idle count from zero
sleep "$IDLE_WAIT"
shot idle-remark "$MAIN_WINDOW_NOISE"
click "$MENU_PROGRAM"; click "$MENU_QUIT"
wait_for_end second
