#include "app/bench_run.h"
#include "app/board_play.h"
#include "app/config.h"
#include "app/game_options.h"
#include "app/message_box.h"
#include "app/outgauge_feed.h"
#include "app/startup.h"
#include "app/window.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const char kTitle[] = "StravoDemo1 by Velkor";
const char kConfigPath[] = "config.txt";

// Reads config.txt; a build without GLSL shaders never asks for multisampling.
AppConfig readConfig() {
  AppConfig config = loadConfig(kConfigPath);
  if (!STRAVO_GLSL) config.fsaa = 0;
  return config;
}

// After every driving tick: the telemetry and the board, each when switched on.
bool outGaugeOn = false;
void drivingTick(const PhCar& car, const GameState& state) {
  if (outGaugeOn) outGaugeTick(car, state);
  boardAfterTick(car, state);
}

// Takes one event without waiting and handles it; with none pending, runs an
// update and draws and shows a frame. There is no frame cap: the swap interval
// paces the loop.
int runMainLoop() {
  for (;;) {
    SDL_Event event;
    if (SDL_PollEvent(&event)) {
      if (event.type == SDL_QUIT) {
        onQuitEvent();
        return 0;
      }
      handleWindowEvent(event);
      continue;
    }
    if (!updateFrame()) return 0;
    boardFrame(gameState());
    renderFrame();
    swapAppWindow();
  }
}

}  // namespace

int main(int argc, char** argv) {
  GameOptions options;
  GameOptionsResult parsed = parseGameOptions(argc, argv, options);
  if (!parsed.run) {
    std::fputs(parsed.text.c_str(), parsed.exitCode == 0 ? stdout : stderr);
    return parsed.exitCode;
  }
  // The launcher's question before it makes a data set: would these options run?
  if (std::getenv("STRAVO_CHECK_OPTIONS") != nullptr) return 0;
  clearFullscreenFlag();
  AppConfig config = readConfig();
  // The command line's choice holds for this run only; config.txt keeps its own.
  if (options.fullscreen >= 0) config.fullscreen = options.fullscreen;
  setWindowConfig(config);
  if (!CreateAppWindow(kTitle, config.windowwidth, config.windowheight, config.bitsperpixel,
                       config.fullscreen != 0, kChoosePixelFormat)) {
    return 0;
  }
  if (!Init(config)) {
    showMessageBox("Init() Failed.", "ERROR", MessageIcon::Warning);
    return 0;
  }
  // Telemetry starts after the warm-up: the first packet is the player's drive.
  outGaugeOn = startOutGauge(options.outgauge, "stravo");
  std::string why;
  // A benchmark drive joins only a board named on its command line.
  bool boardOn = !options.board.empty();
  if (boardOn) {
    BoardPlaySettings board;
    board.base = options.board;
    if (board.base.back() == '/') board.base.pop_back();
    board.name = options.name;
    boardOn = startBoardPlay(board, gameGhosts(), why);
    if (!boardOn) std::fprintf(stderr, "stravo: board: %s; playing without it\n", why.c_str());
  }
  if (outGaugeOn || boardOn) setDrivingTickListener(drivingTick);
  if (options.rumble) switchRumbleOn();
  int code = options.bench.on ? runBench(options.bench, boardOn) : runMainLoop();
  stopBoardPlay();
  stopOutGauge();
  Cleanup();
  DestroyAppWindow();
  return code;
}
