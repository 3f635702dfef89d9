#include "tools/datagen/textures.h"

#include "tools/datagen/noise.h"
#include "tools/datagen/scenery_models.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Rgba {
  double r, g, b, a;
};

Rgba mix(const Rgba& x, const Rgba& y, double t) {
  return {x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t, x.a + (y.a - x.a) * t};
}
Rgba scale(const Rgba& x, double s) { return {x.r * s, x.g * s, x.b * s, x.a}; }

// Paints every pixel from its texture coordinates: u to the right, v upward
// (the picture's bottom row is v = 0, as the texture reads it).
template <typename Painter>
Image paint(int w, int h, Painter painter) {
  Image image(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      double u = (x + 0.5) / w, v = 1.0 - (y + 0.5) / h;
      Rgba c = painter(u, v);
      image.set(x, y, float(c.r), float(c.g), float(c.b), float(c.a));
    }
  }
  return image;
}

double band(double x, double lo, double hi, double soft) {
  return smoothstep01((x - lo) / soft + 0.5) * (1.0 - smoothstep01((x - hi) / soft + 0.5));
}

// Asphalt with its markings, the kerb blocks and the start-line chequers side
// by side; the track's texture coordinates pick each strip. grainAmount scales
// the fine grain.
Image roadPicture(int size, double grainAmount) {
  return paint(size, size, [grainAmount](double u, double v) {
    double grain = 0.5 + grainAmount * (tiledFractalNoise(u, v, 64, 3, 11u) - 0.5);
    double patches = tiledFractalNoise(u, v, 4, 2, 12u);
    Rgba asphalt{0.30, 0.30, 0.31, 1.0};
    if (u < 0.5) {
      double across = (u / 0.5) * 12.0 - 6.0;  // metres from the centre line
      double along = v * 12.0;                 // metres along the road
      Rgba c = scale(asphalt, 0.78 + 0.3 * grain + 0.12 * (patches - 0.5));
      // Darker, smoother racing lines where the tyres run.
      c = scale(c, 1.0 - 0.1 * band(std::fabs(across), 1.0, 2.6, 0.8));
      double edge = band(std::fabs(across), 5.45, 5.7, 0.05);
      double dash = band(std::fabs(across), -0.08, 0.08, 0.04) * band(std::fmod(along, 6.0), 0.0, 3.0, 0.1);
      double paintLevel = std::max(edge, dash) * (0.85 + 0.15 * grain);
      return mix(c, Rgba{0.92, 0.92, 0.9, 1.0}, paintLevel);
    }
    if (u < 0.75) {
      double across = (u - 0.5) / 0.25;
      int block = int(std::floor(v * 8.0));
      Rgba colour = block % 2 == 0 ? Rgba{0.82, 0.1, 0.08, 1.0} : Rgba{0.93, 0.93, 0.9, 1.0};
      double ridge = 0.85 + 0.15 * std::sin(across * kPi);
      return scale(colour, ridge * (0.9 + 0.15 * grain));
    }
    double across = (u - 0.75) / 0.25 * 20.0;
    int square = int(std::floor(across)) + int(std::floor(v * 2.0));
    Rgba colour = square % 2 == 0 ? Rgba{0.92, 0.92, 0.9, 1.0} : Rgba{0.08, 0.08, 0.09, 1.0};
    return scale(colour, 0.9 + 0.15 * grain);
  });
}

Image grassPicture() {
  return paint(256, 256, [](double u, double v) {
    double n = tiledFractalNoise(u, v, 8, 5, 21u);
    double blades = tiledFractalNoise(u, v, 64, 2, 22u);
    Rgba dry{0.50, 0.52, 0.25, 1.0}, lush{0.22, 0.42, 0.14, 1.0};
    return scale(mix(lush, dry, smoothstep01((n - 0.45) * 3.0)), 0.8 + 0.35 * blades);
  });
}

Image gravelPicture() {
  return paint(256, 256, [](double u, double v) {
    double stones = tiledValueNoise(u * 48.0, v * 48.0, 48, 31u);
    double fine = tiledFractalNoise(u, v, 96, 2, 32u);
    double tone = tiledFractalNoise(u, v, 6, 2, 33u);
    Rgba sand{0.66, 0.58, 0.44, 1.0}, pebble{0.78, 0.74, 0.66, 1.0};
    Rgba c = mix(sand, pebble, smoothstep01((stones - 0.55) * 6.0));
    return scale(c, 0.75 + 0.3 * fine + 0.1 * (tone - 0.5));
  });
}

