# Sourced by the scripts that play the real program under the X display of
# ./test.sh: skips (exit 77) without a display or a tool, then lays a fresh
# data set in $work and enters it. Expects $work, $artefacts, $datagen and fail().

if [ -z "${DISPLAY:-}" ]; then
  echo "SKIP: no X display (./test.sh runs the tests under xvfb-run)"
  exit 77
fi
for tool in xdotool import convert; do
  command -v "$tool" > /dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

rm -rf "$work" "$artefacts"
mkdir -p "$work" "$artefacts"
"$datagen" "$work" > "$work/datagen.txt" 2>&1 || fail "the data set could not be generated"
cd "$work" || exit 1
