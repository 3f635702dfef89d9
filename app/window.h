#pragma once

#include "app/config.h"

#include <SDL.h>

// The program's single window and its GL context, over SDL2. The window
// class of other platforms is SDL's video subsystem here: it is started when
// the window is created and shut down when it is destroyed.

// The pixel-format argument that lets CreateAppWindow choose the format (with
// fsaa > 0 it asks for a multisample one first); a positive value asks for a
// multisample format with that many samples and nothing else.
constexpr int kChoosePixelFormat = -1;

// The configuration the window reads besides its arguments: the fullscreen
// refresh rate, the swap interval, the samples, and the sizes used when the
// multisample set-up opens the window again.
void setWindowConfig(const AppConfig& config);

// The display mode a fullscreen request asks for: exactly this size, depth and
// frequency, where a frequency of 0 means the display's current one. False
// when the display offers no such mode. Needs the video subsystem.
bool findDisplayMode(int width, int height, int bits, int refresh, SDL_DisplayMode& out);

// Clears fullscreenActive; done before anything else at program start.
void clearFullscreenFlag();

// Opens the window with its GL context current. On failure everything made
// so far is released, the step's "ERROR" message is shown and false returned.
// A refused fullscreen mode is no failure: the window opens windowed.
bool CreateAppWindow(const char* title, int width, int height, int bits, bool fullscreen, int pixelFormat);

// Releases the display mode, the context, the window and the video subsystem,
// each step on its own; failures show "SHUTDOWN ERROR" messages and go on.
void DestroyAppWindow();

// Viewport and the starting projection: 45 degrees vertical, near 0.2, far 2000.
void ResizeView(int width, int height);

// The fixed GL state of the whole run and the swap interval. Always true.
bool InitGLState();

// Opens the window being created directly with a multisample format of the
// given samples, its context current, when the driver offers one and the
// multisample extension. False leaves no window: CreateAppWindow then opens
// the ordinary one and shows why ("Multisampling is not supported." or
// "Multisampling failed to initialise.").
bool SetupMultisample(int samples);

// The window procedure: a resize re-projects, a close posts the quit event,
// everything else needs nothing.
void handleWindowEvent(const SDL_Event& event);

// Shows the back buffer.
void swapAppWindow();

SDL_Window* appWindow();
bool fullscreenActive();
// Whether the swap interval could be set (otherwise it is the driver's).
bool swapControlAvailable();
// The sample count the window was opened with (0: no multisampling).
int windowSamples();