// A grey close-up pattern multiplied over the road near the camera (the road
// shader fades it out with distance).
Image detailPicture() {
  return paint(256, 256, [](double u, double v) {
    double n = tiledFractalNoise(u, v, 32, 2, 41u);
    double g = 0.5 + 0.5 * (n - 0.5) * 1.6;
    return Rgba{g, g, g, 1.0};
  });
}

// The painted body without shader programs: u is how far the surface faces
// up (0 down, 1 up), v the height on the car. Up-facing panels take the sky's
// light, sides a bright horizon streak over a darker reflection of the
// ground, undersides shade off.
Image paintPicture() {
  return paint(128, 64, [](double u, double v) {
    double up = u * 2.0 - 1.0;
    Rgba blue{0.06, 0.2, 0.62, 1.0};
    double light = 0.42 + 0.5 * smoothstep01((up + 0.6) / 1.3);
    Rgba c = scale(blue, light);
    // The horizon seen in the doors and wings, and the sky on the bonnet and roof.
    c = mix(c, Rgba{0.62, 0.72, 0.88, 1.0}, 0.45 * band(up, 0.08, 0.3, 0.12));
    c = mix(c, Rgba{0.36, 0.5, 0.82, 1.0}, 0.35 * smoothstep01((up - 0.55) / 0.4));
    return scale(c, 0.8 + 0.2 * smoothstep01((v - 0.1) / 0.3));
  });
}

// The windows the same way: dark, with the sky in the screens that face up.
Image glassPicture() {
  return paint(64, 64, [](double u, double) {
    double up = u * 2.0 - 1.0;
    Rgba dark{0.05, 0.06, 0.08, 1.0}, sky{0.42, 0.5, 0.62, 1.0};
    return mix(dark, sky, 0.6 * smoothstep01((up - 0.35) / 0.55));
  });
}

Image trimPicture() {
  return paint(64, 64, [](double u, double v) {
    double n = tiledFractalNoise(u, v, 8, 2, 61u);
    double g = 0.07 + 0.05 * n;
    return Rgba{g, g, g * 1.1, 1.0};
  });
}

// Headlamp in the first two fifths, tail lamp in the next two, the number
// plate in the last fifth: white, a dark rim and a row of dark characters.
Image lightsPicture() {
  return paint(256, 64, [](double u, double v) {
    if (u >= 0.8) {
      double x = (u - 0.8) / 0.2;
      double rim = band(x, 0.03, 0.97, 0.02) * band(v, 0.1, 0.9, 0.08);
      double glyph = band(x, 0.12, 0.88, 0.02) * band(v, 0.28, 0.72, 0.05) *
                     band(std::fmod(x * 7.0, 1.0), 0.18, 0.82, 0.08);
      double g = 0.15 + 0.75 * rim * (1.0 - 0.8 * glyph);
      return Rgba{g, g, g * 0.97, 1.0};
    }
    // Dark gutters between the three keep the mipmaps from bleeding across.
    if (std::fmod(u, 0.4) > 0.36) return Rgba{0.12, 0.12, 0.12, 1.0};
    bool head = u < 0.4;
    double x = std::fmod(u, 0.4) / 0.36;
    double rim = band(x, 0.04, 0.96, 0.04) * band(v, 0.08, 0.92, 0.08);
    if (head) {
      double lamp = std::max(std::exp(-((x - 0.3) * (x - 0.3) + (v - 0.5) * (v - 0.5)) * 30.0),
                             std::exp(-((x - 0.72) * (x - 0.72) + (v - 0.5) * (v - 0.5)) * 40.0));
      Rgba glass{0.70, 0.72, 0.74, 1.0};
      return scale(mix(glass, Rgba{1.0, 1.0, 0.95, 1.0}, lamp), 0.3 + 0.7 * rim);
    }
    double lines = 0.8 + 0.2 * std::sin(v * 40.0);
    return scale(Rgba{0.85, 0.06, 0.04, 1.0}, (0.3 + 0.7 * rim) * lines);
  });
}

