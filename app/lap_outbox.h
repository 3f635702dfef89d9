#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Laps on their way to the board: each proof is a file of its own in the
// outbox folder of the working folder, written before it is sent and removed
// only once the board has taken or refused it, so that a lap survives the
// game being closed, killed or offline and goes at the next start.

// The outbox in the working folder.
constexpr const char* kOutboxFolder = "outbox";
// A proof larger than this is not read back (no lap comes near it).
constexpr size_t kMaxOutboxProofBytes = 32u << 20;

// Writes `proof` as a new file in `folder` (made when missing), through a
// temporary file and a rename. False with `why`; `path` names the file.
bool putInOutbox(const std::string& folder, const std::vector<uint8_t>& proof, std::string& path, std::string& why);
// The waiting proofs' paths, oldest first.
std::vector<std::string> outboxEntries(const std::string& folder);
// A waiting proof's bytes; false with `why` (gone, not a plain file, too large).
bool readOutboxEntry(const std::string& path, std::vector<uint8_t>& out, std::string& why);
// Removes a proof the board has answered for.
void takeFromOutbox(const std::string& path);
