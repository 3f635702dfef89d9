#include "app/window.h"

#include "app/message_box.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdlib>
#include <string>

namespace {

struct WindowState {
  AppConfig config;
  std::string title;
  SDL_Window* window = nullptr;
  SDL_GLContext context = nullptr;
  bool videoStarted = false;  // the window class is registered
  bool fullscreenActive = false;
  float aspect = 1.0f;  // of the last resize
  bool swapControl = false;
  int samples = 0;
  // The window being opened: its client size, window flags and fullscreen mode.
  int width = 0, height = 0;
  Uint32 flags = 0;
  SDL_DisplayMode mode = {};
};

WindowState state;

const char kErrorCaption[] = "ERROR";
const char kShutdownCaption[] = "SHUTDOWN ERROR";
const char kMultisampleExtension[] = "GL_ARB_multisample";

void createError(const char* text) { showMessageBox(text, kErrorCaption, MessageIcon::Warning); }
void shutdownError(const char* text) { showMessageBox(text, kShutdownCaption, MessageIcon::Information); }

// Colour bits per channel for a pixel depth; the driver picks the closest
// format that has at least these.
int channelBits(int bits) {
  if (bits >= 24) return 8;
  if (bits >= 15) return 5;
  return bits > 0 ? bits / 3 : 0;
}

// The ordinary format: double-buffered RGBA, the given colour bits, no alpha,
// a 16-bit depth buffer, no stencil.
void requestPlainFormat(int bits) {
  SDL_GL_ResetAttributes();
  int channel = channelBits(bits);
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, channel);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, channel);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, channel);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
}

// The multisample format: accelerated, 24 colour and 8 alpha bits, 16-bit
// depth, no stencil, double-buffered, one sample buffer with the given samples.
void requestMultisampleFormat(int samples) {
  SDL_GL_ResetAttributes();
  SDL_GL_SetAttribute(SDL_GL_ACCELERATED_VISUAL, 1);
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, 1);
  SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, samples);
}

// The video subsystem stands for the registered window class "OpenGL" (the
// X11 window class carries that name too).
bool startVideo() {
  setenv("SDL_VIDEO_X11_WMCLASS", "OpenGL", 0);
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "0");            // SIGINT and SIGTERM post the quit event
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");     // the close handler posts it
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");  // a fullscreen window stays up
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
  state.videoStarted = true;
  return true;
}

// True when pixel format `format` gives the asked colour depth (32 bits is the
// 24-bit formats stored in four bytes).
bool depthMatches(Uint32 format, int bits) {
  return int(SDL_BITSPERPIXEL(format)) == bits || int(SDL_BYTESPERPIXEL(format)) * 8 == bits;
}

// Switches the new window to the fullscreen mode; false leaves it windowed
// with the windowed styles.
bool enterFullscreen(const SDL_DisplayMode& mode) {
  if (SDL_SetWindowDisplayMode(state.window, &mode) == 0 &&
      SDL_SetWindowFullscreen(state.window, SDL_WINDOW_FULLSCREEN) == 0) {
    return true;
  }
  SDL_SetWindowBordered(state.window, SDL_TRUE);
  SDL_SetWindowResizable(state.window, SDL_TRUE);
  return false;
}

// The window and its current context in the format asked for last. On
// failure nothing is left open and `failure` names the step that failed.
bool openWindowWithContext(const char* title, int width, int height, Uint32 flags, const SDL_DisplayMode& mode,
                           const char*& failure) {
  // The size is the client area; SDL adds the frame itself.
  state.window = SDL_CreateWindow(title, 0, 0, width, height, flags);
  if (state.window == nullptr) {
    failure = "Window Creation Error.";
    return false;
  }
  bool fullscreenWanted = state.fullscreenActive;
  if (state.fullscreenActive && !enterFullscreen(mode)) state.fullscreenActive = false;
  state.context = SDL_GL_CreateContext(state.window);
  if (state.context == nullptr) {
    failure = "Can't Create A GL Rendering Context.";
  } else if (SDL_GL_MakeCurrent(state.window, state.context) != 0) {
    failure = "Can't Activate The GL Rendering Context.";
  } else {
    return true;
  }
  // Released here without the shutdown messages; the video subsystem stays.
  if (state.context != nullptr) SDL_GL_DeleteContext(state.context);
  state.context = nullptr;
  SDL_DestroyWindow(state.window);
  state.window = nullptr;
  state.fullscreenActive = fullscreenWanted;
  return false;
}

}  // namespace

bool findDisplayMode(int width, int height, int bits, int refresh, SDL_DisplayMode& out) {
  SDL_DisplayMode current;
  if (refresh == 0 && SDL_GetCurrentDisplayMode(0, &current) == 0) refresh = current.refresh_rate;
  int count = SDL_GetNumDisplayModes(0);
  for (int i = 0; i < count; ++i) {
    SDL_DisplayMode mode;
    if (SDL_GetDisplayMode(0, i, &mode) != 0) continue;
    if (mode.w == width && mode.h == height && mode.refresh_rate == refresh && depthMatches(mode.format, bits)) {
      out = mode;
      return true;
    }
  }
  return false;
}