// Tread across the middle of v, sidewalls either side; eight repeats around.
Image tyrePicture() {
  return paint(128, 128, [](double u, double v) {
    double rubber = 0.09 + 0.03 * tiledFractalNoise(u, v, 16, 2, 71u);
    if (v > 0.3 && v < 0.7) {
      double across = (v - 0.5) / 0.2;
      double groove = band(std::fabs(across), 0.28, 0.36, 0.04) +
                      band(std::fmod(u * 6.0 + std::fabs(across) * 0.6, 1.0), 0.0, 0.12, 0.04) *
                          band(std::fabs(across), 0.4, 1.0, 0.05);
      double g = rubber * (1.0 - 0.6 * std::min(1.0, groove));
      return Rgba{g, g, g, 1.0};
    }
    // Raised lettering band on the sidewall.
    double side = v < 0.5 ? v / 0.3 : (1.0 - v) / 0.3;
    double letters = band(side, 0.45, 0.7, 0.05) * (tiledValueNoise(u * 40.0, side * 3.0, 40, 72u) > 0.55 ? 1.0 : 0.0);
    double g = rubber + 0.08 * letters;
    return Rgba{g, g, g, 1.0};
  });
}

// Gold alloy: the spokes are geometry, so the picture is the metal alone,
// with a faint brushed grain.
Image rimPicture() {
  return paint(64, 64, [](double u, double v) {
    double grain = tiledFractalNoise(u, v, 16, 2, 73u);
    return scale(Rgba{0.78, 0.62, 0.26, 1.0}, 0.85 + 0.2 * grain);
  });
}

// The brake disc seen from the side, centred: a dark hat, the machined ring
// with its grooves, and the bare edge.
Image discPicture() {
  return paint(64, 64, [](double u, double v) {
    double x = (u - 0.5) * 0.4, y = (v - 0.5) * 0.4;  // metres from the axle
    double r = std::sqrt(x * x + y * y);
    if (r < 0.068) return Rgba{0.16, 0.16, 0.17, 1.0};
    double grooves = 0.9 + 0.1 * std::sin(r * 900.0);
    double a = std::atan2(y, x);
    double slots = band(std::fmod(a * 6.0 / kPi + 12.0 + (r - 0.07) * 40.0, 1.0), 0.45, 0.55, 0.05);
    return scale(Rgba{0.55, 0.54, 0.52, 1.0}, grooves * (1.0 - 0.35 * slots));
  });
}

Image conePicture() {
  return paint(64, 64, [](double u, double v) {
    double n = tiledFractalNoise(u, v, 8, 2, 81u);
    if (v < 0.1) return scale(Rgba{0.15, 0.12, 0.1, 1.0}, 0.9 + 0.2 * n);
    Rgba orange{0.98, 0.38, 0.05, 1.0};
    double stripe = band(v, 0.45, 0.62, 0.02);
    return scale(mix(orange, Rgba{0.95, 0.95, 0.95, 1.0}, stripe), 0.9 + 0.15 * n);
  });
}

// Bark: dark ridges running up the trunk; a shade darker than it looks, as
// the trees' light (wrapped round for the leaves) falls brighter on it.
Rgba barkColour(double u, double v) {
  double ridges = tiledValueNoise(u * 16.0, v * 3.0, 16, 91u);
  double fine = tiledFractalNoise(u, v, 16, 3, 92u);
  double g = 0.5 + 0.5 * ridges;
  return scale(Rgba{0.29, 0.22, 0.15, 1.0}, (0.6 + 0.5 * fine) * g);
}

// Leaf clusters, brighter toward the top of a card or the crown.
Rgba leafColour(double u, double v) {
  double leaf = tiledValueNoise(u * 64.0, v * 64.0, 64, 102u);
  Rgba dark{0.10, 0.24, 0.07, 1.0}, light{0.32, 0.52, 0.16, 1.0};
  return mix(dark, light, smoothstep01((leaf - 0.2) * 1.4) * (0.6 + 0.4 * v));
}

// A leaf card's ragged outline: alpha 1 inside, 0 outside, for the alpha test.
double cardAlpha(double u, double v) {
  double x = u - 0.5, y = v - 0.5;
  double r = std::sqrt(x * x + y * y) * 2.0;
  double clumps = tiledFractalNoise(u, v, 12, 3, 101u);
  double leaf = tiledValueNoise(u * 64.0, v * 64.0, 64, 102u);
  double cover = 0.55 * clumps + 0.45 * leaf + 0.55 - r * 0.75;
  return cover > 0.6 ? 1.0 : 0.0;
}

