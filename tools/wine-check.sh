#!/usr/bin/env bash
# Checks the 64-bit Windows programs under Wine, on a system whose code page is
# not Japanese, against the Linux build:
#
#   - the Windows host services (host-check.exe): text conversion, game paths,
#     safe file replacement; console lines as CP932 when redirected and as
#     Unicode on a console;
#   - rosterpatch.exe writes the same files and prints the same lines as the
#     Linux rosterpatch, with all files present and with one missing;
#   - the window backend (window-smoke.exe): client area, boxes, lines, text,
#     transparent pictures on the screen; message box and text dialog texts in
#     both directions; exit code 0 after a close;
#   - rosterdesk.exe in a demo game folder: the main menu on the screen, "保存"
#     writes the same files as the Linux program, exit code 0 after a close.
#
# Usage: tools/wine-check.sh [BUILD_DIR [PROGRAM_DIR]]
#        BUILD_DIR: the 64-bit build (default build/windows-x86_64), which
#        holds the check programs; PROGRAM_DIR: where rosterdesk.exe and
#        rosterpatch.exe are taken from (default BUILD_DIR)
#        ROSTER_LINUX_BUILD=DIR picks the Linux build (default build/default)
# Needs: wine64, Xvfb, xdotool, imagemagick (tools/install-deps.sh with
# ROSTER_WINDOWS=1) and the Linux programs rosterpatch, rosterdemo-gen and
# rosterdesk-script (built here in build/default when missing).
# Everything runs in a temporary folder with a fresh Wine prefix and its own
# X server; what it starts is stopped again at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${1:-build/windows-x86_64}
programs=${2:-$build}

# ---------------------------------------------------------------- tools

wine_loader=/usr/lib/wine/wine64
[ -x "$wine_loader" ] || wine_loader=$(command -v wine64 || command -v wine || true)
wine_server=/usr/lib/wine/wineserver
[ -x "$wine_server" ] || wine_server=$(command -v wineserver || echo /usr/lib/wine/wineserver64)
for tool in "$wine_loader" Xvfb xdotool import iconv od; do
  command -v "$tool" >/dev/null || { echo "wine-check: $tool is missing (tools/install-deps.sh with ROSTER_WINDOWS=1)"; exit 1; }
done

windows_program() {  # NAME FOLDER
  local found
  found=$(find "$root/$2" -name "$1" -type f 2>/dev/null | head -n 1)
  [ -n "$found" ] || { echo "wine-check: $1 not found under $2 (run tools/windows-build.sh)"; exit 1; }
  echo "$found"
}
rosterdesk_exe=$(windows_program rosterdesk.exe "$programs")
rosterpatch_exe=$(windows_program rosterpatch.exe "$programs")
smoke_exe=$(windows_program window-smoke.exe "$build")
host_check_exe=$(windows_program host-check.exe "$build")
poke_exe=$(windows_program win32-poke.exe "$build")

# The Linux build to compare with: ROSTER_LINUX_BUILD, by default the one
# tools/run-tests.sh makes.
linux_build=${ROSTER_LINUX_BUILD:-build/default}
linux_programs=(rosterdemo-gen rosterpatch rosterdesk-script)
linux_program() { find "$root/$linux_build" -name "$1" -type f -perm -u+x 2>/dev/null | head -n 1; }
for program in "${linux_programs[@]}"; do
  if [ -z "$(linux_program "$program")" ]; then
    echo "wine-check: building the Linux programs to compare with ($linux_build)"
    [ "$linux_build" != build/default ] || cmake --preset default >/dev/null
    cmake --build "$linux_build" -j2 --target "${linux_programs[@]}" >/dev/null
    break
  fi
done
demo_gen=$(linux_program rosterdemo-gen)
linux_patch=$(linux_program rosterpatch)
linux_desk=$(linux_program rosterdesk-script)

# ---------------------------------------------------------------- scratch, Wine, X

