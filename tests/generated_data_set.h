#pragma once

#include "tools/datagen/generator.h"

#include <unistd.h>

#include <filesystem>
#include <string>

// A data set generated into a fresh temporary folder which the test works in,
// so the program's own relative paths (and the loader's path-selected
// corrections) apply; leave() goes back and removes it.
struct GeneratedDataSet {
  std::string root;
  std::string previous;

  bool enter(std::string& why) {
    char pattern[] = "/tmp/stravo_data_set_XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
      why = "no temporary folder";
      return false;
    }
    root = pattern;
    GenerationReport report;
    if (!generateDataSet(root, report, why)) return false;
    previous = std::filesystem::current_path().string();
    std::filesystem::current_path(root);
    return true;
  }

  void leave() {
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(root);
  }
};