// The whole tree in one picture, its parts stacked as the tree's mesh reads them.
Image treePicture() {
  return paint(256, 512, [](double u, double v) {
    auto local = [v](const TreeRows& rows) { return (v - rows.lo) / (rows.hi - rows.lo); };
    if (v < kTreeBarkRows.hi) return barkColour(u, local(kTreeBarkRows));
    if (v < kTreeCrownRows.hi) return leafColour(u, local(kTreeCrownRows));
    double cardV = local(kTreeCardRows);
    Rgba c = leafColour(u, cardV);
    c.a = cardAlpha(u, cardV);
    return c;
  });
}

// The sky seen from above: zenith in the centre, the horizon on a ring, haze
// and far hills outside it, soft clouds and a glow toward the light.
Image skyPicture() {
  const double sunAzimuth = std::atan2(3000.0, 500.0);
  const double sunElevation = std::atan2(1500.0, std::hypot(500.0, 3000.0)) * 180.0 / kPi;
  return paint(512, 512, [&](double u, double v) {
    double x = u - 0.5, y = v - 0.5;
    double r = std::sqrt(x * x + y * y);
    double azimuth = std::atan2(y, x);
    double horizonR = skyTextureRadius(0.0);
    Rgba zenith{0.20, 0.40, 0.78, 1.0}, horizon{0.74, 0.83, 0.93, 1.0};
    if (r > horizonR) {
      // Below the horizon: distant blue hills fading into haze.
      double below = (r - horizonR) / (0.5 - horizonR);
      double hills = tiledFractalNoise(azimuth / (2.0 * kPi) + 0.5, 0.3, 16, 3, 111u);
      Rgba haze{0.62, 0.70, 0.74, 1.0}, hill{0.30, 0.38, 0.36, 1.0};
      return mix(haze, hill, smoothstep01((below - 0.05 + 0.25 * (0.5 - hills)) * 6.0));
    }
    double elevation = 90.0 * (1.0 - r / horizonR);
    Rgba c = mix(horizon, zenith, std::pow(elevation / 90.0, 0.45));
    // Clouds: tiled noise in the picture's own plane, thinning toward the horizon.
    double n = tiledFractalNoise(u, v, 6, 5, 121u);
    double cloud = smoothstep01((n - 0.52) * 5.0) * smoothstep01(elevation / 12.0);
    Rgba cloudColour = mix(Rgba{0.75, 0.77, 0.82, 1.0}, Rgba{0.98, 0.98, 0.98, 1.0},
                           smoothstep01((n - 0.5) * 3.0));
    c = mix(c, cloudColour, cloud * 0.9);
    // Glow around the direction of the light.
    double sunR = horizonR * (1.0 - sunElevation / 90.0);
    double sx = 0.5 + sunR * std::cos(sunAzimuth) - u, sy = 0.5 + sunR * std::sin(sunAzimuth) - v;
    double glow = std::exp(-(sx * sx + sy * sy) * 900.0);
    return mix(c, Rgba{1.0, 0.98, 0.9, 1.0}, glow * 0.85);
  });
}

// The shadow under the car: bright (much darkening) in the middle, black at the edges.
Image shadowPicture() {
  return paint(64, 128, [](double u, double v) {
    double x = std::fabs(u - 0.5) * 2.0, y = std::fabs(v - 0.5) * 2.0;
    double edge = std::max(std::pow(x, 3.0), std::pow(y, 3.0));
    double g = 0.62 * (1.0 - smoothstep01((edge - 0.35) / 0.65));
    return Rgba{g, g, g, 1.0};
  });
}

// Only the row at v = 0 is read by the skid marks: a tread print across u.
Image skidPicture() {
  return paint(64, 16, [](double u, double) {
    double treads = 0.75 + 0.25 * std::sin(u * 9.0 * 2.0 * kPi);
    double g = treads * band(u, 0.06, 0.94, 0.08);
    return Rgba{g, g, g, 1.0};
  });
}

// One face of the chrome's surroundings: sky above, a bright horizon, ground below.
Image environmentFace(int face) {
  return paint(64, 64, [face](double u, double v) {
    Rgba sky{0.35, 0.55, 0.85, 1.0}, horizon{0.9, 0.92, 0.95, 1.0}, ground{0.28, 0.32, 0.22, 1.0};
    if (face == 2) return mix(horizon, sky, 1.0 - std::max(std::fabs(u - 0.5), std::fabs(v - 0.5)) * 2.0);
    if (face == 3) return ground;
    double h = v * 2.0 - 1.0;  // -1 bottom .. 1 top of a side face
    return h > 0.0 ? mix(horizon, sky, std::pow(h, 0.6)) : mix(horizon, ground, std::pow(-h, 0.4));
  });
}

