#include "app/scripted_input.h"

#include "app/text_lines.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

struct KeyName {
  const char* name;
  int code;
};

// The driving keys a script may press, with their DirectInput scan codes.
const KeyName kScriptKeys[] = {
    {"Up", 0xC8}, {"Down", 0xD0}, {"Left", 0xCB}, {"Right", 0xCD},
    {"Space", 0x39}, {"A", 0x1E}, {"S", 0x1F}, {"C", 0x2E},
};

constexpr int kAxisLimit = 1000;

// Splits one line (comment already removed) at blanks and tabs.
std::vector<std::string> splitWords(const std::string& line) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

// Whole-word decimal integer with an optional sign, within [lo, hi].
bool parseInteger(const std::string& word, long long lo, long long hi, long long& out) {
  if (word.empty()) return false;
  const char* text = word.c_str();
  char* end = nullptr;
  errno = 0;
  long long v = std::strtoll(text, &end, 10);
  if (errno != 0 || end != text + word.size()) return false;
  if (!(word[0] == '-' || word[0] == '+' || (word[0] >= '0' && word[0] <= '9'))) return false;
  if (v < lo || v > hi) return false;
  out = v;
  return true;
}

// Parses one non-empty line; false with the reason in `why`.
bool parseEvent(const std::vector<std::string>& w, InputEvent& ev, std::string& why) {
  if (w.size() != 3) {
    why = "expected TICK KEY down|up, TICK analog on|off or TICK axis0|axis1 VALUE";
    return false;
  }
  if (!parseInteger(w[0], 0, 1LL << 40, ev.tick)) {
    why = "bad tick '" + w[0] + "'";
    return false;
  }
  if (w[1] == "analog") {
    ev.kind = InputEvent::kAnalog;
    if (w[2] != "on" && w[2] != "off") {
      why = "analog takes on or off, not '" + w[2] + "'";
      return false;
    }
    ev.value = w[2] == "on" ? 1 : 0;
    return true;
  }
  if (w[1] == "axis0" || w[1] == "axis1") {
    ev.kind = InputEvent::kAxis;
    ev.code = w[1] == "axis0" ? 0 : 1;
    long long v = 0;
    if (!parseInteger(w[2], -kAxisLimit, kAxisLimit, v)) {
      why = "axis value '" + w[2] + "' is not a whole number in -1000..1000";
      return false;
    }
    ev.value = int(v);
    return true;
  }
  ev.kind = InputEvent::kKey;
  ev.code = scriptKeyCode(w[1]);
  if (ev.code < 0) {
    why = "unknown key '" + w[1] + "'";
    return false;
  }
  if (w[2] != "down" && w[2] != "up") {
    why = "key takes down or up, not '" + w[2] + "'";
    return false;
  }
  ev.value = w[2] == "down" ? 1 : 0;
  return true;
}

}  // namespace

int scriptKeyCode(const std::string& name) {
  for (const KeyName& k : kScriptKeys)
    if (name == k.name) return k.code;
  return -1;
}

bool parseInputScript(const uint8_t* data, size_t size, std::vector<InputEvent>& out,
                      int& badLine, std::string& why) {
  out.clear();
  std::vector<TextLine> lines;
  if (!splitTextLines(data, size, lines, badLine, why)) return false;
  for (const TextLine& line : lines) {
    std::vector<std::string> words = splitWords(line.text);
    if (words.empty()) continue;

    InputEvent ev;
    if (!parseEvent(words, ev, why)) {
      badLine = line.number;
      return false;
    }
    out.push_back(ev);
  }
  std::stable_sort(out.begin(), out.end(),
                   [](const InputEvent& a, const InputEvent& b) { return a.tick < b.tick; });
  return true;
}

bool ScriptedInput::readKeyboard(uint8_t out[256]) {
  std::memcpy(out, keys, sizeof(keys));
  return true;
}

bool ScriptedInput::takeController(ControllerState& out) {
  out = controller;
  return true;
}

void ScriptedInput::setKey(int code, bool down) {
  if (code >= 0 && code < 256) keys[code] = down ? 0x80 : 0;
}

void ScriptedInput::setAxis(int n, int value) {
  value = std::clamp(value, -kAxisLimit, kAxisLimit);
  if (n == 0) controller.x = value;
  if (n == 1) controller.y = value;
  if (n == 2) controller.z = value;
}

void ScriptPlayer::apply(long long tick, ScriptedInput& source, InputDevice& device) {
  while (next < events.size() && events[next].tick <= tick) {
    const InputEvent& ev = events[next++];
    switch (ev.kind) {
      case InputEvent::kKey: source.setKey(ev.code, ev.value != 0); break;
      case InputEvent::kAnalog: device.setAnalog(ev.value != 0); break;
      case InputEvent::kAxis: source.setAxis(ev.code, ev.value); break;
    }
  }
}
