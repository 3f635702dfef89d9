#include "board/html.h"

#include "game/time_display.h"

#include <cmath>
#include <cstdio>
#include <ctime>

std::string escapeHtml(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string timeText(float seconds) {
  std::string text = lapTimeText(seconds);
  // Sectors under a minute read without the minutes.
  if (seconds < 60.0f && text.compare(0, 2, "0:") == 0) text = text.substr(2);
  return text;
}

std::string gapText(float seconds) {
  char text[32];
  std::snprintf(text, sizeof(text), "%+.2f", double(seconds));
  return text;
}

namespace {

std::string utcText(int64_t ms, const char* format) {
  std::time_t t = std::time_t(ms / 1000);
  std::tm tm{};
  gmtime_r(&t, &tm);
  char text[32];
  std::strftime(text, sizeof(text), format, &tm);
  return text;
}

}  // namespace

std::string dateText(int64_t ms) { return utcText(ms, "%Y-%m-%d %H:%M"); }

std::string isoDateText(int64_t ms) { return utcText(ms, "%Y-%m-%dT%H:%M:%SZ"); }
