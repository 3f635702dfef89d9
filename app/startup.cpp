#include "app/startup.h"

#include "app/car_sound_channels.h"
#include "app/files.h"
#include "app/frame_timer.h"
#include "app/input_device.h"
#include "app/input_sdl.h"
#include "app/log.h"
#include "app/message_box.h"
#include "app/run_stats.h"
#include "app/sound.h"
#include "game/draw/frame.h"
#include "game/game_state.h"
#include "game/draw/ghost_scene.h"
#include "game/laps/ghost_files.h"
#include "game/laps/ghosts.h"
#include "game/laps/replay_player.h"
#include "game/draw/scene_setup.h"
#include "game/startup_models.h"
#include "game/track_line.h"
#include "game/update.h"
#include "physics/mat4.h"
#include "physics/quadtree.h"
#include "physics/random.h"
#include "physics/world.h"
#include "render/gl_proc.h"
#include "render/renderer.h"
#include "render/rmd_mesh.h"
#include "render/textures.h"
#include "vehicle/car.h"

#include <SDL.h>

#include <chrono>
#include <new>
#include <thread>

namespace {

// The overlay textures the frame composition draws.
struct HudTextureSet {
  Texture* numbers = nullptr;
  Texture* menu = nullptr;
  Texture* menuOnOff = nullptr;
  Texture* info = nullptr;
  Texture* timing = nullptr;
};

// The program-wide objects, created by Init and freed by Cleanup.
struct Program {
  AppConfig config;
  SdlInput* inputSource = nullptr;
  InputDevice* input = nullptr;
  FrameTimer* timer = nullptr;
  RunStats stats;
  Renderer* renderer = nullptr;
  PhWorld* world = nullptr;
  StartupModels* models = nullptr;
  CollisionQuadtree* quadtree = nullptr;
  HudTextureSet hud;
  PropTable* props = nullptr;
  GameState* game = nullptr;
  PhCar* car = nullptr;
  SceneInstances* scene = nullptr;
  GameContext context;
  DrawContext draw;
  Ghosts* ghosts = nullptr;
  GhostScene* ghostScene = nullptr;
  ReplayPlayer* replay = nullptr;
};

Program program;

const int kHudTextureFlags = kTextureLinear;
const int kWarmUpUpdates = 3;
const auto kWarmUpPause = std::chrono::milliseconds(100);
const int kNoCubemap = 0;
const char kPropFile[] = "data\\trees.prp";
const char kTrackLineFile[] = "data\\track.line";

void* glProc(const char* name) { return SDL_GL_GetProcAddress(name); }

// Shader compile failures come through the renderer as plain OK boxes.
void rendererMessage(const char* text, const char* caption) { showMessageBox(text, caption, MessageIcon::Plain); }

// Init's steps, each a named call in the order of creation.

void createInputDevice() {
  program.inputSource = new (std::nothrow) SdlInput;
  if (program.inputSource == nullptr) return;
  program.input = new (std::nothrow) InputDevice(program.inputSource);
}

void createFrameTimer() {
  program.timer = new FrameTimer;
  program.timer->create();
}

void createRenderer() {
  setMessageBoxHandler(rendererMessage);
  program.renderer = new Renderer(glProc);
  program.renderer->SetViewportSize(program.config.windowwidth, program.config.windowheight);
}

void createWorld() { program.world = new PhWorld; }

// A model that does not load stops start-up (the sequence has logged it).
bool loadMeshes() {
  program.models = new StartupModels;
  std::string failedPath;
  return loadStartupModels("", *program.models, *program.world, program.quadtree, failedPath);
}

// A missing texture leaves its GL name 0: that overlay is drawn untextured.
Texture* loadHudTexture(const char* path) {
  Texture* texture = new Texture;
  texture->Load2D(path, kHudTextureFlags);
  return texture;
}

void loadHudTextures() {
  HudTextureSet& hud = program.hud;
  hud.numbers = loadHudTexture("data\\textures\\numbers.tga");
  hud.menu = loadHudTexture("data\\textures\\menu.tga");
  hud.menuOnOff = loadHudTexture("data\\textures\\menu_onoff.tga");
  hud.info = loadHudTexture("data\\textures\\info.tga");
  hud.timing = loadHudTexture("data\\textures\\timing.tga");
  program.draw.textures.numbers = hud.numbers->GLName();
  program.draw.textures.menu = hud.menu->GLName();
  program.draw.textures.menuOnOff = hud.menuOnOff->GLName();
  program.draw.textures.info = hud.info->GLName();
  program.draw.textures.timing = hud.timing->GLName();
}

void createPropTableAndGame() {
  program.props = new PropTable;
  program.game = new GameState;
  program.game->masterVolume = 1.0f;
}

void startSound() { startCarSounds(); }

void createCar() {
  PhCar* car = new PhCar;
  car->world = program.world;
  car->input = program.input;
  car->current.position = Vec3{0.0, 0.5, 0.0};
  car->current.velocity = Vec3{0.0, 0.0, 0.0};
  car->current.orientation = yawPitchMat4(0.0f, 0.0f);
  car->SavePrevious();
  program.world->addBody(car);
  program.car = car;

  GameContext& ctx = program.context;
  ctx.car = car;
  ctx.world = program.world;
  ctx.input = program.input;
  ctx.alwaysUpdateCubemaps = &program.renderer->alwaysUpdateCubemaps;
  ctx.updateSounds = updateCarSounds;
  program.draw.renderer = program.renderer;
}

void createSceneInstances() { program.scene = new SceneInstances; }

void registerSkyDome() {
  registerMeshInstance(program.models->skyDome, *program.renderer, program.renderer->ObserverPosition(),
                       program.scene->identity, kNoCubemap, *program.scene);
}

// A missing prop file leaves no props and the start at the origin, heading 0.
void loadPropFile() {
  loadProps(kPropFile, program.models->tree, *program.renderer, *program.game, *program.props, *program.scene);
}

void placeCar() { placeCarAtStart(program.context, *program.game); }

void placeStartCones() {
  computeStartLine(*program.game);
  registerStartCones(*program.game, program.models->cone, *program.renderer, *program.scene);
}

void registerCarAndTrack() {
  registerCarInstances(*program.car, program.models->body, program.models->wheel, *program.renderer,
                       *program.scene);
  registerFixedMeshInstance(program.models->track, *program.renderer, program.scene->zero, program.scene->identity,
                            kNoCubemap, *program.scene);
}

void createSkidMarksAndShadow() {
  createSkidMarkGeometry(*program.game, *program.renderer, *program.scene);
  createShadowGeometry(*program.game, *program.renderer, *program.scene);
}

// May be absent: GLSL programs are then never switched.
void fetchProgramEntryPoint() {
  program.draw.useProgramObject =
      reinterpret_cast<void (*)(unsigned int)>(SDL_GL_GetProcAddress("glUseProgramObjectARB"));
}

void startClocks() {
  program.timer->mark(0);
  program.timer->mark(1);
  program.stats.runningTime = 0.0f;
}

// Camera behind the car, statistics timer cleared, menu shown on item 0 with
// its switches at their start values, best times from toptimes.dat.
void startGame() { beginGame(program.context, *program.game, kBestTimesFile); }

// The best laps' ghosts from the ghost folder, checked against this track.
void openGameGhosts() {
  program.ghosts = new Ghosts;
  openGhosts(*program.ghosts, kGhostFolder, trackIdentityOfFile("data\\models\\track1.rmd"), program.quadtree,
             *program.game);
  loadGhostFiles(*program.ghosts, *program.game, "");
  program.context.ghosts = program.ghosts;
}

// The ghost car's place in the scene; its geometry waits until the ghost is
// first shown.
void createGhostScene() {
  program.ghostScene = new GhostScene;
  program.ghostScene->body = &program.models->body;
  program.ghostScene->wheel = &program.models->wheel;
  program.draw.ghostScene = program.ghostScene;
}

// The replay viewer's player; its car, the ghosts' replay car, is built when P
// first opens the viewer.
void createReplayPlayer() {
  program.replay = new ReplayPlayer;
  program.context.replay = program.replay;
}

// The circuit's centre line for the timing aids' split points when there is
// no ghost lap. A missing or bad centre line leaves the splits out, silently:
// the log stays the program's own.
void readTimingCentreLine() {
  std::vector<unsigned char> bytes;
  TrackLine line;
  int badLine = 0;
  std::string why;
  if (readWholeFile(kTrackLineFile, kMaxTextFileBytes, bytes) && parseTrackLine(bytes.data(), bytes.size(), line, badLine, why))
    program.game->timing.centreLine = line.points;
}

// Three updates with the menu hidden and the sound at 0: the car settles on
// the track before the first frame is drawn.
void warmUp() {
  GameState& game = *program.game;
  game.masterVolume = 0.0f;
  game.menuVisible = false;
  for (int i = 0; i < kWarmUpUpdates; ++i) {
    updateFrame();
    std::this_thread::sleep_for(kWarmUpPause);
  }
  game.menuVisible = true;
  game.masterVolume = 1.0f;
}

// Cleanup's steps.

void freeInputDevice() {
  delete program.input;
  program.input = nullptr;
  delete program.inputSource;  // stops the polling thread before the joystick closes
  program.inputSource = nullptr;
}

void freeMeshes() {
  delete program.models;
  program.models = nullptr;
}

void freeQuadtree() {
  delete program.quadtree;
  program.quadtree = nullptr;
}

// The renderer first (it logs its statistics), then the world, then the car,
// whose destruction logs its summary.
void freeRendererWorldAndCar() {
  delete program.renderer;
  program.renderer = nullptr;
  HudTextureSet& hud = program.hud;
  for (Texture** texture : {&hud.numbers, &hud.menu, &hud.menuOnOff, &hud.info, &hud.timing}) {
    delete *texture;
    *texture = nullptr;
  }
  delete program.world;
  program.world = nullptr;
  delete program.car;
  program.car = nullptr;
}

void freePropTable() {
  freeProps(*program.props);
  delete program.props;
  program.props = nullptr;
}

// The ghost scene's geometry, the replay player and the ghosts, which own the
// cars the other two refer to.
void freeGhostsAndReplay() {
  freeGhostScene(*program.ghostScene);
  delete program.ghostScene;
  program.ghostScene = nullptr;
  delete program.replay;
  program.replay = nullptr;
  delete program.ghosts;
  program.ghosts = nullptr;
}

void freeSceneInstancesAndGame() {
  freeSceneInstances(*program.scene);
  delete program.scene;
  program.scene = nullptr;
  delete program.game;
  program.game = nullptr;
}

}  // namespace

