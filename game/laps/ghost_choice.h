#pragma once

// Which lap the ghost car drives, chosen with G: none, the player's own best,
// the lap just above the player's on the board, or the board's leader. Each
// press goes on to the next choice that has a checked lap, back to none after
// the last; without a board that is none and the player's best, in turn.
enum class GhostChoice { Off, Own, Rival, Leader };
constexpr int kGhostChoiceCount = 4;
// The board's laps, in GhostChoice order from Rival.
constexpr int kBoardGhostCount = 2;
constexpr int boardGhostIndex(GhostChoice c) { return int(c) - int(GhostChoice::Rival); }

// The next choice after `now`; `have` says, in GhostChoice order, which have a
// lap (have[0], for Off, is not read: none is always there).
inline GhostChoice nextGhostChoice(GhostChoice now, const bool have[kGhostChoiceCount]) {
  int at = int(now);
  for (int step = 1; step < kGhostChoiceCount; ++step) {
    int next = (at + step) % kGhostChoiceCount;
    if (next == int(GhostChoice::Off) || have[next]) return GhostChoice(next);
  }
  return GhostChoice::Off;
}
