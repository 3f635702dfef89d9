#pragma once

// Fetches an OpenGL entry point by name, null when the driver lacks it. The app
// hands over SDL_GL_GetProcAddress; render/ stays free of SDL.
using GLProcLoader = void* (*)(const char* name);
