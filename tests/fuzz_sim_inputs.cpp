// libFuzzer target for the headless runner's untrusted inputs: the first byte
// picks the parser (input script, prop file, centre line), the rest is the file.

#include "app/scripted_input.h"
#include "game/prop_file.h"
#include "game/track_line.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t* body = data + 1;
  size_t bodySize = size - 1;
  std::string why;
  int line = 0;
  switch (data[0] % 3) {
    case 0: {
      std::vector<InputEvent> events;
      parseInputScript(body, bodySize, events, line, why);
      break;
    }
    case 1: {
      PropFile props;
      parsePropFile(body, bodySize, props, why);
      break;
    }
    default: {
      TrackLine track;
      if (parseTrackLine(body, bodySize, track, line, why)) nearestPoint(track, track.points[0]);
      break;
    }
  }
  return 0;
}
