#pragma once

#include <cstdint>
#include <string>

// `text` made safe inside HTML text and quoted attribute values.
std::string escapeHtml(const std::string& text);
// A lap or sector time as the game shows it, "1:20.18" or "23.17".
std::string timeText(float seconds);
// A time difference with its sign, "+0.42".
std::string gapText(float seconds);
// A date of ms since 1970 in UTC, "2026-12-09 10:40".
std::string dateText(int64_t ms);
// The same to the second in ISO 8601, "2026-12-09T10:40:00Z".
std::string isoDateText(int64_t ms);
