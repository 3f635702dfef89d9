#pragma once

#include <string>

// A new player's secret: 32 random bytes as 64 hex digits. Empty when the
// system's random source fails.
std::string newToken();
// What the board keeps of a token: its SHA-256 as hex.
std::string tokenHash(const std::string& token);
// The token of an "Authorization: Bearer TOKEN" header; empty when it is not one.
std::string bearerToken(const std::string& header);
// 3 to 24 printable ASCII characters, not starting or ending with a space.
bool validPlayerName(const std::string& name);
