// Prints the sample buffers and samples of an X window's GL visual, so a test
// can see from outside whether a running program asked for multisampling.
// Usage: window_visual_probe WINDOW-ID
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: window_visual_probe WINDOW-ID\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "no display\n");
    return 2;
  }
  Window window = Window(std::strtoul(argv[1], nullptr, 0));
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes)) return 2;
  XVisualInfo wanted = {};
  wanted.visualid = XVisualIDFromVisual(attributes.visual);
  int count = 0;
  XVisualInfo* info = XGetVisualInfo(display, VisualIDMask, &wanted, &count);
  if (info == nullptr || count < 1) return 2;
  int buffers = 0, samples = 0;
  glXGetConfig(display, info, GLX_SAMPLE_BUFFERS, &buffers);
  glXGetConfig(display, info, GLX_SAMPLES, &samples);
  std::printf("%d %d\n", buffers, samples);
  XFree(info);
  XCloseDisplay(display);
  return 0;
}
