#include "board/trace_svg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr double kWidth = 760.0;       // px of the plot area
constexpr double kSpeedHeight = 180.0;
constexpr double kDeltaHeight = 120.0;
constexpr double kLeft = 64.0;         // px left of the plot for the scale
constexpr double kGap = 30.0;          // px between the two plots
constexpr double kKphPerMps = 3.6;

std::string number(double v) {
  char text[32];
  std::snprintf(text, sizeof(text), "%.1f", v);
  return text;
}

std::string polyline(const std::vector<std::pair<double, double>>& points, const char* cssClass) {
  std::string out = std::string("<polyline class=\"") + cssClass + "\" points=\"";
  for (const auto& p : points) out += number(p.first) + "," + number(p.second) + " ";
  out += "\"/>";
  return out;
}

std::string label(double x, double y, const std::string& text, const char* anchor = "end") {
  return "<text x=\"" + number(x) + "\" y=\"" + number(y) + "\" text-anchor=\"" + anchor + "\">" + text + "</text>";
}

}  // namespace

float leaderTimeAt(const std::vector<TraceSample>& leader, float distance, float lapLength) {
  if (leader.empty() || lapLength <= 0.0f) return 0.0f;
  float target = distance / lapLength * leader.back().distance;
  auto after = std::lower_bound(leader.begin(), leader.end(), target,
                                [](const TraceSample& s, float d) { return s.distance < d; });
  if (after == leader.begin()) return leader.front().time;
  if (after == leader.end()) return leader.back().time;
  const TraceSample& a = *(after - 1);
  const TraceSample& b = *after;
  float span = b.distance - a.distance;
  float f = span > 0.0f ? (target - a.distance) / span : 0.0f;
  return a.time + f * (b.time - a.time);
}

std::string traceSvg(const std::vector<TraceSample>& lap, const std::vector<TraceSample>& leader) {
  if (lap.size() < 2) return "";
  double length = std::max(1.0f, lap.back().distance);
  double top = 1.0;
  for (const auto* trace : {&lap, &leader})
    for (const TraceSample& s : *trace) top = std::max(top, double(s.speed) * kKphPerMps);
  top = std::ceil(top / 50.0) * 50.0;

  auto x = [&](double distance, double ofLength) { return kLeft + distance / ofLength * kWidth; };
  std::vector<std::pair<double, double>> own, lead, delta;
  for (const TraceSample& s : lap) own.push_back({x(s.distance, length), kSpeedHeight * (1.0 - s.speed * kKphPerMps / top)});
  double leaderLength = leader.empty() ? 1.0 : std::max(1.0f, leader.back().distance);
  for (const TraceSample& s : leader)
    lead.push_back({x(s.distance, leaderLength), kSpeedHeight * (1.0 - s.speed * kKphPerMps / top)});

  double range = 0.5;  // s, at least
  std::vector<double> gaps;
  for (const TraceSample& s : lap) {
    double gap = leader.empty() ? 0.0 : double(s.time - leaderTimeAt(leader, s.distance, float(length)));
    gaps.push_back(gap);
    range = std::max(range, std::fabs(gap));
  }
  double deltaTop = kSpeedHeight + kGap;
  double deltaMid = deltaTop + kDeltaHeight / 2.0;
  for (size_t i = 0; i < lap.size(); ++i)
    delta.push_back({x(lap[i].distance, length), deltaMid - gaps[i] / range * (kDeltaHeight / 2.0)});

  double height = deltaTop + kDeltaHeight + 24.0;
  std::string svg = "<svg class=\"trace\" xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " +
                    number(kLeft + kWidth + 10.0) + " " + number(height) + "\" role=\"img\" aria-label=\"speed and delta along the lap\">";
  svg += "<rect class=\"plot\" x=\"" + number(kLeft) + "\" y=\"0\" width=\"" + number(kWidth) + "\" height=\"" +
         number(kSpeedHeight) + "\"/>";
  svg += "<rect class=\"plot\" x=\"" + number(kLeft) + "\" y=\"" + number(deltaTop) + "\" width=\"" + number(kWidth) +
         "\" height=\"" + number(kDeltaHeight) + "\"/>";
  svg += label(kLeft - 4, 12, std::to_string(int(top)));
  svg += label(kLeft - 4, 26, "km/h");
  svg += label(kLeft - 4, kSpeedHeight, "0");
  svg += label(kLeft - 4, deltaTop + 12, "+" + number(range) + " s");
  svg += label(kLeft - 4, deltaMid + 4, "0");
  svg += label(kLeft - 4, deltaTop + kDeltaHeight, "-" + number(range) + " s");
  svg += "<line class=\"zero\" x1=\"" + number(kLeft) + "\" y1=\"" + number(deltaMid) + "\" x2=\"" +
         number(kLeft + kWidth) + "\" y2=\"" + number(deltaMid) + "\"/>";
  svg += polyline(own, "speed");
  if (!lead.empty()) svg += polyline(lead, "leader");
  if (!leader.empty()) svg += polyline(delta, "delta");
  svg += label(kLeft + kWidth, height - 6, number(length) + " m");
  svg += label(kLeft, height - 6, "0 m", "start");
  svg += "</svg>";
  return svg;
}
