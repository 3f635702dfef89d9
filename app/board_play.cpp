#include "app/board_play.h"

#include "app/board_sync.h"
#include "app/board_tokens.h"
#include "app/data_set_circuit.h"
#include "app/files.h"
#include "app/lap_outbox.h"
#include "app/lap_proof.h"
#include "game/game_state.h"
#include "game/lap_class.h"
#include "game/laps/ghosts.h"

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <thread>

namespace {

// What the worker has learnt, handed to the main thread under the lock.
struct BoardNews {
  Standing standing[kLapClassCount];
  bool haveStanding[kLapClassCount] = {false, false};
  std::vector<std::string> lines;  // for stderr, each once
  bool nameTaken = false;
  // Checked laps not yet handed to the ghosts: rival and leader, by class.
  GhostLap laps[kBoardGhostCount][kLapClassCount];
  bool fresh[kBoardGhostCount][kLapClassCount] = {{false, false}, {false, false}};
};

struct BoardPlay {
  BoardPlayer player;
  // The worker's own track for checking fetched laps: the player's collision
  // tree keeps per-query marks, so it must not be shared.
  ProofTrack proofTrack;
  std::string ghostFolder;
  Ghosts* ghosts = nullptr;  // the game's: the lap just completed, the board's laps handed over

  std::thread worker;
  std::mutex mutex;
  std::condition_variable wake;
  int jobs = 0;  // exchanges asked for and not yet begun
  bool inRound = false;  // the worker is in a round
  bool stopping = false;
  std::atomic<bool> cancel{false};
  BoardNews news;

  // The worker's own view.
  bool joined = false;
  bool nameRefused = false;
  bool tokenRefused = false;
  std::string lastTold;
  // The main thread's view.
  float boardBest[kLapClassCount] = {0.0f, 0.0f};  // s; 0: none on the board
  bool previousRunning = false;
  bool previousLatched = false;
};

BoardPlay* play = nullptr;

// Asks the worker for one more round: join, send the outbox, read the standings.
void post() {
  std::lock_guard<std::mutex> lock(play->mutex);
  ++play->jobs;
  play->wake.notify_one();
}

// A line for stderr; the same fault again (a board still down) is not repeated.
void tell(const std::string& line) {
  if (line == play->lastTold) return;
  play->lastTold = line;
  std::lock_guard<std::mutex> lock(play->mutex);
  play->news.lines.push_back(line);
}

// Fetches and checks one board lap, keeps it as a ghost file and hands it to the game.
void keepBoardLap(GhostChoice which, int lapClass, const BoardEntry& entry) {
  const char* role = which == GhostChoice::Rival ? "rival" : "leader";
  std::vector<uint8_t> proof;
  GhostLap lap;
  std::string why;
  if (!fetchProof(play->player.link, entry.lapId, proof, why) || !checkProof(proof, play->proofTrack, lap, why)) {
    tell(std::string("board: the ") + role + "'s lap is not used: " + why);
    return;
  }
  if (classIndex(lap.lapClass) != lapClass) {
    tell(std::string("board: the ") + role + "'s lap is of the other class");
    return;
  }
  std::string path = play->ghostFolder + "\\" + role + (lapClass == 1 ? "-turbo" : "") + ".ghost";
  // The proof is the ghost file: what the board sent is kept as it came.
  if (!makeFolder(play->ghostFolder.c_str(), why) || !writeFileAtomically(path.c_str(), proof.data(), proof.size(), why))
    tell("board: cannot write " + platformPath(path.c_str()) + ": " + why);
  int b = boardGhostIndex(which);
  std::lock_guard<std::mutex> lock(play->mutex);
  play->news.laps[b][lapClass] = std::move(lap);
  play->news.fresh[b][lapClass] = true;
}

void refreshStandings() {
  for (int c = 0; c < kLapClassCount; ++c) {
    Standing standing;
    std::string why;
    if (!fetchStanding(play->player, lapClassName(kLapClasses[c]), standing, why)) {
      tell("board: " + why);
      return;
    }
    {
      std::lock_guard<std::mutex> lock(play->mutex);
      play->news.standing[c] = standing;
      play->news.haveStanding[c] = true;
    }
    if (standing.haveRival) keepBoardLap(GhostChoice::Rival, c, standing.rival);
    if (standing.haveLeader) keepBoardLap(GhostChoice::Leader, c, standing.leader);
  }
}

void runJob() {
  if (play->nameRefused) return;
  std::string why;
  if (!play->joined) {
    JoinOutcome joined = joinBoard(play->player, why, play->tokenRefused);
    if (!why.empty()) tell("board: " + why);
    play->nameRefused = joined == JoinOutcome::NameTaken;
    if (play->nameRefused) {
      std::lock_guard<std::mutex> lock(play->mutex);
      play->news.nameTaken = true;
    }
    play->joined = joined == JoinOutcome::Joined;
    // Another player's standing under this name is not the player's.
    if (play->nameRefused) return;
  }
  if (play->joined) {
    OutboxReport sent = sendOutbox(play->player);
    for (const std::string& line : sent.lines) tell(line);
    // A board that lost the player (a new database) registers the name again next round.
    play->tokenRefused = sent.tokenUnknown;
    play->joined = !sent.tokenUnknown;
  }
  refreshStandings();
}

void workerLoop() {
  for (;;) {
    {
      std::unique_lock<std::mutex> lock(play->mutex);
      play->wake.wait(lock, [] { return play->stopping || play->jobs > 0; });
      if (play->stopping) return;
      // One round sends everything that waits: rounds asked for meanwhile fold into it.
      play->jobs = 0;
      play->inRound = true;
    }
    runJob();
    std::lock_guard<std::mutex> lock(play->mutex);
    play->inRound = false;
  }
}

}  // namespace

