#include "app/message_box.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

Uint32 sdlFlags(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Warning: return SDL_MESSAGEBOX_WARNING;
    case MessageIcon::Information: return SDL_MESSAGEBOX_INFORMATION;
    case MessageIcon::Plain: return 0;
  }
  return 0;
}

}  // namespace

bool batchMode() {
  const char* batch = std::getenv("STRAVO_BATCH");
  return batch != nullptr && std::strcmp(batch, "1") == 0;
}

void showMessageBox(const char* text, const char* caption, MessageIcon icon) {
  if (!batchMode() && SDL_ShowSimpleMessageBox(sdlFlags(icon), caption, text, nullptr) == 0) return;
  std::fprintf(stderr, "%s: %s\n", caption, text);
}
