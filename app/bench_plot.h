#pragma once

#include <string>

// Draws the frame times of `csvPath` into `pngPath` with tools/bench_plot.py
// (Python 3 and matplotlib), found beside the program (installed) or in the
// source tree's tools/ above the build folder. False with the reason.
bool plotBench(const std::string& csvPath, const std::string& pngPath, std::string& why);
