#include "tools/datagen/circuit_seed.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kGrid = 5;             // cells a side
constexpr double kCell = 96.0;       // metres a cell
constexpr int kMinCells = 11, kMaxCells = 14;
constexpr double kStraightAround = 64.0;  // metres of straight either side of the start line
constexpr double kRecoveryClear = 40.0;   // metres from the recovery point to a corner's arc
constexpr double kMapReach = 262.0;       // corners stay inside +-this
constexpr double kArcStep = 1.0;          // metres between points on a corner's arc

using Cells = std::vector<std::vector<bool>>;

bool at(const Cells& c, int i, int j) { return i >= 0 && j >= 0 && i < kGrid && j < kGrid && c[size_t(i)][size_t(j)]; }

// No 2 x 2 block (the snake stays one cell wide, so its outline is long) and
// no two cells touching only at a corner (the outline would touch itself).
bool windowsFine(const Cells& c, int i, int j) {
  for (int a = i - 1; a <= i; ++a)
    for (int b = j - 1; b <= j; ++b) {
      bool p = at(c, a, b), q = at(c, a + 1, b), r = at(c, a, b + 1), s = at(c, a + 1, b + 1);
      if (p && q && r && s) return false;
      if (p == s && q == r && p != q) return false;
    }
  return true;
}

// True when the cells outside the snake are all connected to the outside.
bool noHoles(const Cells& c) {
  const int n = kGrid + 2;
  std::vector<bool> seen(size_t(n * n), false);
  std::vector<std::pair<int, int>> stack = {{0, 0}};
  seen[0] = true;
  int outside = 0;
  while (!stack.empty()) {
    auto [i, j] = stack.back();
    stack.pop_back();
    ++outside;
    const int di[4] = {1, -1, 0, 0}, dj[4] = {0, 0, 1, -1};
    for (int k = 0; k < 4; ++k) {
      int a = i + di[k], b = j + dj[k];
      if (a < 0 || b < 0 || a >= n || b >= n || seen[size_t(a * n + b)] || at(c, a - 1, b - 1)) continue;
      seen[size_t(a * n + b)] = true;
      stack.push_back({a, b});
    }
  }
  int inside = 0;
  for (const auto& row : c) inside += int(std::count(row.begin(), row.end(), true));
  return outside + inside == n * n;
}

Cells growSnake(Rng& rng, int target) {
  Cells c(kGrid, std::vector<bool>(kGrid, false));
  c[size_t(rng.next() % kGrid)][size_t(rng.next() % kGrid)] = true;
  int count = 1;
  for (int attempt = 0; attempt < 600 && count < target; ++attempt) {
    int i = int(rng.next() % kGrid), j = int(rng.next() % kGrid);
    if (c[size_t(i)][size_t(j)]) continue;
    if (!at(c, i - 1, j) && !at(c, i + 1, j) && !at(c, i, j - 1) && !at(c, i, j + 1)) continue;
    c[size_t(i)][size_t(j)] = true;
    if (windowsFine(c, i, j) && noHoles(c))
      ++count;
    else
      c[size_t(i)][size_t(j)] = false;
  }
  return c;
}

// The snake's outline as its corners, anticlockwise in x-z angle: every
// cell's edges, those shared by two cells cancelled, followed from vertex to
// vertex, straight runs merged.
std::vector<MapPoint> outline(const Cells& c) {
  std::map<std::pair<int, int>, std::pair<int, int>> next;
  for (int i = 0; i < kGrid; ++i)
    for (int j = 0; j < kGrid; ++j) {
      if (!c[size_t(i)][size_t(j)]) continue;
      if (!at(c, i, j - 1)) next[{i, j}] = {i + 1, j};
      if (!at(c, i + 1, j)) next[{i + 1, j}] = {i + 1, j + 1};
      if (!at(c, i, j + 1)) next[{i + 1, j + 1}] = {i, j + 1};
      if (!at(c, i - 1, j)) next[{i, j + 1}] = {i, j};
    }
  std::vector<std::pair<int, int>> loop;
  auto v = next.begin()->first;
  do {
    loop.push_back(v);
    v = next[v];
  } while (v != loop.front() && loop.size() <= next.size());
  std::vector<MapPoint> corners;
  const size_t n = loop.size();
  for (size_t k = 0; k < n; ++k) {
    auto a = loop[(k + n - 1) % n], b = loop[k], d = loop[(k + 1) % n];
    bool straight = (b.first - a.first) * (d.second - b.second) == (b.second - a.second) * (d.first - b.first);
    if (!straight) corners.push_back({b.first * kCell, b.second * kCell});
  }
  return corners;
}

MapPoint minus(MapPoint a, MapPoint b) { return {a.x - b.x, a.z - b.z}; }
MapPoint plus(MapPoint a, MapPoint b) { return {a.x + b.x, a.z + b.z}; }
MapPoint times(MapPoint a, double s) { return {a.x * s, a.z * s}; }
double len(MapPoint a) { return std::hypot(a.x, a.z); }
double cross2(MapPoint a, MapPoint b) { return a.x * b.z - a.z * b.x; }
MapPoint rotate(MapPoint v, double angle) {
  double c = std::cos(angle), s = std::sin(angle);
  return {v.x * c - v.z * s, v.x * s + v.z * c};
}
double headingOf(MapPoint d) { return std::atan2(-d.x, -d.z); }
MapPoint directionOf(double heading) { return {-std::sin(heading), -std::cos(heading)}; }

