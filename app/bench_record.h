#pragma once

#include <cstddef>
#include <string>
#include <vector>

// One frame of a benchmark drive.
struct BenchFrame {
  double time = 0.0;     // s from the drive's start to this frame's update
  double frameMs = 0.0;  // ms from this frame's update to the next one's
  int ticks = 0;         // simulation ticks the update ran
  int triangles = 0;     // triangles handed to GL
};

// A drive's frame times summed up.
struct BenchSummary {
  size_t frames = 0;
  double averageFps = 0.0;  // frames over their summed frame times
  double p50 = 0.0, p95 = 0.0, p99 = 0.0, max = 0.0;  // frame ms
};

// The nearest-rank percentile `p` (0..100] of `values`; 0 for none.
double nearestRankPercentile(std::vector<double> values, double p);

BenchSummary summarizeBench(const std::vector<BenchFrame>& frames);

// "bench: 5812 frames, 52.3 FPS, frame ms p50 18.1 p95 24.0 p99 29.7 max 41.2"
std::string benchLine(const BenchSummary& summary);

// The frames as CSV text: a header `time_s,frame_ms,ticks,triangles`, then one row a frame.
std::string benchCsv(const std::vector<BenchFrame>& frames);
