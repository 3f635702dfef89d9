#include "app/bench_plot.h"

#include <SDL.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

extern char** environ;

namespace {

const char kScript[] = "bench_plot.py";
// Debian's interpreter, which python3-matplotlib is installed for; else the first on PATH.
const char kSystemPython[] = "/usr/bin/python3";

// The plot script beside the program, else in ../tools/ from it; empty when neither exists.
std::string findScript() {
  char* base = SDL_GetBasePath();
  if (base == nullptr) return "";
  std::string dir = base;
  SDL_free(base);
  for (const std::string& path : {dir + kScript, dir + "../tools/" + kScript})
    if (access(path.c_str(), R_OK) == 0) return path;
  return "";
}

}  // namespace

bool plotBench(const std::string& csvPath, const std::string& pngPath, std::string& why) {
  std::string script = findScript();
  if (script.empty()) {
    why = std::string(kScript) + " not found";
    return false;
  }
  std::string python = access(kSystemPython, X_OK) == 0 ? kSystemPython : "python3";
  std::vector<std::string> words = {python, script, csvPath, "-o", pngPath};
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, python.c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
    why = "cannot start " + python;
    return false;
  }
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    why = script + " failed";
    return false;
  }
  return true;
}
