#include "app/data_set_circuit.h"

#include "app/files.h"

#include <cstdlib>
#include <vector>

namespace {

// A stamp is one short line.
constexpr size_t kMaxStampBytes = 64;

bool digitsOnly(const std::string& text, size_t maxDigits) {
  return !text.empty() && text.size() <= maxDigits && text.find_first_not_of("0123456789") == std::string::npos &&
         (text.size() == 1 || text[0] != '0');
}

}  // namespace

bool parseDataSetStamp(const std::string& textIn, DataSetCircuit& out) {
  std::string text = textIn;
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  size_t space = text.find(' ');
  std::string version = text.substr(0, space);
  if (!digitsOnly(version, 6)) return false;
  DataSetCircuit circuit;
  circuit.generator = std::atoi(version.c_str());
  if (space == std::string::npos) {
    circuit.circuit = "default";
  } else {
    const std::string seedWord = " seed ";
    if (text.compare(space, seedWord.size(), seedWord) != 0) return false;
    std::string seed = text.substr(space + seedWord.size());
    if (!digitsOnly(seed, 10) || std::strtoull(seed.c_str(), nullptr, 10) > 0xffffffffull) return false;
    circuit.circuit = "seed-" + seed;
  }
  out = circuit;
  return true;
}

bool circuitOfDataSet(const std::string& dir, DataSetCircuit& out, std::string& why) {
  std::string path = dir + "/data/datagen.version";
  std::vector<unsigned char> bytes;
  std::string reason;
  if (!readWholeFile(path.c_str(), kMaxStampBytes, bytes, reason)) {
    why = "cannot read " + path + " (" + reason + "): the board needs to know the circuit";
    return false;
  }
  if (!parseDataSetStamp(std::string(bytes.begin(), bytes.end()), out)) {
    why = path + " does not read";
    return false;
  }
  return true;
}
