#include "game/draw/timing_hud.h"

#include "game/draw/overlay.h"
#include "game/draw/timing_labels.h"
#include "game/laps/replay_viewer.h"
#include "game/time_display.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdio>

namespace {

// The delta, large, at the top middle (overlay units).
constexpr float kDeltaX = 22.0f, kDeltaY = -10.5f, kDeltaSize = 4.5f;
// The splits: one row a sector, then the ideal lap, at the top left.
constexpr float kSplitsX = -15.0f, kSplitsY = -10.5f, kRowSpacing = 3.0f, kRowSize = 2.4f;
constexpr float kSplitTimeX = kSplitsX + 2.6f;  // drawTime's first glyph sits 1 unit in
constexpr float kSplitDiffX = kSplitsX + 17.5f;
constexpr float kIdealTimeX = kSplitsX + 6.0f;
constexpr float kBoardRankX = kSplitsX + 8.0f;
constexpr float kBoardWordAdvance = 6.5f;  // NAME's width and a space
// The shown ghost's label, small, over the delta.
constexpr float kGhostLabelX = 26.0f, kGhostLabelY = -12.0f, kGhostLabelSize = 1.5f;
// The replay banner.
constexpr float kBannerX = 21.0f, kBannerY = -11.0f, kBannerHeight = 4.0f;
// The failed-save notice, under the delta.
constexpr float kNoticeX = 21.0f, kNoticeY = -5.0f, kNoticeHeight = 3.0f;

// Glyph advance of the digits and of the decimal point, per unit of size.
constexpr float kDigitAdvance = 0.62f;
constexpr float kPointAdvance = 0.45f;
// The latest sector stands out this long (ticks, 5 s).
constexpr int kLatestHighlightTicks = 375;

void colourFor(float difference) {
  if (difference < -0.005f)
    glColor3f(0.35f, 1.0f, 0.35f);  // ahead
  else if (difference > 0.005f)
    glColor3f(1.0f, 0.3f, 0.25f);  // behind
  else
    glColor3f(1.0f, 1.0f, 1.0f);
}

// A textured quad of the timing picture: picture pixels (left, top) and
// (width, height) mapped onto the overlay rectangle at (x, y) of size w x h.
void timingCell(int left, int top, int width, int height, float x, float y, float w, float h) {
  const float su = 1.0f / float(kTimingPictureSize), sv = 1.0f / float(kTimingPictureHeight);
  float u0 = float(left) * su, u1 = float(left + width) * su;
  // Picture rows run from the top; texture v = 1 at the picture's top.
  float v0 = 1.0f - float(top) * sv, v1 = 1.0f - float(top + height) * sv;
  glBegin(GL_QUADS);
  glTexCoord2f(u0, v0);
  glVertex3f(x, y, 0.0f);
  glTexCoord2f(u0, v1);
  glVertex3f(x, y + h, 0.0f);
  glTexCoord2f(u1, v1);
  glVertex3f(x + w, y + h, 0.0f);
  glTexCoord2f(u1, v0);
  glVertex3f(x + w, y, 0.0f);
  glEnd();
}

void label(int which, float x, float y, float height) {
  int left = 0, top = 0;
  timingLabelCell(which, left, top);
  const int width = kTimingPictureSize / kTimingLabelColumns;
  timingCell(left, top, width, kTimingCellHeight, x, y, height * float(width) / float(kTimingCellHeight), height);
}

// A signed difference: the sign from the timing picture, the digits from the
// numbers picture, in the current colour.
void signedTime(float seconds, float x, float y, float size, unsigned int numbersTexture,
                unsigned int timingTexture) {
  bool negative = false;
  int glyphs[kSignedTimeGlyphs];
  int count = signedTimeGlyphs(seconds, negative, glyphs);
  int left = 0, top = 0;
  timingGlyphCell(negative ? kTimingGlyphMinus : kTimingGlyphPlus, left, top);
  glBindTexture(GL_TEXTURE_2D, timingTexture);
  timingCell(left, top, kTimingCellHeight, kTimingCellHeight, x, y, size, size);
  glBindTexture(GL_TEXTURE_2D, numbersTexture);
  float pen = x + size * kDigitAdvance;
  for (int i = 0; i < count; ++i) {
    bool point = glyphs[i] == kGlyphPoint;
    float at = point ? pen - size * (kDigitAdvance - kPointAdvance) * 0.5f : pen;
    drawGlyph(at, y, glyphs[i], size);
    pen += size * (point ? kPointAdvance : kDigitAdvance);
  }
}

void delta(const TimingAids& aids, unsigned int numbersTexture, unsigned int timingTexture) {
  // Just past the line the completed lap's difference stays a while.
  float shown = 0.0f;
  if (aids.lapDeltaTicks > 0 && !std::isnan(aids.lapDelta))
    shown = aids.lapDelta;
  else if (!std::isnan(aids.delta))
    shown = aids.tracker.shown;
  else
    return;  // blank, never a stale number
  colourFor(shown);
  signedTime(shown, kDeltaX, kDeltaY, kDeltaSize, numbersTexture, timingTexture);
}

// A whole number in the numbers picture from `x`; the pen after it.
float wholeNumber(long long value, float x, float y, float size) {
  char digits[24];
  int count = std::snprintf(digits, sizeof(digits), "%lld", value);
  for (int i = 0; i < count; ++i) {
    drawGlyph(x, y, digits[i] - '0', size);
    x += size * kDigitAdvance;
  }
  return x;
}

// BOARD #12 / 340 under the ideal lap, once the board has answered; BOARD
// NAME TAKEN when the board gave the player's name to someone else.
void boardRank(const TimingAids& aids, unsigned int numbersTexture, unsigned int timingTexture) {
  if (aids.boardRank <= 0 && !aids.boardNameTaken) return;
  float y = kSplitsY + kRowSpacing * float(kSectorCount + 1);
  int left = 0, top = 0;
  glColor3f(1.0f, 0.85f, 0.3f);
  glBindTexture(GL_TEXTURE_2D, timingTexture);
  label(kLabelBoard, kSplitsX, y, kRowSize);
  if (aids.boardNameTaken) {
    glColor3f(1.0f, 0.3f, 0.25f);
    label(kLabelName, kBoardRankX, y, kRowSize);
    label(kLabelTaken, kBoardRankX + kBoardWordAdvance, y, kRowSize);
    return;
  }
  float pen = kBoardRankX;
  timingGlyphCell(kTimingGlyphHash, left, top);
  timingCell(left, top, kTimingCellHeight, kTimingCellHeight, pen, y, kRowSize, kRowSize);
  glBindTexture(GL_TEXTURE_2D, numbersTexture);
  pen = wholeNumber(aids.boardRank, pen + kRowSize * kDigitAdvance, y, kRowSize) + kRowSize * 0.3f;
  glBindTexture(GL_TEXTURE_2D, timingTexture);
  timingGlyphCell(kTimingGlyphSlash, left, top);
  timingCell(left, top, kTimingCellHeight, kTimingCellHeight, pen, y, kRowSize, kRowSize);
  glBindTexture(GL_TEXTURE_2D, numbersTexture);
  wholeNumber(aids.boardPlayers, pen + kRowSize, y, kRowSize);
}

void splits(const TimingAids& aids, unsigned int numbersTexture, unsigned int timingTexture) {
  const SectorTimer& timer = aids.sectors;
  for (int i = 0; i < kSectorCount; ++i) {
    bool thisLap = !std::isnan(timer.current[i]);
    float seconds = thisLap ? timer.current[i] : aids.lastLapSectors[i];
    if (std::isnan(seconds)) continue;
    float y = kSplitsY + kRowSpacing * float(i);
    bool latest = i == timer.latest && aids.latestTicks < kLatestHighlightTicks;
    float grey = thisLap ? 1.0f : 0.65f;
    if (latest)
      glColor3f(1.0f, 1.0f, 0.3f);
    else
      glColor3f(grey, grey, grey);
    glBindTexture(GL_TEXTURE_2D, timingTexture);
    label(kLabelSector1 + i, kSplitsX, y, kRowSize);
    glBindTexture(GL_TEXTURE_2D, numbersTexture);
    drawTime(kSplitTimeX, y, seconds);
    // Against the session's best before this time; the first time of a sector has none.
    if (!std::isnan(timer.previousBest[i])) {
      colourFor(seconds - timer.previousBest[i]);
      signedTime(seconds - timer.previousBest[i], kSplitDiffX, y, kRowSize, numbersTexture, timingTexture);
    }
  }
  float ideal = idealLap(timer);
  if (std::isnan(ideal)) return;
  float y = kSplitsY + kRowSpacing * float(kSectorCount);
  glColor3f(0.75f, 0.85f, 1.0f);
  glBindTexture(GL_TEXTURE_2D, timingTexture);
  label(kLabelIdeal, kSplitsX, y, kRowSize);
  glBindTexture(GL_TEXTURE_2D, numbersTexture);
  drawTime(kIdealTimeX, y, ideal);
}

}  // namespace

