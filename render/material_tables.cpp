#include "render/material_tables.h"

#include "app/log.h"

#include <climits>
#include <cstdlib>

namespace {

// The white space of scanf in the C locale.
bool isSpace(uint8_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

void skipSpace(TextCursor& cursor) {
  while (!cursor.atEnd() && isSpace(cursor.data[cursor.pos])) ++cursor.pos;
}

// "%i" on a stream: converts the longest number at the cursor and leaves the
// cursor after it. False when no number starts there.
bool readStreamInt(TextCursor& cursor, int& value) {
  skipSpace(cursor);
  size_t start = cursor.pos;
  size_t end = start;
  while (end < cursor.size && !isSpace(cursor.data[end])) ++end;
  std::string run(reinterpret_cast<const char*>(cursor.data) + start, end - start);
  char* stop = nullptr;
  long parsed = std::strtol(run.c_str(), &stop, 0);
  if (stop == run.c_str()) return false;
  if (parsed > INT_MAX) parsed = INT_MAX;
  if (parsed < INT_MIN) parsed = INT_MIN;
  value = int(parsed);
  cursor.pos = start + size_t(stop - run.c_str());
  return true;
}

bool readTableToken(TextCursor& cursor, std::string& token, bool& skipPair, std::string& why) {
  TokenResult result = readToken(cursor, token);
  if (result == TokenResult::kEnd) {
    why = "entry cut short at the end";
    return false;
  }
  if (result == TokenResult::kTooLong) {
    logLine("MatRenderer: Skipping a table entry with a token longer than %i bytes", kMaxTokenLength);
    skipPair = true;
  }
  return true;
}

}  // namespace

TokenResult readToken(TextCursor& cursor, std::string& token) {
  token.clear();
  skipSpace(cursor);
  if (cursor.atEnd()) return TokenResult::kEnd;
  size_t start = cursor.pos;
  while (!cursor.atEnd() && !isSpace(cursor.data[cursor.pos])) ++cursor.pos;
  size_t length = cursor.pos - start;
  if (length > size_t(kMaxTokenLength)) return TokenResult::kTooLong;
  token.assign(reinterpret_cast<const char*>(cursor.data) + start, length);
  return TokenResult::kToken;
}

int scanInt(const char* text) {
  char* stop = nullptr;
  long parsed = std::strtol(text, &stop, 0);
  if (stop == text) return 0;
  if (parsed > INT_MAX) return INT_MAX;
  if (parsed < INT_MIN) return INT_MIN;
  return int(parsed);
}

float scanReal(const char* text) {
  char* stop = nullptr;
  float parsed = std::strtof(text, &stop);
  return stop == text ? 0.0f : parsed;
}

MaterialTables::~MaterialTables() {
  commands.clearAndFree();
  constants.clearAndFree();
}

int MaterialTables::FindCommand(const char* keyword) const {
  for (const CommandEntry* entry : commands) {
    if (entry->keyword == keyword) return entry->opcode;
  }
  return -1;
}

const char* MaterialTables::SubstituteConstant(const char* token) const {
  for (const ConstantEntry* entry : constants) {
    if (entry->name == token) return entry->value.c_str();
  }
  return token;
}

bool parseCommandTable(const uint8_t* data, size_t size, MaterialTables& tables, std::string& why) {
  TextCursor cursor(data, size);
  for (;;) {
    skipSpace(cursor);
    if (cursor.atEnd()) return true;
    int opcode = 0;
    if (!readStreamInt(cursor, opcode)) {
      why = "opcode is not a number";
      return false;
    }
    std::string keyword;
    bool skipPair = false;
    if (!readTableToken(cursor, keyword, skipPair, why)) return false;
    if (!skipPair) tables.commands.append(new CommandEntry{keyword, opcode});
  }
}

bool parseConstantTable(const uint8_t* data, size_t size, MaterialTables& tables, std::string& why) {
  TextCursor cursor(data, size);
  for (;;) {
    skipSpace(cursor);
    if (cursor.atEnd()) return true;
    std::string name, value;
    bool skipPair = false;
    if (!readTableToken(cursor, name, skipPair, why)) return false;
    if (!readTableToken(cursor, value, skipPair, why)) return false;
    if (!skipPair) tables.constants.append(new ConstantEntry{name, value});
  }
}