void setWindowConfig(const AppConfig& config) { state.config = config; }

void clearFullscreenFlag() { state.fullscreenActive = false; }

bool CreateAppWindow(const char* title, int width, int height, int bits, bool fullscreen, int pixelFormat) {
  state.fullscreenActive = fullscreen;
  state.title = title;
  if (!startVideo()) {
    createError("Failed To Register The Window Class.");
    return false;
  }

  SDL_DisplayMode mode = {};
  if (state.fullscreenActive &&
      !findDisplayMode(width, height, bits, state.config.refreshrate, mode)) {
    state.fullscreenActive = false;
  }

  Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
  flags |= state.fullscreenActive ? SDL_WINDOW_BORDERLESS : SDL_WINDOW_RESIZABLE;
  SDL_ShowCursor(SDL_DISABLE);

  // With fsaa the multisample window is asked for straight away; only when
  // the driver refuses it is the ordinary window opened, and the refusal
  // reported once that window's context can tell why.
  bool formatChosenHere = pixelFormat == kChoosePixelFormat;
  bool multisampleWanted = formatChosenHere && state.config.fsaa > 0;
  state.width = width;
  state.height = height;
  state.flags = flags;
  state.mode = mode;
  bool multisampled = multisampleWanted && SetupMultisample(state.config.fsaa);
  if (multisampled) {
    state.samples = state.config.fsaa;
  } else {
    if (formatChosenHere) {
      requestPlainFormat(bits);
    } else {
      requestMultisampleFormat(pixelFormat);
    }
    const char* failure = nullptr;
    if (!openWindowWithContext(title, width, height, flags, mode, failure)) {
      DestroyAppWindow();
      createError(failure);
      return false;
    }
    state.samples = formatChosenHere ? 0 : pixelFormat;
    if (multisampleWanted) {
      createError(SDL_GL_ExtensionSupported(kMultisampleExtension) ? "Multisampling failed to initialise."
                                                                  : "Multisampling is not supported.");
    }
  }

  SDL_ShowWindow(state.window);
  SDL_RaiseWindow(state.window);
  SDL_SetWindowInputFocus(state.window);
  SDL_DisableScreenSaver();
  ResizeView(width, height);
  if (!InitGLState()) {
    DestroyAppWindow();
    createError("Initialization Failed.");
    return false;
  }
  return true;
}

bool SetupMultisample(int samples) {
  requestMultisampleFormat(samples);
  const char* failure = nullptr;
  if (!openWindowWithContext(state.title.c_str(), state.width, state.height, state.flags, state.mode, failure)) {
    return false;
  }
  // A driver without the extension gets the ordinary window, as it would
  // have without asking.
  if (SDL_GL_ExtensionSupported(kMultisampleExtension)) return true;
  SDL_GL_MakeCurrent(state.window, nullptr);
  SDL_GL_DeleteContext(state.context);
  state.context = nullptr;
  SDL_DestroyWindow(state.window);
  state.window = nullptr;
  return false;
}

void DestroyAppWindow() {
  if (state.fullscreenActive) {
    if (state.window != nullptr) SDL_SetWindowFullscreen(state.window, 0);
    SDL_ShowCursor(SDL_ENABLE);
  }
  if (state.context != nullptr) {
    if (SDL_GL_MakeCurrent(state.window, nullptr) != 0) shutdownError("Release Of DC And RC Failed.");
    SDL_GL_DeleteContext(state.context);
    state.context = nullptr;
  }
  if (state.window != nullptr) {
    SDL_DestroyWindow(state.window);
    state.window = nullptr;
  }
  if (state.videoStarted) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    state.videoStarted = false;
  }
}

void ResizeView(int width, int height) {
  if (height == 0) height = 1;
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  state.aspect = float(width) / float(height);
  gluPerspective(45.0, double(state.aspect), double(0.2f), 2000.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

bool InitGLState() {
  glEnable(GL_TEXTURE_2D);
  glShadeModel(GL_SMOOTH);
  glClearColor(0.9f, 0.9f, 0.95f, 0.0f);
  glClearDepth(1.0);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  glPolygonMode(GL_FRONT, GL_FILL);
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
  state.swapControl = SDL_GL_SetSwapInterval(state.config.vsync) == 0;
  return true;
}

void handleWindowEvent(const SDL_Event& event) {
  if (event.type != SDL_WINDOWEVENT) return;
  switch (event.window.event) {
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      ResizeView(event.window.data1, event.window.data2);
      break;
    case SDL_WINDOWEVENT_CLOSE: {
      SDL_Event quit = {};
      quit.type = SDL_QUIT;
      SDL_PushEvent(&quit);
      break;
    }
    default:
      break;
  }
}

void swapAppWindow() { SDL_GL_SwapWindow(state.window); }

SDL_Window* appWindow() { return state.window; }
bool fullscreenActive() { return state.fullscreenActive; }
bool swapControlAvailable() { return state.swapControl; }
int windowSamples() { return state.samples; }