// How far back from a corner its arc starts, for the corner's radius.
double setback(MapPoint in, MapPoint out, double radius) {
  double turn = std::acos(std::max(-1.0, std::min(1.0, (in.x * out.x + in.z * out.z) / (len(in) * len(out)))));
  return radius * std::tan(0.5 * turn);
}

}  // namespace

bool seededCentreLine(Rng& rng, MapPoint recovery, std::vector<MapPoint>& line) {
  Cells cells = growSnake(rng, kMinCells + int(rng.next() % (kMaxCells - kMinCells + 1)));
  std::vector<MapPoint> q = outline(cells);
  if (rng.uniform() < 0.5) std::reverse(q.begin(), q.end());
  const size_t n = q.size();
  if (n < 4) return false;
  const double radius = rng.range(24.0, 32.0);
  auto seg = [&](size_t k) { return minus(q[(k + 1) % n], q[k]); };

  // The start: the middle part of a long enough side, away from its corners.
  std::vector<size_t> startSides;
  for (size_t k = 0; k < n; ++k)
    if (len(seg(k)) > 2.0 * (radius + kStraightAround)) startSides.push_back(k);
  if (startSides.empty()) return false;
  const size_t s = startSides[rng.next() % startSides.size()];
  const MapPoint dS = times(seg(s), 1.0 / len(seg(s)));
  double room = len(seg(s)) - 2.0 * (radius + kStraightAround);
  MapPoint start = plus(q[s], times(dS, radius + kStraightAround + rng.range(0.0, room)));

  // The recovery side runs against the start side; turned by the ten degrees
  // that the game's 170 makes, about the recovery point on it.
  std::vector<size_t> recoverySides;
  for (size_t k = 0; k < n; ++k) {
    MapPoint d = seg(k);
    bool touchesStart = k == s || (k + 1) % n == s || (s + 1) % n == k;
    if (!touchesStart && d.x * dS.x + d.z * dS.z < -0.99 * len(d) && len(d) > 2.0 * (radius + kRecoveryClear))
      recoverySides.push_back(k);
  }
  if (recoverySides.empty()) return false;
  const size_t r = recoverySides[rng.next() % recoverySides.size()];
  double rRoom = len(seg(r)) - 2.0 * (radius + kRecoveryClear);
  MapPoint dR0 = times(seg(r), 1.0 / len(seg(r)));
  MapPoint local = plus(q[r], times(dR0, radius + kRecoveryClear + rng.range(0.0, rRoom)));
  MapPoint dR = directionOf(headingOf(dS) + 170.0 * kPi / 180.0);
  double skew = std::atan2(cross2(dR0, dR), dR0.x * dR.x + dR0.z * dR.z);
  for (size_t k : {r, (r + 1) % n}) q[k] = plus(local, rotate(minus(q[k], local), skew));

  // Turn the whole loop by a quarter turn or so, the first of the four that
  // fits the map, and move it so that the recovery point lands where the game
  // puts a lost car.
  const int firstQuarter = int(rng.next() % 4);
  const double jitter = rng.range(-0.1, 0.1);
  double angle = 0.0;
  bool fits = false;
  for (int k = 0; k < 4 && !fits; ++k) {
    angle = double((firstQuarter + k) % 4) * 0.5 * kPi + jitter;
    fits = true;
    for (const MapPoint& p : q) {
      MapPoint w = plus(recovery, rotate(minus(p, local), angle));
      if (std::fabs(w.x) > kMapReach || std::fabs(w.z) > kMapReach) fits = false;
    }
  }
  if (!fits) return false;
  auto place = [&](MapPoint p) { return plus(recovery, rotate(minus(p, local), angle)); };
  for (MapPoint& p : q) p = place(p);
  start = place(start);

  // Corners rounded to circular arcs, the start point put first.
  line.clear();
  size_t startIndex = 0;
  for (size_t k = 0; k < n; ++k) {
    MapPoint in = minus(q[k], q[(k + n - 1) % n]), out = minus(q[(k + 1) % n], q[k]);
    double back = setback(in, out, radius);
    if (back > 0.45 * std::min(len(in), len(out))) return false;
    MapPoint a = times(in, 1.0 / len(in)), b = times(out, 1.0 / len(out));
    MapPoint from = minus(q[k], times(a, back));
    double turn = std::atan2(cross2(a, b), a.x * b.x + a.z * b.z);
    MapPoint toCentre = rotate(a, turn > 0.0 ? 0.5 * kPi : -0.5 * kPi);
    MapPoint centre = plus(from, times(toCentre, radius));
    int steps = std::max(2, int(std::fabs(turn) * radius / kArcStep));
    for (int t = 0; t <= steps; ++t)
      line.push_back(plus(centre, rotate(times(toCentre, -radius), turn * t / steps)));
    if (k == s) {
      startIndex = line.size();
      line.push_back(start);
    }
  }
  std::rotate(line.begin(), line.begin() + long(startIndex), line.end());
  return true;
}