// The grandstand: rows of blue seats (v 0..0.5), concrete (0.5..0.75) and a
// red and white roof (0.75..1); u runs along the stand, 4 m a repeat.
Image standPicture() {
  return paint(128, 128, [](double u, double v) {
    double n = tiledFractalNoise(u, v, 8, 2, 131u);
    if (v < 0.5) {
      double seat = band(std::fmod(u * 8.0, 1.0), 0.1, 0.85, 0.05) * band(std::fmod(v * 10.0, 1.0), 0.15, 0.8, 0.05);
      Rgba c = mix(Rgba{0.55, 0.55, 0.53, 1.0}, Rgba{0.12, 0.25, 0.62, 1.0}, seat);
      return scale(c, 0.9 + 0.2 * n);
    }
    if (v < 0.75) return scale(Rgba{0.62, 0.61, 0.58, 1.0}, 0.85 + 0.3 * n);
    Rgba stripe = std::fmod(u * 4.0, 1.0) < 0.5 ? Rgba{0.85, 0.12, 0.1, 1.0} : Rgba{0.92, 0.92, 0.9, 1.0};
    return scale(stripe, 0.9 + 0.15 * n);
  });
}

const char* const kCubeFaces[6] = {"xp", "xn", "yp", "yn", "zp", "zn"};

// The road's cube map ("roadcm.tga" by the cube-map name rule), read by the
// road shader as flat pictures: cube maps are sampled without mipmaps, which
// keeps the road's markings sharp at grazing angles where a software
// rasteriser has no anisotropic filtering. The road picture is on the
// positive-x face, the detail picture on the negative-x face, and the road
// again on the four faces no one reads, so the cube map is complete.
void addRoadCubeMap(std::vector<TextureFile>& t, const Image& road, const Image& detail) {
  for (const char* face : kCubeFaces)
    t.push_back({std::string("data\\textures\\road") + face + ".tga", std::string(face) == "xn" ? detail : road, 24});
}

}  // namespace

std::vector<TextureFile> buildSurfaceTextures() {
  std::vector<TextureFile> t;
  t.push_back({"data\\textures\\road.tga", roadPicture(512, 1.0), 24});
  // Without mipmaps the fine grain would sparkle far off: the copy leaves it to the detail picture.
  addRoadCubeMap(t, roadPicture(256, 0.0), detailPicture());
  t.push_back({"data\\textures\\grass.tga", grassPicture(), 24});
  t.push_back({"data\\textures\\gravel.tga", gravelPicture(), 24});
  t.push_back({"data\\textures\\stand.tga", standPicture(), 24});
  t.push_back({"data\\textures\\evo_paint.tga", paintPicture(), 24});
  t.push_back({"data\\textures\\evo_glass.tga", glassPicture(), 24});
  t.push_back({"data\\textures\\evo_trim.tga", trimPicture(), 24});
  t.push_back({"data\\textures\\evo_lights.tga", lightsPicture(), 24});
  t.push_back({"data\\textures\\tyre.tga", tyrePicture(), 24});
  t.push_back({"data\\textures\\rim.tga", rimPicture(), 24});
  t.push_back({"data\\textures\\brake_disc.tga", discPicture(), 24});
  t.push_back({"data\\textures\\cone.tga", conePicture(), 24});
  t.push_back({"data\\textures\\tree.tga", treePicture(), 32});
  t.push_back({"data\\textures\\sky.tga", skyPicture(), 24});
  t.push_back({"data\\textures\\carshadow.tga", shadowPicture(), 24});
  t.push_back({"data\\textures\\skidmark.tga", skidPicture(), 24});
  for (int f = 0; f < 6; ++f)
    t.push_back({std::string("data\\textures\\env") + kCubeFaces[f] + ".tga", environmentFace(f), 24});
  return t;
}

void writeTextures(DataSetWriter& writer, const std::vector<TextureFile>& textures) {
  for (const TextureFile& t : textures) writeDataFile(writer, t.path.c_str(), encodeTga(t.image, t.bitsPerPixel));
}
