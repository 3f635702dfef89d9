#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One line of a small text file, its '#' comment removed; numbers start at 1.
struct TextLine {
  int number;
  std::string text;
};

// Splits a text buffer at line feeds and drops '#' comments. False, with the
// line number and the reason, at a line that holds a zero byte.
bool splitTextLines(const uint8_t* data, size_t size, std::vector<TextLine>& out, int& badLine,
                    std::string& why);