work=$(mktemp -d "${TMPDIR:-/tmp}/wine-check.XXXXXX")
started=()  # ids of the processes this script started
cleanup() {
  local pid
  WINEPREFIX=$work/prefix timeout 20 "$wine_server" -k 2>/dev/null || true
  for pid in "${started[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${started[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# A Western locale: Wine's system code page is then 1252, so Japanese text
# only shows correctly if the programs convert it themselves.
export LANG=C.UTF-8 LC_ALL=C.UTF-8
unset DISPLAY

failures=0
pass() { echo "ok    $1"; }
fail() { echo "FAIL  $1"; failures=$((failures + 1)); }
check() {  # check NAME COMMAND...: passes when the command succeeds
  local name=$1
  shift
  if "$@"; then pass "$name"; else fail "$name"; fi
}
# wait_until SECONDS COMMAND...: polls the command every 0.2 s; 1 on time-out.
wait_until() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.2
  done
}
run_wine() { timeout 60 "$wine_loader" "$@"; }
# UTF-16 code points of a UTF-8 text for win32-poke ("4FDD,5B58"), "-" when empty.
code_points() {
  [ -n "$1" ] || { echo -; return; }
  printf '%s' "$1" | iconv -f UTF-8 -t UTF-16BE | od -An -v -tx1 | tr -d ' \n' | sed 's/..../&,/g; s/,$//'
}
cp932_hex() { printf '%s' "$1" | iconv -f UTF-8 -t CP932 | od -An -v -tx1 | tr -d ' \n' | tr a-f A-F; }

echo "wine-check: preparing a Wine prefix in $work"
timeout 180 "$wine_loader" wineboot -i >/dev/null 2>&1 || { echo "wine-check: wineboot failed"; exit 1; }
# The Japanese fonts of Windows are not here; the IPA fonts stand in for them,
# as "ＭＳ ゴシック" does on Windows (7 pixels per byte at height 14), and the
# dialog font links to them for Japanese.
printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
  '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
  '"ＭＳ ゴシック"="IPAGothic"' '"MS UI Gothic"="IPAPGothic"' '' \
  '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink]' \
  '"Tahoma"=hex(7):69,00,70,00,61,00,67,00,2e,00,74,00,74,00,66,00,2c,00,49,00,50,00,41,00,47,00,6f,00,74,00,68,00,69,00,63,00,00,00,00,00' \
  | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$work/fonts.reg"
run_wine regedit /S "$(printf 'Z:%s' "$work/fonts.reg" | tr / '\\')" >/dev/null 2>&1 || true

# ---------------------------------------------------------------- host services

mkdir -p "$work/host"
(cd "$work/host" && run_wine "$host_check_exe") >"$work/host.out" 2>&1 || true
sed 's/^/      /' "$work/host.out"
check "host services (host-check.exe)" grep -q ' 0 failure(s)' "$work/host.out"
check "system code page is not Japanese" bash -c "! grep -q 'system code page 932,' '$work/host.out'"

(cd "$work/host" && run_wine "$host_check_exe" console) >"$work/console.out" 2>/dev/null || true
{ cp932_hex "終了"; printf '0D0A'; for ((i = 0; i < 1500; i++)); do printf '82A0'; done; printf '0D0A'; } >"$work/console.expected"
od -An -v -tx1 "$work/console.out" | tr -d ' \n' | tr a-f A-F >"$work/console.got"
check "redirected console lines are CP932" cmp -s "$work/console.expected" "$work/console.got"
if command -v script >/dev/null; then
  (cd "$work/host" && timeout 60 script -qec "'$wine_loader' '$host_check_exe' console" /dev/null) \
    >"$work/tty.out" 2>/dev/null </dev/null || true
  check "console lines on a console are Unicode" grep -q "終了" "$work/tty.out"
fi

# ---------------------------------------------------------------- rosterpatch

"$demo_gen" "$work/demo" 7 >/dev/null
# missing file ("" = none) | what the run must do
patch_cases=("" "defa/data03.dat" "data/data05.dat")
for missing in "${patch_cases[@]}"; do
  label=${missing:-no file missing}
  for side in before linux windows; do
    rm -rf "$work/patch-$side"
    cp -r "$work/demo" "$work/patch-$side"
    [ -z "$missing" ] || rm "$work/patch-$side/$missing"
  done
  set +e
  (cd "$work/patch-linux" && timeout 60 "$linux_patch" >"$work/patch-linux.out")
  linux_code=$?
  (cd "$work/patch-windows" && run_wine "$rosterpatch_exe" >"$work/patch-windows.out" 2>/dev/null)
  windows_code=$?
  set -e
  check "rosterpatch ($label): exit code $windows_code as on Linux" [ "$linux_code" = "$windows_code" ]
  check "rosterpatch ($label): same files as on Linux" diff -r -q "$work/patch-linux" "$work/patch-windows"
  check "rosterpatch ($label): same lines as on Linux, in CP932" \
    cmp -s "$work/patch-linux.out" <(iconv -f CP932 -t UTF-8 "$work/patch-windows.out" | tr -d '\r')
  if [ -n "$missing" ]; then
    check "rosterpatch ($label): no file changed" diff -r -q "$work/patch-before" "$work/patch-windows"
  else
    check "rosterpatch ($label): the user files were refreshed" \
      bash -c "! cmp -s '$work/patch-before/data/data00.dat' '$work/patch-windows/data/data00.dat'"
  fi
