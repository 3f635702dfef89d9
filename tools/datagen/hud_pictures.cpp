#include "tools/datagen/hud_pictures.h"

#include "game/draw/timing_labels.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>

const char* const kHudFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
const char* const kHudNarrowFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf";

namespace {

struct Colour {
  float r, g, b;
};

// One FreeType face for the life of the build.
struct Font {
  FT_Library library = nullptr;
  FT_Face face = nullptr;

  ~Font() {
    if (face) FT_Done_Face(face);
    if (library) FT_Done_FreeType(library);
  }
  bool open(const char* path, std::string& why) {
    if (FT_Init_FreeType(&library) != 0) {
      why = "FreeType did not start";
      return false;
    }
    if (FT_New_Face(library, path, 0, &face) != 0) {
      why = std::string("cannot read the font \"") + path + "\"";
      return false;
    }
    return true;
  }
  // Glyph height in pixels; `squeeze` narrows the glyphs for pictures that the
  // overlay stretches sideways.
  void size(int pixels, double squeeze = 1.0) {
    FT_Set_Pixel_Sizes(face, FT_UInt(std::max(1L, std::lround(pixels * squeeze))), FT_UInt(pixels));
  }
  int width(const std::string& text) {
    long w = 0;
    for (unsigned char c : text)
      if (FT_Load_Char(face, c, FT_LOAD_DEFAULT) == 0) w += face->glyph->advance.x >> 6;
    return int(w);
  }
  // Draws `text` with its baseline at row `baseline`, starting at column `x`.
  void draw(Image& image, int x, int baseline, const std::string& text, Colour colour) {
    int pen = x;
    for (unsigned char c : text) {
      if (FT_Load_Char(face, c, FT_LOAD_RENDER) != 0) continue;
      FT_GlyphSlot g = face->glyph;
      const FT_Bitmap& bm = g->bitmap;
      for (unsigned row = 0; row < bm.rows; ++row) {
        for (unsigned col = 0; col < bm.width; ++col) {
          float a = bm.buffer[row * unsigned(bm.pitch) + col] / 255.0f;
          if (a > 0.0f)
            image.blendOver(pen + g->bitmap_left + int(col), baseline - g->bitmap_top + int(row), colour.r,
                            colour.g, colour.b, a);
        }
      }
      pen += int(g->advance.x >> 6);
    }
  }
  // Text with a dark outline so it reads over any background.
  void drawOutlined(Image& image, int x, int baseline, const std::string& text, Colour colour, int outline) {
    for (int dy = -outline; dy <= outline; ++dy)
      for (int dx = -outline; dx <= outline; ++dx)
        if (dx != 0 || dy != 0) draw(image, x + dx, baseline + dy, text, Colour{0.0f, 0.0f, 0.0f});
    draw(image, x, baseline, text, colour);
  }
  // Vertical offset from a line's middle to its baseline for the current size:
  // half the height of a capital, so words and digits sit centred on the line.
  int middleToBaseline() {
    if (FT_Load_Char(face, 'H', FT_LOAD_DEFAULT) != 0) return 0;
    return int((face->glyph->metrics.horiBearingY >> 6) / 2);
  }
};

// A translucent dark panel with rounded corners behind a block of text.
void panel(Image& image, int x0, int y0, int x1, int y1, int radius, float alpha) {
  for (int y = std::max(0, y0); y < std::min(image.height, y1); ++y) {
    for (int x = std::max(0, x0); x < std::min(image.width, x1); ++x) {
      int cx = std::clamp(x, x0 + radius, x1 - 1 - radius), cy = std::clamp(y, y0 + radius, y1 - 1 - radius);
      double d = std::hypot(double(x - cx), double(y - cy));
      double cover = std::clamp(radius + 0.5 - d, 0.0, 1.0);
      if (cover > 0.0) image.blendOver(x, y, 0.04f, 0.05f, 0.08f, float(alpha * cover));
    }
  }
}

Image numbersPicture(Font& font) {
  Image image(1024, 64);
  const char* glyphs = "0123456789:.";
  font.size(54);
  for (int g = 0; g < 12; ++g) {
    std::string s(1, glyphs[g]);
    int x = g * 64 + (64 - font.width(s)) / 2;
    font.drawOutlined(image, x, 32 + font.middleToBaseline(), s, Colour{1.0f, 1.0f, 1.0f}, 2);
  }
  return image;
}

Image menuPicture(Font& font, Font& narrow) {
  Image image(512, 512);
  const double scale = image.width / kMenuSize;  // pixels per overlay unit
  auto px = [&](double x) { return int(std::lround((x - kMenuLeft) * scale)); };
  auto py = [&](double y) { return int(std::lround((y - kMenuTop) * scale)); };
  const Colour white{1.0f, 1.0f, 1.0f}, gold{1.0f, 0.82f, 0.35f}, grey{0.75f, 0.8f, 0.85f};
  // The lower left stays clear: the help picture is drawn there.
  panel(image, px(0.5), py(-4.5), px(59.5), py(24.5), 14, 0.62f);
  panel(image, px(26.0), py(24.0), px(59.5), py(46.5), 14, 0.62f);

  font.size(52);
  font.drawOutlined(image, px(2.5), py(2.0) + font.middleToBaseline(), "STRAVO", gold, 2);
  font.size(20);
  font.draw(image, px(3.0), py(6.5) + font.middleToBaseline(), "driving demo", grey);

  font.size(26);
  const char* actions[2] = {"Restart", "Quit"};
  for (int i = 0; i < 2; ++i)
    font.drawOutlined(image, px(kActionCursorX + 2.5), py(kActionCursorY0 + kItemSpacing * i) + font.middleToBaseline(),
                      actions[i], white, 1);

  font.size(24);
  font.drawOutlined(image, px(kOptionCursorX + 2.0), py(kItemSpacing * 2.0) + font.middleToBaseline(), "Options",
                    gold, 1);
  const char* options[4] = {"Analog controller", "Turbo", "Automatic gearbox", "Reflections every frame"};
  // One size for all four labels: the largest at which the longest fits
  // before the switches.
  const int room = px(kSwitchLeft - 0.6) - px(kOptionCursorX + 1.6);
  int size = 24;
  narrow.size(size);
  for (int n = 0; n < 4; ++n)
    while (narrow.width(options[n]) > room && size > 10) narrow.size(--size);
  for (int n = 0; n < 4; ++n)
    narrow.drawOutlined(image, px(kOptionCursorX + 1.6), py(kItemSpacing * (3 + n)) + narrow.middleToBaseline(),
                        options[n], white, 1);
  return image;
}

Image switchPicture(Font& font) {
  Image image(128, 64);
  panel(image, 4, 12, 60, 52, 10, 0.85f);
  panel(image, 68, 12, 124, 52, 10, 0.85f);
  for (int y = 14; y < 50; ++y)
    for (int x = 6; x < 58; ++x) image.blendOver(x, y, 0.1f, 0.55f, 0.15f, 0.55f);
  font.size(26);
  font.drawOutlined(image, 32 - font.width("ON") / 2, 32 + font.middleToBaseline(), "ON", Colour{0.85f, 1.0f, 0.85f}, 1);
  font.size(22);
  font.drawOutlined(image, 96 - font.width("OFF") / 2, 32 + font.middleToBaseline(), "OFF", Colour{0.8f, 0.8f, 0.8f}, 1);
  return image;
}

Image infoPicture(Font& font) {
  Image image(512, 512);
  // The overlay shows this picture 45 units wide and 35 high: narrow the glyphs
  // so they keep their shape once stretched.
  const double squeeze = (512.0 / 45.0) / (512.0 / 35.0);
  panel(image, 8, 8, 504, 504, 24, 0.7f);
  const Colour white{1.0f, 1.0f, 1.0f}, gold{1.0f, 0.85f, 0.45f};
  font.size(46, squeeze);
  font.draw(image, 36, 70, "Controls", gold);
  const char* rows[][2] = {{"Up / Down", "throttle / brake"}, {"Left / Right", "steer"},
                           {"Space", "handbrake"},         {"A / S", "gear down / up"},
                           {"C", "clutch"},                {"1 2 3 4", "cameras"},
                           {"R", "back on the track"},     {"Esc", "menu"},
                           {"F", "controller rumble"},      {"G", "ghost car"},
                           {"T", "delta and splits"},       {"P", "replay of the lap"}};
  const int rowCount = int(sizeof(rows) / sizeof(rows[0]));
  // The rows share the room under the heading, 48 pixels apart at most.
  const int spacing = std::min(48, 360 / (rowCount - 1));
  font.size(std::min(34, spacing * 34 / 48), squeeze);
  for (int i = 0; i < rowCount; ++i) {
    int baseline = 132 + i * spacing;
    font.draw(image, 36, baseline, rows[i][0], gold);
    font.draw(image, 230, baseline, rows[i][1], white);
  }
  return image;
}

// The timing aids' signs and words (the cells of game/draw/timing_labels.h), white
// with a dark outline like the digits, so the overlay can tint them.
Image timingPicture(Font& font) {
  Image image(kTimingPictureSize, kTimingPictureHeight);
  const Colour white{1.0f, 1.0f, 1.0f};
  font.size(54);
  for (int g = 0; g < kTimingGlyphCount; ++g) {
    int left = 0, top = 0;
    timingGlyphCell(g, left, top);
    int x = left + (kTimingCellHeight - font.width(kTimingGlyphTexts[g])) / 2;
    font.drawOutlined(image, x, top + kTimingCellHeight / 2 + font.middleToBaseline(), kTimingGlyphTexts[g], white,
                      2);
  }
  const int cellWidth = kTimingPictureSize / kTimingLabelColumns;
  for (int label = 0; label < kTimingLabelCount; ++label) {
    int left = 0, top = 0;
    timingLabelCell(label, left, top);
    // A word too long for its cell at the common size gets a smaller one.
    int size = 48;
    font.size(size);
    while (font.width(kTimingLabelTexts[label]) > cellWidth - 8) font.size(--size);
    font.drawOutlined(image, left + 4, top + kTimingCellHeight / 2 + font.middleToBaseline(),
                      kTimingLabelTexts[label], white, 2);
  }
  return image;
}

}  // namespace

bool buildHudPictures(std::vector<TextureFile>& out, std::string& why) {
  Font font, narrow;
  if (!font.open(kHudFontPath, why) || !narrow.open(kHudNarrowFontPath, why)) return false;
  out.push_back({"data\\textures\\numbers.tga", numbersPicture(font), 32});
  out.push_back({"data\\textures\\menu.tga", menuPicture(font, narrow), 32});
  out.push_back({"data\\textures\\menu_onoff.tga", switchPicture(font), 32});
  out.push_back({"data\\textures\\info.tga", infoPicture(font), 32});
  out.push_back({"data\\textures\\timing.tga", timingPicture(font), 32});
  return true;
}