bool startBoardPlay(const BoardPlaySettings& settings, Ghosts& ghosts, std::string& why) {
  if (!startHttp(why)) return false;
  std::unique_ptr<BoardPlay> made(new BoardPlay);
  BoardPlayer& player = made->player;
  DataSetCircuit circuit;
  if (!circuitOfDataSet(".", circuit, why)) return false;
  player.link.base = settings.base;
  player.link.cancel = &made->cancel;
  player.circuit = circuit.circuit;
  player.generator = circuit.generator;
  player.configFolder = boardConfigFolder();
  player.outbox = kOutboxFolder;
  player.name = settings.name;
  if (player.name.empty() && !defaultPlayerName(player.configFolder, player.link.base, player.name)) {
    why = "--board needs --name NAME (3 to 24 characters)";
    return false;
  }
  if (!loadProofTrack(".", made->proofTrack, why)) return false;
  made->ghostFolder = ghosts.folder;
  made->ghosts = &ghosts;
  play = made.release();
  play->jobs = 1;
  play->worker = std::thread(workerLoop);
  return true;
}

void boardAfterTick(const PhCar&, const GameState& state) {
  if (play == nullptr) return;
  bool completed = play->previousRunning && !play->previousLatched && state.lineLatched;
  play->previousRunning = state.lapRunning;
  play->previousLatched = state.lineLatched;
  if (!completed) return;
  // The ghosts completed the lap's recording in this same tick.
  const Ghosts& ghosts = *play->ghosts;
  if (!ghosts.haveLastLap) return;
  int c = classIndex(ghosts.lastLap.lapClass);
  if (play->boardBest[c] > 0.0f && !(ghosts.lastLap.lapTime < play->boardBest[c])) return;
  std::vector<uint8_t> proof;
  if (!proofOfLap(ghosts, proof)) return;
  std::string path, why;
  if (!putInOutbox(play->player.outbox, proof, path, why)) {
    std::fprintf(stderr, "stravo: board: %s\n", why.c_str());
    return;
  }
  // Until the board answers, this lap is the one to beat.
  play->boardBest[c] = ghosts.lastLap.lapTime;
  post();
}

void boardFrame(GameState& state) {
  if (play == nullptr) return;
  std::unique_lock<std::mutex> lock(play->mutex, std::try_to_lock);
  if (!lock.owns_lock()) return;
  for (const std::string& line : play->news.lines) std::fprintf(stderr, "stravo: %s\n", line.c_str());
  play->news.lines.clear();
  for (int b = 0; b < kBoardGhostCount; ++b)
    for (int c = 0; c < kLapClassCount; ++c)
      if (play->news.fresh[b][c]) {
        takeBoardLap(*play->ghosts, GhostChoice(int(GhostChoice::Rival) + b), std::move(play->news.laps[b][c]));
        play->news.fresh[b][c] = false;
      }
  for (int c = 0; c < kLapClassCount; ++c) {
    if (!play->news.haveStanding[c]) continue;
    const Standing& standing = play->news.standing[c];
    if (standing.ranked && (play->boardBest[c] == 0.0f || float(standing.own.time) < play->boardBest[c]))
      play->boardBest[c] = float(standing.own.time);
  }
  int c = state.turboUsedThisLap ? 1 : 0;
  const Standing& shown = play->news.standing[c];
  state.timing.boardRank = play->news.haveStanding[c] && shown.ranked ? shown.own.rank : 0;
  state.timing.boardPlayers = shown.total;
  state.timing.boardNameTaken = play->news.nameTaken;
}

bool boardBusy() {
  if (play == nullptr) return false;
  std::lock_guard<std::mutex> lock(play->mutex);
  return play->jobs > 0 || play->inRound;
}

void stopBoardPlay() {
  if (play == nullptr) return;
  play->cancel = true;
  {
    std::lock_guard<std::mutex> lock(play->mutex);
    play->stopping = true;
    play->wake.notify_one();
  }
  play->worker.join();
  delete play;
  play = nullptr;
}
