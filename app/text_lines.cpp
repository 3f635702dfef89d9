#include "app/text_lines.h"

bool splitTextLines(const uint8_t* data, size_t size, std::vector<TextLine>& out, int& badLine,
                    std::string& why) {
  out.clear();
  badLine = 0;
  int number = 0;
  size_t pos = 0;
  while (pos < size) {
    size_t end = pos;
    while (end < size && data[end] != '\n') ++end;
    std::string text(reinterpret_cast<const char*>(data) + pos, end - pos);
    pos = end + 1;
    ++number;
    if (text.find('\0') != std::string::npos) {
      badLine = number;
      why = "contains a zero byte";
      return false;
    }
    size_t hash = text.find('#');
    if (hash != std::string::npos) text.erase(hash);
    out.push_back({number, std::move(text)});
  }
  return true;
}
