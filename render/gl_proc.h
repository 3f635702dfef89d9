#pragma once

// Fetches an OpenGL entry point by name, null when the driver lacks it. The app
// hands over SDL_GL_GetProcAddress; render/ stays free of SDL.
using GLProcLoader = void* (*)(const char* name);

// Shows a modal message (a shader that does not compile). The app hands over its
// message box, which goes to stderr in unattended runs; until then the text
// goes to stderr.
using MessageBoxHandler = void (*)(const char* text, const char* caption);
void setMessageBoxHandler(MessageBoxHandler handler);
void showMessageBox(const char* text, const char* caption);
