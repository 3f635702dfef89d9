#!/usr/bin/env bash
# Installs the build into a fresh prefix and uses it the way a player does, in a
# fresh home: the launcher makes the data set in $XDG_DATA_HOME/stravo, the game
# runs there from any folder, and the menu's quit item leaves toptimes.dat there.
# Also: the desktop and AppStream validators, the installed icon sizes, --help,
# --version, an unknown option (refused before any data set is made), the default
# data home and the data set made anew for another generator version (with
# STRAVO_CHECK_OPTIONS=1, which stops before the game starts); then the Debian
# package is built and listed.
# Usage: install_test.sh BUILD
set -uo pipefail
build=$(readlink -f "$1")
top=$(mktemp -d)
trap 'rm -rf "$top"' EXIT
fail() { echo "FAIL: $*"; [ -f "$top/stderr.txt" ] && tail -n 5 "$top/stderr.txt"; exit 1; }
if [ -z "${DISPLAY:-}" ]; then
  echo "SKIP: no X display (./test.sh runs the tests under xvfb-run)"
  exit 77
fi
prefix=$top/prefix app=org.stravo.Stravo title="StravoDemo1 by Velkor"
export HOME=$top/home XDG_DATA_HOME=$top/xdg STRAVO_BATCH=1
games=$XDG_DATA_HOME/stravo
mkdir -p "$HOME" "$top/elsewhere"
cd "$top/elsewhere" || exit 1

echo "-- install"
cmake --install "$build" --prefix "$prefix" > /dev/null || fail "cmake --install failed"
installed=$(cd "$prefix" && find . -type f | sort)
echo "$installed"
expected="./bin/stravo ./bin/stravo-datagen ./bin/stravo-sim ./lib/stravo/stravo ./lib/stravo/update-data.sh
./lib/stravo/bench_plot.py ./share/applications/$app.desktop ./share/metainfo/$app.metainfo.xml"
for size in 16 24 32 48 64 128 256; do
  expected+=" ./share/icons/hicolor/${size}x$size/apps/$app.png"
  icon=$prefix/share/icons/hicolor/${size}x$size/apps/$app.png
  [ "$(identify -format '%wx%h %[channels]' "$icon" 2> /dev/null)" = "${size}x$size srgba" ] ||
    fail "$icon is not a ${size}x$size picture with alpha"
done
for file in $expected; do
  grep -qxF "$file" <<< "$installed" || fail "$file is not installed"
done
desktop-file-validate "$prefix/share/applications/$app.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$prefix/share/metainfo/$app.metainfo.xml" > "$top/appstream.txt" ||
  { cat "$top/appstream.txt"; fail "appstreamcli validate"; }
stravo=$prefix/bin/stravo

