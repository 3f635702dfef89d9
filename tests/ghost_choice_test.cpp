#include "game/laps/ghost_choice.h"
#include "game/laps/ghosts.h"

#include <gtest/gtest.h>

namespace {

GhostChoice pressFrom(GhostChoice now, bool own, bool rival, bool leader) {
  const bool have[kGhostChoiceCount] = {true, own, rival, leader};
  return nextGhostChoice(now, have);
}

}  // namespace

TEST(GhostChoice, CyclesOffOwnRivalLeader) {
  EXPECT_EQ(pressFrom(GhostChoice::Off, true, true, true), GhostChoice::Own);
  EXPECT_EQ(pressFrom(GhostChoice::Own, true, true, true), GhostChoice::Rival);
  EXPECT_EQ(pressFrom(GhostChoice::Rival, true, true, true), GhostChoice::Leader);
  EXPECT_EQ(pressFrom(GhostChoice::Leader, true, true, true), GhostChoice::Off);
}

TEST(GhostChoice, WithoutABoardItFlipsBetweenOffAndOwn) {
  EXPECT_EQ(pressFrom(GhostChoice::Off, true, false, false), GhostChoice::Own);
  EXPECT_EQ(pressFrom(GhostChoice::Own, true, false, false), GhostChoice::Off);
}

TEST(GhostChoice, ChoicesWithoutALapAreSkipped) {
  // No lap of the player's own yet, the leader's only (the player is unranked on a one-player board).
  EXPECT_EQ(pressFrom(GhostChoice::Off, false, false, true), GhostChoice::Leader);
  // The player leads: the rival is none and the leader is the player's own lap, still offered.
  EXPECT_EQ(pressFrom(GhostChoice::Own, true, false, true), GhostChoice::Leader);
  EXPECT_EQ(pressFrom(GhostChoice::Off, false, false, false), GhostChoice::Off);
  // A choice whose lap went away meanwhile moves on like any other.
  EXPECT_EQ(pressFrom(GhostChoice::Rival, true, false, false), GhostChoice::Off);
}

TEST(GhostChoice, TheChosenLapIsTheBoardsOrTheOwnBest) {
  Ghosts ghosts;
  ghosts.best[0].lapTime = 80.18f;
  ghosts.haveBest[0] = true;
  EXPECT_EQ(chosenLap(ghosts, LapClass::Plain), &ghosts.best[0]);  // Off: the timing aids' own reference
  EXPECT_EQ(chosenLap(ghosts, LapClass::Turbo), nullptr);
  EXPECT_FALSE(haveBoardLaps(ghosts));

  ghosts.choice = GhostChoice::Rival;
  EXPECT_EQ(chosenLap(ghosts, LapClass::Plain), nullptr);
  GhostLap rival;
  rival.lapTime = 77.62f;
  takeBoardLap(ghosts, GhostChoice::Rival, std::move(rival));
  ASSERT_NE(chosenLap(ghosts, LapClass::Plain), nullptr);
  EXPECT_EQ(chosenLap(ghosts, LapClass::Plain)->lapTime, 77.62f);
  EXPECT_TRUE(haveBoardLaps(ghosts));
  ghosts.choice = GhostChoice::Leader;
  EXPECT_EQ(chosenLap(ghosts, LapClass::Plain), nullptr);
}
