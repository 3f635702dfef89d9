#pragma once

// The timing picture (data\textures\timing.tga): 512 x 1024 pixels. Its top
// row of 64 pixels holds eight square glyphs like those of the numbers picture;
// below it fifteen rows of two labels, each 256 x 64 pixels (4 wide to 1 high),
// the word left-aligned in its cell.
constexpr int kTimingPictureSize = 512;  // wide
constexpr int kTimingPictureHeight = 1024;
constexpr int kTimingLabelRows = 15;
constexpr int kTimingGlyphCells = 8;
constexpr int kTimingLabelColumns = 2;
constexpr int kTimingCellHeight = 64;

enum TimingGlyph {
  kTimingGlyphPlus = 0,
  kTimingGlyphMinus = 1,
  kTimingGlyphHash = 2,   // the board rank's "#"
  kTimingGlyphSlash = 3,  // between the rank and the board's size
  kTimingGlyphCount,
};

enum TimingLabel {
  kLabelReplay = 0,
  kLabelPaused,
  kLabelSector1,
  kLabelSector2,
  kLabelSector3,
  kLabelIdeal,
  kLabelQuarterSpeed,  // the five replay speeds, slowest first
  kLabelHalfSpeed,
  kLabelNormalSpeed,
  kLabelDoubleSpeed,
  kLabelFourfoldSpeed,
  kLabelNotSaved,  // a save failed
  kLabelBoard,
  kLabelName,
  kLabelTaken,
  kLabelOwnGhost,  // the ghost shown: the player's best, the rival's, the leader's
  kLabelRivalGhost,
  kLabelLeaderGhost,
  kTimingLabelCount,
};

// The words as the picture shows them, in TimingLabel order.
constexpr const char* kTimingLabelTexts[kTimingLabelCount] = {
    "REPLAY", "PAUSED", "S1", "S2", "S3", "IDEAL", "1/4x", "1/2x", "1x", "2x", "4x", "NOT SAVED",
    "BOARD", "NAME", "TAKEN", "BEST", "RIVAL", "LEADER"};
static_assert(kTimingLabelCount <= kTimingLabelRows * kTimingLabelColumns, "more labels than the picture holds");
static_assert(kTimingGlyphCount <= kTimingGlyphCells, "the timing picture's top row holds eight glyphs");
constexpr const char* kTimingGlyphTexts[kTimingGlyphCount] = {"+", "-", "#", "/"};

// Picture pixels of a glyph cell and of a label cell: left and top edges.
inline void timingGlyphCell(int glyph, int& left, int& top) {
  left = glyph * (kTimingPictureSize / kTimingGlyphCells);
  top = 0;
}
inline void timingLabelCell(int label, int& left, int& top) {
  left = (label % kTimingLabelColumns) * (kTimingPictureSize / kTimingLabelColumns);
  top = kTimingCellHeight * (1 + label / kTimingLabelColumns);
}
