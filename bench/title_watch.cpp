// netglobe_title_watch: waits, without polling, for a top-level window of
// class "netglobe" whose title contains a given text, then prints the wall
// clock (seconds since 1970) and ends. The start-time script measures with
// it: a poll that starts programs every few milliseconds takes the CPU the
// program being measured needs on a machine of two cores.
// Usage: netglobe_title_watch TEXT [TIMEOUT_SECONDS]
// Prints "ready" once it watches, so that the program is started only then.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

namespace {

bool isnetglobe(Display* display, Window window) {
  XClassHint hint{};
  if (!XGetClassHint(display, window, &hint)) return false;
  const bool ours = hint.res_name && std::strcmp(hint.res_name, "netglobe") == 0;
  XFree(hint.res_name);
  XFree(hint.res_class);
  return ours;
}

// WM_NAME, as xwininfo shows it.
bool titlehas(Display* display, Window window, const char* text) {
  char* name = nullptr;
  if (!XFetchName(display, window, &name) || !name) return false;
  const bool has = std::strstr(name, text) != nullptr;
  XFree(name);
  return has;
}

// Errors come from windows gone before they are asked about; they are
// nothing to stop for.
int ignoreerrors(Display*, XErrorEvent*) { return 0; }

bool matches(Display* display, Window window, const char* text) {
  return isnetglobe(display, window) && titlehas(display, window, text);
}

// Watches the properties of a top-level window, then looks at what it has
// already: a title set before the watch began is seen too.
bool watch(Display* display, Window window, const char* text) {
  XSelectInput(display, window, PropertyChangeMask);
  return matches(display, window, text);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s TEXT [TIMEOUT_SECONDS]\n", argv[0]);
    return 2;
  }
  const char* text = argv[1];
  const int timeoutms = (argc > 2 ? std::atoi(argv[2]) : 30) * 1000;
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "%s: cannot open the display\n", argv[0]);
    return 2;
  }
  XSetErrorHandler(ignoreerrors);
  const Window root = DefaultRootWindow(display);
  XSelectInput(display, root, SubstructureNotifyMask);
  bool found = false;
  Window treeroot = 0;
  Window parent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  if (XQueryTree(display, root, &treeroot, &parent, &children, &count)) {
    for (unsigned i = 0; i < count && !found; ++i) found = watch(display, children[i], text);
    XFree(children);
  }
  std::printf("ready\n");
  std::fflush(stdout);
  timespec begun{};
  clock_gettime(CLOCK_MONOTONIC, &begun);
  while (!found) {
    if (XPending(display) == 0) {
      timespec now{};
      clock_gettime(CLOCK_MONOTONIC, &now);
      const long spent = (now.tv_sec - begun.tv_sec) * 1000 + (now.tv_nsec - begun.tv_nsec) / 1000000;
      if (spent >= timeoutms) {
        std::fprintf(stderr, "%s: no window titled with \"%s\"\n", argv[0], text);
        return 1;
      }
      pollfd wait{ConnectionNumber(display), POLLIN, 0};
      poll(&wait, 1, static_cast<int>(timeoutms - spent));
      continue;
    }
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == CreateNotify && event.xcreatewindow.parent == root) {
      found = watch(display, event.xcreatewindow.window, text);
    } else if (event.type == PropertyNotify) {
      found = matches(display, event.xproperty.window, text);
    }
  }
  timespec seen{};
  clock_gettime(CLOCK_REALTIME, &seen);
  std::printf("%ld.%09ld\n", static_cast<long>(seen.tv_sec), seen.tv_nsec);
  XCloseDisplay(display);
  return 0;
}
