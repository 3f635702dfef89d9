#pragma once

#include <string>

// Which circuit a working folder's data set is, as the board names it, from
// the stamp the generator leaves in data/datagen.version ("VERSION" or
// "VERSION seed N").
struct DataSetCircuit {
  std::string circuit;  // "default" or "seed-N"
  int generator = 0;    // the data set generator's version
};

// Reads DIR/data/datagen.version. False with `why` when it is missing or does
// not read.
bool circuitOfDataSet(const std::string& dir, DataSetCircuit& out, std::string& why);
// The stamp's text itself (split out for tests).
bool parseDataSetStamp(const std::string& text, DataSetCircuit& out);
