#include "app/bench_record.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

double nearestRankPercentile(std::vector<double> values, double p) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  double rank = std::ceil(p / 100.0 * double(values.size()));
  size_t index = rank < 1.0 ? 0 : std::min(values.size(), size_t(rank)) - 1;
  return values[index];
}

BenchSummary summarizeBench(const std::vector<BenchFrame>& frames) {
  BenchSummary summary;
  summary.frames = frames.size();
  if (frames.empty()) return summary;
  std::vector<double> ms;
  ms.reserve(frames.size());
  double totalMs = 0.0;
  for (const BenchFrame& frame : frames) {
    ms.push_back(frame.frameMs);
    totalMs += frame.frameMs;
  }
  summary.averageFps = totalMs > 0.0 ? double(frames.size()) * 1000.0 / totalMs : 0.0;
  summary.p50 = nearestRankPercentile(ms, 50.0);
  summary.p95 = nearestRankPercentile(ms, 95.0);
  summary.p99 = nearestRankPercentile(ms, 99.0);
  summary.max = *std::max_element(ms.begin(), ms.end());
  return summary;
}

std::string benchLine(const BenchSummary& s) {
  char line[160];
  std::snprintf(line, sizeof(line), "bench: %zu frames, %.1f FPS, frame ms p50 %.1f p95 %.1f p99 %.1f max %.1f",
                s.frames, s.averageFps, s.p50, s.p95, s.p99, s.max);
  return line;
}

std::string benchCsv(const std::vector<BenchFrame>& frames) {
  std::string text = "time_s,frame_ms,ticks,triangles\n";
  char row[96];
  for (const BenchFrame& frame : frames) {
    std::snprintf(row, sizeof(row), "%.4f,%.3f,%d,%d\n", frame.time, frame.frameMs, frame.ticks, frame.triangles);
    text += row;
  }
  return text;
}
