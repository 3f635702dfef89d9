#include "game/save_notice.h"

void saveNoticeTick(SaveNotice& notice, int failures) {
  if (failures > notice.failuresSeen) {
    notice.failuresSeen = failures;
    notice.ticksLeft = kSaveNoticeTicks;
  } else if (notice.ticksLeft > 0) {
    --notice.ticksLeft;
  }
}