bool Init(const AppConfig& config) {
  program.config = config;
  openLog();                  // 1
  seedRandom(kStartupSeed);   // 2
  createInputDevice();        // 3
  createFrameTimer();         // 4
  createRenderer();           // 5
  createWorld();              // 6
  if (!loadMeshes()) return false;  // 7
  loadHudTextures();          // 8
  createPropTableAndGame();   // 9
  startSound();               // 10
  createCar();                // 11
  createSceneInstances();     // 12
  registerSkyDome();          // 13
  loadPropFile();             // 14
  placeCar();                 // 15
  placeStartCones();          // 16
  registerCarAndTrack();      // 17
  createSkidMarksAndShadow(); // 18
  fetchProgramEntryPoint();   // 20
  logLine("Main: Init done"); // 21
  startClocks();              // 22
  startGame();                // 19, 22, 23
  openGameGhosts();
  createGhostScene();
  createReplayPlayer();
  readTimingCentreLine();
  setLogging(false);          // 24
  warmUp();                   // 25
  return true;
}

bool updateFrame() {
  float frameInterval = beginUpdateTiming(program.stats, *program.timer);
  if (!UpdateFrame(program.context, *program.game, frameInterval)) return false;
  endUpdateTiming(program.stats, *program.timer);
  return true;
}

void renderFrame() {
  beginRenderTiming(*program.timer);
  RenderFrame(program.context, *program.game, program.draw);
}

void setDrivingTickListener(void (*listener)(const PhCar& car, const GameState& state)) {
  program.context.afterDrivingTick = listener;
}

GameState& gameState() { return *program.game; }

Ghosts& gameGhosts() { return *program.ghosts; }

void switchRumbleOn() {
  if (program.input != nullptr) program.input->rumble = true;
}

ProgramParts programParts() {
  return {&program.context, program.game, program.quadtree, program.renderer};
}

void onQuitEvent() { saveBestTimesOnClose(*program.game, kBestTimesFile); }

void Cleanup() {
  logLine("Main: Cleaning up");  // 1
  soundFree();                   // 2
  delete program.timer;          // 3
  program.timer = nullptr;
  freeInputDevice();             // 4
  freeMeshes();                  // 5
  freeQuadtree();                // 6
  freeRendererWorldAndCar();     // 7
  freePropTable();               // 8
  freeGhostsAndReplay();         // 9
  freeSceneInstancesAndGame();
  logLine("%s", runStatsLine(program.stats).c_str());  // 10
}
