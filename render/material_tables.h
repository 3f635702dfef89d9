#pragma once

#include "physics/ptr_list.h"

#include <cstddef>
#include <cstdint>
#include <string>

// The longest token of scripts and tables, in bytes.
constexpr int kMaxTokenLength = 63;

// A read position in a text image, read the way scanf reads a stream.
struct TextCursor {
  const uint8_t* data;
  size_t size;
  size_t pos = 0;

  TextCursor(const uint8_t* data_, size_t size_) : data(data_), size(size_) {}
  bool atEnd() const { return pos >= size; }
};

enum class TokenResult { kToken, kEnd, kTooLong };

// Skips white space and reads one white-space-delimited token. At the end of the
// data `token` is empty (kEnd). A token longer than kMaxTokenLength is consumed
// whole and reported as kTooLong with `token` empty.
TokenResult readToken(TextCursor& cursor, std::string& token);

// An integer as "%i" reads it: decimal, hexadecimal after 0x, octal after a
// leading 0, an optional sign; trailing bytes are ignored. Not a number: 0.
// Values beyond int are clamped.
int scanInt(const char* text);

// A real as "%f" reads it; not a number: 0.
float scanReal(const char* text);

// One keyword of the command table.
struct CommandEntry {
  std::string keyword;  // at most 63 bytes
  int opcode;
};

// One named value of the constant table; the value stays text until a script
// argument uses it.
struct ConstantEntry {
  std::string name;   // at most 63 bytes
  std::string value;  // at most 63 bytes
};

// The vocabulary of the material scripts: keywords to opcodes and named
// constants, both in file order.
struct MaterialTables {
  PtrList<CommandEntry> commands;
  PtrList<ConstantEntry> constants;

  MaterialTables() = default;
  ~MaterialTables();
  MaterialTables(const MaterialTables&) = delete;
  MaterialTables& operator=(const MaterialTables&) = delete;

  // The opcode of the first entry whose keyword equals `keyword`, or -1.
  int FindCommand(const char* keyword) const;

  // The value of the first constant named `token`; any other token stands for itself.
  const char* SubstituteConstant(const char* token) const;
};

// Appends the "integer keyword" pairs of a command table. Reading stops at the
// first pair that does not parse, with `why` set and false returned; the pairs
// before it are kept. Over-long keywords are skipped with their pair.
bool parseCommandTable(const uint8_t* data, size_t size, MaterialTables& tables, std::string& why);

// Appends the "name value" pairs of a constant table, with the same rules.
bool parseConstantTable(const uint8_t* data, size_t size, MaterialTables& tables, std::string& why);
