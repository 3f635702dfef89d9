#include "app/board_sync.h"

#include "app/board_tokens.h"
#include "app/lap_outbox.h"

#include <cstdlib>

namespace {

// Rows asked for at once, and pages read at most while looking for the player.
constexpr int64_t kPageRows = 200;
constexpr int kMaxPages = 10;

bool usableName(const std::string& name) {
  if (name.size() < 3 || name.size() > 24) return false;
  for (char c : name)
    if (c < ' ' || c >= 0x7f) return false;
  return true;
}

std::string proofName(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

}  // namespace

bool defaultPlayerName(const std::string& configFolder, const std::string& base, std::string& name) {
  std::string kept;
  if (lastPlayerOf(configFolder, base, kept) && usableName(kept)) {
    name = kept;
    return true;
  }
  const char* user = std::getenv("USER");
  if (user != nullptr && usableName(user)) {
    name = user;
    return true;
  }
  return false;
}

JoinOutcome joinBoard(BoardPlayer& player, std::string& why, bool fresh) {
  if (!fresh && findToken(player.configFolder, player.link.base, player.name, player.token)) return JoinOutcome::Joined;
  std::string token;
  switch (registerPlayer(player.link, player.name, token, why)) {
    case RegisterOutcome::NameTaken: return JoinOutcome::NameTaken;
    case RegisterOutcome::Failed: return JoinOutcome::Failed;
    case RegisterOutcome::Registered: break;
  }
  player.token = token;
  // A token that cannot be kept still serves this run; `why` says so.
  if (!keepToken(player.configFolder, player.link.base, player.name, token, why)) why = "token not kept: " + why;
  return JoinOutcome::Joined;
}

OutboxReport sendOutbox(const BoardPlayer& player) {
  OutboxReport report;
  std::vector<std::string> entries = outboxEntries(player.outbox);
  for (size_t i = 0; i < entries.size(); ++i) {
    std::vector<uint8_t> proof;
    std::string why;
    if (!readOutboxEntry(entries[i], proof, why)) {
      report.lines.push_back("outbox: " + why);
      continue;
    }
    SubmitReply reply = submitLap(player.link, player.token, player.circuit, player.generator, proof);
    std::string name = proofName(entries[i]);
    if (reply.outcome == SubmitOutcome::Retry) {
      report.waiting = int(entries.size() - i);
      report.tokenUnknown = reply.tokenUnknown;
      report.lines.push_back("board: " + name + " waits in the outbox: " + reply.why);
      return report;
    }
    takeFromOutbox(entries[i]);
    if (reply.outcome == SubmitOutcome::Refused) {
      ++report.refused;
      report.lines.push_back("board: " + name + " refused: " + reply.why);
    } else {
      ++report.accepted;
      report.lastRank = reply.rank;
      report.lines.push_back("board: " + name + " accepted as lap " + std::to_string(reply.lapId) + ", rank " +
                             std::to_string(reply.rank));
    }
  }
  return report;
}

bool fetchStanding(const BoardPlayer& player, const std::string& lapClass, Standing& out, std::string& why) {
  out = Standing();
  BoardPage page;
  BoardEntry previous;
  bool havePrevious = false;
  for (int n = 0; n < kMaxPages; ++n) {
    if (!fetchBoardPage(player.link, player.circuit, lapClass, n * kPageRows, kPageRows, page, why)) return false;
    out.total = page.total;
    for (const BoardEntry& entry : page.entries) {
      if (!out.haveLeader) {
        out.leader = entry;
        out.haveLeader = true;
      }
      if (entry.player == player.name) {
        out.ranked = true;
        out.own = entry;
        out.haveRival = havePrevious;
        out.rival = previous;
        return true;
      }
      previous = entry;
      havePrevious = true;
    }
    if (int64_t(page.entries.size()) < kPageRows || (n + 1) * kPageRows >= page.total) break;
  }
  // Not on the board (or beyond the pages read): the slowest lap seen is the
  // one to beat first.
  out.haveRival = havePrevious;
  out.rival = previous;
  return true;
}