void drawTimingAids(const TimingAids& aids, unsigned int numbersTexture, unsigned int timingTexture) {
  delta(aids, numbersTexture, timingTexture);
  splits(aids, numbersTexture, timingTexture);
  boardRank(aids, numbersTexture, timingTexture);
}

void drawGhostLabel(GhostChoice choice, unsigned int timingTexture) {
  static const int kLabels[kGhostChoiceCount] = {kLabelOwnGhost, kLabelOwnGhost, kLabelRivalGhost, kLabelLeaderGhost};
  glBindTexture(GL_TEXTURE_2D, timingTexture);
  glColor3f(0.8f, 0.9f, 1.0f);
  label(kLabels[int(choice)], kGhostLabelX, kGhostLabelY, kGhostLabelSize);
}

void drawSaveNotice(unsigned int timingTexture) {
  glBindTexture(GL_TEXTURE_2D, timingTexture);
  glColor3f(1.0f, 0.3f, 0.25f);
  label(kLabelNotSaved, kNoticeX, kNoticeY, kNoticeHeight);
}

void drawReplayBanner(const ReplayViewer& viewer, unsigned int timingTexture) {
  glBindTexture(GL_TEXTURE_2D, timingTexture);
  glColor3f(1.0f, 0.85f, 0.3f);
  label(kLabelReplay, kBannerX, kBannerY, kBannerHeight);
  glColor3f(1.0f, 1.0f, 1.0f);
  label(kLabelQuarterSpeed + viewer.speed, kBannerX + 14.5f, kBannerY + 0.8f, kRowSize);
  if (viewer.paused) label(kLabelPaused, kBannerX + 1.0f, kBannerY + kBannerHeight, kRowSize);
}