echo "-- --help, --version"
"$stravo" --help > "$top/help.txt" 2> "$top/stderr.txt" || fail "--help ends with $?"
grep -q -- "--fullscreen" "$top/help.txt" && grep -q -- "--windowed" "$top/help.txt" || fail "--help: $(cat "$top/help.txt")"
version=$("$stravo" --version) || fail "--version ends with $?"
[[ $version =~ ^stravo\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "--version prints '$version'"
[ ! -e "$games" ] && [ ! -e "$HOME/.local" ] || fail "--help or --version made a data folder"

echo "-- the launcher in a fresh home, quit from the menu"
timeout -s KILL 240 "$stravo" --fullscreen > "$top/stdout.txt" 2> "$top/stderr.txt" &
pid=$!
window=""
for _ in $(seq 1200); do
  if grep -qx "Main: Init done" "$games/log.txt" 2> /dev/null; then
    window=$(xdotool search --pid "$(pgrep -n -P "$pid")" --name "$title" 2> /dev/null | head -n 1)
    [ -n "$window" ] && break
  fi
  kill -0 "$pid" 2> /dev/null || break
  sleep 0.1
done
[ -n "$window" ] || { kill -KILL "$pid"; fail "no window titled '$title'"; }
xdotool windowfocus --sync "$window"
sleep 1
for key in Down Return; do
  xdotool keydown --window "$window" $key; sleep 1; xdotool keyup --window "$window" $key 2> /dev/null; sleep 1
done
for _ in $(seq 300); do kill -0 "$pid" 2> /dev/null || break; sleep 0.1; done
kill -0 "$pid" 2> /dev/null && { pkill -KILL -P "$pid"; fail "the menu's quit item did not end the game"; }
wait "$pid" || fail "the game ended with $?"
want=$("$prefix/bin/stravo-datagen" --version)
[ "$(cat "$games/data/datagen.version")" = "$want" ] || fail "no data set of version $want in $games"
[ -f "$games/data/models/evo.rmd" ] || fail "the data set lacks its car"
[ "$(stat -c %s "$games/toptimes.dat" 2> /dev/null)" = 40 ] || fail "no toptimes.dat in $games"
grep -qx "fullscreen 0" "$games/config.txt" || fail "--fullscreen rewrote config.txt"
tail -n 1 "$games/log.txt" | grep -q "^Main: Running time=" || fail "log.txt in $games lacks the run statistics"
[ -z "$(ls -A "$top/elsewhere")" ] || fail "the game wrote into the folder it was started from"

echo "-- an unknown option ends before the data set is made; another generator version"
echo 0 > "$games/data/datagen.version"
"$stravo" --no-such-option > "$top/stdout.txt" 2> "$top/stderr.txt"
code=$?
[ "$code" -eq 2 ] || fail "an unknown option ends with $code"
tail -n 1 "$top/stderr.txt" | grep -q "^usage: stravo \[--help\]" || fail "no usage line on stderr"
[ "$(cat "$games/data/datagen.version")" = 0 ] || fail "an unknown option made the data set anew"
STRAVO_CHECK_OPTIONS=1 "$stravo" --windowed > "$top/stdout.txt" 2> "$top/stderr.txt" ||
  fail "STRAVO_CHECK_OPTIONS=1 with a good option ends with $?"
[ "$(cat "$games/data/datagen.version")" = "$want" ] || fail "the data set was not made anew for version $want"

echo "-- --daily: today's circuit in a folder of its own, the option the launcher's alone"
day=$(date -u +%Y%m%d)
STRAVO_CHECK_OPTIONS=1 "$stravo" --daily --windowed > "$top/stdout.txt" 2> "$top/stderr.txt" ||
  fail "--daily ends with $?: $(cat "$top/stderr.txt")"
[ "$(cat "$games/seed-$day/data/datagen.version")" = "$want seed $day" ] || fail "no data set of today's circuit"

echo "-- XDG_DATA_HOME unset: ~/.local/share/stravo"
XDG_DATA_HOME="" STRAVO_CHECK_OPTIONS=1 "$stravo" > /dev/null 2>&1
[ -f "$HOME/.local/share/stravo/data/datagen.version" ] || fail "no data set in ~/.local/share/stravo"

echo "-- the Debian package"
(cd "$build" && cpack -G DEB --config CPackConfig.cmake -B "$top/package") > "$top/cpack.txt" 2>&1 ||
  { tail -n 20 "$top/cpack.txt"; fail "cpack -G DEB"; }
deb=$(ls "$top"/package/*.deb) || fail "cpack made no .deb"
contents=$(dpkg-deb --contents "$deb" | awk '{print $6}') || fail "dpkg-deb cannot list $deb"
echo "$contents"
grep -qxF ./usr/lib/stravo/stravo <<< "$contents" || fail "the package lacks the game"
depends=$(dpkg-deb --field "$deb" Depends)
grep -q libsdl2 <<< "$depends" || fail "the package does not depend on SDL2: $depends"
echo "ok: $(basename "$deb"), $(stat -c %s "$deb") bytes; depends on $depends"
