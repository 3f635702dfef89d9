#include "board/sql_db.h"

#include <cstdio>

std::string exactRealText(double v) {
  char text[40];
  std::snprintf(text, sizeof(text), "%.17g", v);
  return text;
}

SqlValue SqlValue::of(int64_t v) {
  SqlValue s;
  s.kind = Kind::Int;
  s.integer = v;
  return s;
}

SqlValue SqlValue::ofReal(double v) {
  SqlValue s;
  s.kind = Kind::Real;
  s.real = v;
  return s;
}

SqlValue SqlValue::ofText(std::string v) {
  SqlValue s;
  s.kind = Kind::Text;
  s.bytes = std::move(v);
  return s;
}

SqlValue SqlValue::ofBlob(std::string v) {
  SqlValue s;
  s.kind = Kind::Blob;
  s.bytes = std::move(v);
  return s;
}