done

# ---------------------------------------------------------------- the X server

: >"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
started+=($!)
wait_until 20 test -s "$work/display" || { echo "wine-check: Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
export DISPLAY=:$(head -n 1 "$work/display")
screen_width=1024

# Client-area origin of the window with the title, as "X Y" (without a window
# manager the window's X window is its client area).
client_origin() {
  local id X Y WIDTH HEIGHT SCREEN WINDOW
  id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
  [ -n "$id" ] || return 1
  eval "$(xdotool getwindowgeometry --shell "$id")"
  [ "$WIDTH" = 640 ] && [ "$HEIGHT" = 480 ] || { echo "window $1 is ${WIDTH}x$HEIGHT" >&2; return 1; }
  echo "$X $Y"
}
screenshot() { import -window root -depth 8 "rgb:$work/shot.rgb"; }
# pixel X Y: "R G B" of a client pixel in the last screenshot.
pixel() {
  od -An -v -tu1 -j $((((origin_y + $2) * screen_width + origin_x + $1) * 3)) -N 3 "$work/shot.rgb" | xargs
}
# ink X Y W H: how many client pixels of the box are not the background colour.
ink() {
  local row
  for ((row = $2; row < $2 + $4; row++)); do
    od -An -v -tu1 -j $((((origin_y + row) * screen_width + origin_x + $1) * 3)) -N $(($3 * 3)) "$work/shot.rgb"
  done | awk '{ for (i = 1; i <= NF; i++) v[n++] = $i }
              END { c = 0; for (i = 0; i < n; i += 3) if (v[i] != 208 || v[i+1] != 202 || v[i+2] != 192) c++; print c }'
}
pixel_is() { [ "$(pixel "$1" "$2")" = "$3" ]; }
ink_at_least() { [ "$(ink "$1" "$2" "$3" "$4")" -ge "$5" ]; }
# Starts a Windows program in the background in a folder; its exit code goes
# to the file named.
start_windows_program() {  # FOLDER EXIT_FILE PROGRAM
  (cd "$1" && { timeout 120 "$wine_loader" "$3" >/dev/null 2>&1; echo $? >"$2"; }) &
  started+=($!)
}
poke() { run_wine "$poke_exe" "$@" >/dev/null 2>&1; }
click() {  # click X Y: press long enough to be seen by a frame, then release
  xdotool mousemove $((origin_x + $1)) $((origin_y + $2))
  sleep 0.3
  xdotool mousedown 1
  sleep 0.3
  xdotool mouseup 1
}

# ---------------------------------------------------------------- window backend

smoke=$work/smoke
mkdir -p "$smoke"
start_windows_program "$smoke" "$work/smoke.exit" "$smoke_exe"
if wait_until 60 grep -q '^drawn' "$smoke/window-smoke.txt" 2>/dev/null &&
   wait_until 10 client_origin "窓の試験" >/dev/null; then
  read -r origin_x origin_y < <(client_origin "窓の試験")
  pass "window smoke: window up, title found in Japanese"
  check "window smoke: client area 640x480" grep -q '^client 640 480$' "$smoke/window-smoke.txt"
  check "window smoke: picture loaded at its size" grep -q '^picture 32 32$' "$smoke/window-smoke.txt"
  sleep 0.5
  screenshot
  # client x, y | colour | what it shows
  pixel_cases=(
    "5 5|208 202 192|background box"
    "0 0|255 0 0|box border in the pen of the last line"
    "639 479|255 0 0|box border reaches the last column and row"
    "30 47|0 0 200|blue box"
    "100 200|255 0 0|line"
    "200 200|208 202 192|line without its end point"
    "410 45|0 0 200|copied box"
    "324 124|0 200 0|picture inside, enlarged"
    "302 102|208 202 192|picture's black frame left out"
    "345 145|208 202 192|picture's black frame left out at the far corner"
  )
  for entry in "${pixel_cases[@]}"; do
    IFS='|' read -r at colour what <<<"$entry"
    read -r x y <<<"$at"
    check "window smoke: $what ($at is $colour)" pixel_is "$x" "$y" "$colour"
  done
  check "window smoke: large text drawn" ink_at_least 20 100 60 14 30
  check "window smoke: small text drawn" ink_at_least 20 130 60 10 10
  check "window smoke: no text beyond 7 pixels per byte" [ "$(ink 77 100 40 14)" = 0 ]

  touch "$smoke/go-messagebox"
  check "window smoke: message box shows its Japanese text" poke messagebox "$(code_points "保存しますか？")" yes
  check "window smoke: message box answers Yes" wait_until 20 grep -q '^answer 6$' "$smoke/window-smoke.txt"

  # typed text (UTF-8) | button | the line the program writes
  dialog_cases=(
    "abcdefghijklmn|ok|dialog 1 $(cp932_hex abcdefghijk)"
    "あいうえおか|ok|dialog 1 $(cp932_hex あいうえお)"
    "|ok|dialog 1 "
    "€a～|ok|dialog 1 $(cp932_hex '?a～')"
    "あいう|cancel|dialog 2 $(cp932_hex "$(printf 'x%.0s' {1..31})")"  # buffer untouched
  )
  for entry in "${dialog_cases[@]}"; do
    IFS='|' read -r typed button expected <<<"$entry"
    lines=$(wc -l <"$smoke/window-smoke.txt")
    touch "$smoke/go-dialog"
    if poke dialog "$(code_points "$typed")" "$button" &&
       wait_until 20 bash -c "[ \$(wc -l <'$smoke/window-smoke.txt') -gt $lines ]"; then
      got=$(tail -n 1 "$smoke/window-smoke.txt")
      check "window smoke: dialog \"$typed\" $button gives \"${expected#dialog }\"" [ "$got" = "$expected" ]
    else
      fail "window smoke: dialog \"$typed\" $button: no dialog or no answer"
    fi
  done

  poke close || true
  wait_until 30 test -s "$work/smoke.exit" || true
  check "window smoke: ends with exit code 0 after a close" [ "$(cat "$work/smoke.exit" 2>/dev/null)" = 0 ]
else
  fail "window smoke: no window"
fi

# ---------------------------------------------------------------- rosterdesk

desk=$work/desk
cp -r "$work/demo" "$desk"
start_windows_program "$desk" "$work/desk.exit" "$rosterdesk_exe"
if wait_until 60 client_origin "エディタ" >/dev/null; then
  read -r origin_x origin_y < <(client_origin "エディタ")
  pass "rosterdesk: window \"エディタ\" up, 640x480"
  sleep 1
  screenshot
  check "rosterdesk: menu background" pixel_is 300 300 "208 202 192"
  check "rosterdesk: menu background at the right and bottom edges" pixel_is 638 478 "208 202 192"
  check "rosterdesk: title text" ink_at_least 10 10 70 13 15
  for y in 40 70 100 130; do
    check "rosterdesk: button text at 20, $y" ink_at_least 20 "$y" 28 13 15
    check "rosterdesk: button underline at 20, $((y + 13))" pixel_is 22 $((y + 13)) "50 50 50"
  done

  # "保存" with Yes writes the person files; the Linux program does the same
  # on the same folder, and the files must come out the same.
  click 25 105
  check "rosterdesk: save asks in Japanese" poke messagebox "$(code_points "セーブしますか？")" yes
  check "rosterdesk: save reports in Japanese" poke messagebox "$(code_points "セーブしました")" ok
  sleep 0.5
  poke close || true
  wait_until 30 test -s "$work/desk.exit" || true
  check "rosterdesk: ends with exit code 0 after a close" [ "$(cat "$work/desk.exit" 2>/dev/null)" = 0 ]

  cp -r "$work/demo" "$work/desk-linux"
  printf '%s\n' "answer yes" "answer ok" "move 25 105" "down lbutton" "frames 2" "up lbutton" "frames 2" "close" \
    >"$work/save.script"
  (cd "$work/desk-linux" && timeout 60 "$linux_desk" --log "$work/save.log" "$work/save.script" >/dev/null 2>&1) || true
  if grep -q "セーブしました" "$work/save.log" 2>/dev/null; then
    check "rosterdesk: saved files are those of the Linux program" diff -r -q "$work/desk-linux" "$desk"
  else
    fail "rosterdesk: the Linux program did not save (rosterdesk-script)"
  fi
else
  fail "rosterdesk: no window \"エディタ\""
fi

echo "wine-check: $failures failure(s)"
[ "$failures" = 0 ]
