#include "tools/sim/sim_board.h"

#include "app/board_sync.h"
#include "app/board_tokens.h"
#include "app/data_set_circuit.h"
#include "app/files.h"
#include "app/lap_outbox.h"
#include "app/lap_proof.h"
#include "game/lap_class.h"
#include "game/laps/ghost_files.h"
#include "game/laps/proof_file.h"
#include "game/time_display.h"

#include <cstdio>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitRefused = 3;
constexpr int kExitWaiting = 5;

void say(const std::string& line) { std::printf("%s\n", line.c_str()); }

// The player on the board at opts.board for DIR's circuit, without a token yet.
bool boardPlayerOf(const SimOptions& opts, BoardPlayer& player) {
  std::string why;
  DataSetCircuit circuit;
  if (!parseBoardUrl(opts.board, player.link.base, why) || !circuitOfDataSet(platformPath(opts.dir.c_str()), circuit, why)) {
    std::fprintf(stderr, "stravo-sim: %s\n", why.c_str());
    return false;
  }
  player.circuit = circuit.circuit;
  player.generator = circuit.generator;
  player.configFolder = boardConfigFolder();
  player.outbox = platformPath(opts.dir.c_str()) + "/" + kOutboxFolder;
  player.name = opts.name;
  if (player.name.empty() && !defaultPlayerName(player.configFolder, player.link.base, player.name)) {
    std::fprintf(stderr, "stravo-sim: --board needs --name NAME (3 to 24 characters)\n");
    return false;
  }
  return true;
}

// The proof in `path` goes into the outbox; its class is read from it.
bool queueProof(const SimWorld& sim, const BoardPlayer& player, const std::string& path, bool& turbo) {
  std::vector<unsigned char> bytes;
  LapClass lapClass = LapClass::Plain;
  std::string why, queued;
  if (!readWholeFile(path.c_str(), kMaxProofBytes, bytes, why) ||
      !proofClass(std::vector<uint8_t>(bytes.begin(), bytes.end()), sim.ghosts.trackId, lapClass, why)) {
    std::fprintf(stderr, "stravo-sim: %s is no lap of this track: %s\n", path.c_str(), why.c_str());
    return false;
  }
  turbo = lapClass == LapClass::Turbo;
  if (!putInOutbox(player.outbox, std::vector<uint8_t>(bytes.begin(), bytes.end()), queued, why)) {
    std::fprintf(stderr, "stravo-sim: %s\n", why.c_str());
    return false;
  }
  return true;
}

// Fetches one board lap's proof, checks it on DIR's track and keeps it.
bool keepBoardLap(const SimWorld& sim, const SimOptions& opts, const BoardPlayer& player, const char* role,
                  const BoardEntry& entry, bool turbo) {
  ProofTrack track;
  ghostProofTrack(sim.ghosts, sim.state, opts.dir + "\\", track);
  std::vector<uint8_t> proof;
  GhostLap lap;
  std::string why;
  if (!fetchProof(player.link, entry.lapId, proof, why) || !checkProof(proof, track, lap, why)) {
    say(std::string(role) + " refused: " + why);
    return false;
  }
  std::string path = sim.ghosts.folder + "\\" + role + (turbo ? "-turbo" : "") + ".ghost";
  // The proof is the ghost file: what the board sent is kept as it came.
  if (!makeFolder(sim.ghosts.folder.c_str(), why) ||
      !writeFileAtomically(path.c_str(), proof.data(), proof.size(), why)) {
    say(std::string(role) + " not kept: cannot write " + platformPath(path.c_str()) + ": " + why);
    return false;
  }
  say(std::string(role) + ": " + entry.player + " " + lapTimeText(lap.lapTime) + " rank " +
      std::to_string(entry.rank) + " verified, " + platformPath(path.c_str()));
  return true;
}

}  // namespace

int runBoardExchange(const SimWorld& sim, const SimOptions& opts) {
  BoardPlayer player;
  if (!boardPlayerOf(opts, player)) return kExitFailed;
  std::string why;
  bool turbo = opts.turbo;
  if (!opts.submitPath.empty() && !queueProof(sim, player, opts.submitPath, turbo)) return kExitFailed;

  // Only sending needs a token: reading the board does not.
  int code = kExitOk;
  if (!outboxEntries(player.outbox).empty()) {
    JoinOutcome joined = joinBoard(player, why);
    if (!why.empty()) say("board: " + why);
    if (joined == JoinOutcome::NameTaken) return kExitFailed;
    if (joined == JoinOutcome::Joined) {
      OutboxReport sent = sendOutbox(player);
      for (const std::string& line : sent.lines) say(line);
      // A board that lost the player (a new database): the name registered again.
      if (sent.tokenUnknown) {
        joined = joinBoard(player, why, true);
        if (joined != JoinOutcome::Joined) say("board: " + why);
        if (joined == JoinOutcome::Joined) {
          sent = sendOutbox(player);
          for (const std::string& line : sent.lines) say(line);
        }
      }
      if (sent.refused > 0) code = kExitRefused;
    }
    size_t waiting = outboxEntries(player.outbox).size();
    if (waiting > 0) {
      say("board: waiting in the outbox: " + std::to_string(waiting));
      code = kExitWaiting;
    }
    if (joined != JoinOutcome::Joined) return code;
  }

  const char* lapClass = lapClassName(lapClassOf(turbo));
  Standing standing;
  if (!fetchStanding(player, lapClass, standing, why)) {
    say("board: " + why);
    return code == kExitOk ? kExitFailed : code;
  }
  if (standing.ranked)
    say("board: " + player.name + " rank " + std::to_string(standing.own.rank) + " / " +
        std::to_string(standing.total) + " " + lapTimeText(float(standing.own.time)));
  else
    say("board: " + player.name + " not on the " + player.circuit + " " + lapClass + " board (" +
        std::to_string(standing.total) + " players)");
  if (opts.fetchRival) {
    if (standing.haveRival && !keepBoardLap(sim, opts, player, "rival", standing.rival, turbo)) code = kExitFailed;
    if (!standing.haveRival) say("rival: none");
    if (standing.haveLeader && !keepBoardLap(sim, opts, player, "leader", standing.leader, turbo)) code = kExitFailed;
  }
  return code;
}
