// Times a program's start-up as the X server sees it: starts the program, watches the root window's
// children and prints the milliseconds from just before the program's exec until one of its
// top-level windows is mapped at the size asked for (under a window manager that reparents: the
// frame around it, which has the window's size when it has no decorations; where it is placed does
// not matter). After `--settle` milliseconds more it asks that window to close (the window
// manager's WM_DELETE_WINDOW message, sent to the client inside a frame), waits for the program to
// end and ends its process group with SIGKILL only if it has not ended by itself, or if anything of
// it is left behind.
//
//   map_timer WIDTH HEIGHT [--settle MS] [--timeout S] -- PROGRAM [ARGUMENT...]
//
// Prints one line and exits 0:
//   map_ms M first_ms F first_size WxH unmap_ms U map_epoch E close_epoch C end closed|...
// M: until the window at the size asked for is mapped; F: until the program's first top-level
// window of any size is mapped, and that window's size; U: until the last time one of its windows
// was unmapped before M (-1 if none was); E and C: wall-clock seconds (CLOCK_REALTIME, as in
// strace -ttt) of that map and of the close request; the end: closed on request, killed, or
// exited by itself. Exits non-zero when the window did not appear in time or the program could
// not be started.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <string>
#include <vector>

namespace {

double NowMs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
}

double WallSeconds() {
  timespec t{};
  clock_gettime(CLOCK_REALTIME, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

struct Options {
  int width = 0;
  int height = 0;
  double settleMs = 0;
  double timeoutS = 60;
  std::vector<char*> command;
};

[[noreturn]] void Usage() {
  std::fprintf(stderr,
               "usage: map_timer WIDTH HEIGHT [--settle MS] [--timeout S] -- PROGRAM [ARG...]\n");
  std::exit(2);
}

Options Parse(int argc, char** argv) {
  Options options;
  if (argc < 5) Usage();
  options.width = std::atoi(argv[1]);
  options.height = std::atoi(argv[2]);
  int i = 3;
  for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
    if (std::strcmp(argv[i], "--settle") == 0 && i + 1 < argc) {
      options.settleMs = std::atof(argv[++i]);
    } else if (std::strcmp(argv[i], "--timeout") == 0 && i + 1 < argc) {
      options.timeoutS = std::atof(argv[++i]);
    } else {
      Usage();
    }
  }
  for (++i; i < argc; ++i) options.command.push_back(argv[i]);
  if (options.width <= 0 || options.height <= 0 || options.command.empty()) Usage();
  options.command.push_back(nullptr);
  return options;
}

// What the X server has told us about one child of the root window.
struct TopLevel {
  int width = 0;
  int height = 0;
  bool mapped = false;
};

// Errors about windows that went away between an event and a request are expected.
int IgnoreErrors(Display*, XErrorEvent*) { return 0; }

// The process id Wine and other toolkits record on their windows, or -1 when there is none.
long WindowPid(Display* display, Window window) {
  const Atom property = XInternAtom(display, "_NET_WM_PID", False);
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  long pid = -1;
  if (XGetWindowProperty(display, window, property, 0, 1, False, XA_CARDINAL, &type, &format,
                         &count, &after, &data) == Success &&
      data != nullptr) {
    if (type == XA_CARDINAL && format == 32 && count == 1) {
      pid = *reinterpret_cast<long*>(data);
    }
  }
  if (data != nullptr) XFree(data);
  return pid;
}

// The program's own window behind a child of the root: the window itself, or under a window
// manager that reparents, the client inside its frame (the first window down the tree that
// carries a process id). The window itself when none does.
Window ClientOf(Display* display, Window window, int depth = 0) {
  if (WindowPid(display, window) >= 0 || depth > 2) return window;
  Window root = None, parent = None;
  Window* children = nullptr;
  unsigned int count = 0;
  Window client = window;
  if (XQueryTree(display, window, &root, &parent, &children, &count) != 0) {
    for (unsigned int i = 0; i < count && client == window; ++i) {
      const Window inside = ClientOf(display, children[i], depth + 1);
      if (WindowPid(display, inside) >= 0) client = inside;
    }
  }
  if (children != nullptr) XFree(children);
  return client;
}

// Whether a window belongs to the program: Wine records the process id on its windows (a window
// manager's frame is judged by the client inside); the program's process may also be a child of
// the one started (under a tracer), in its process group. Windows without the record count as the
// program's, as nothing else the display shows is timed.
bool Ours(Display* display, Window window, pid_t child) {
  const long pid = WindowPid(display, ClientOf(display, window));
  return pid < 0 || pid == static_cast<long>(child) || getpgid(static_cast<pid_t>(pid)) == child;
}

// Starts the command in a process group of its own with no standard input or output. The clock is
// read in the child right before exec and handed back through a pipe that closes on exec.
pid_t Start(const std::vector<char*>& command, double& startMs) {
  int channel[2];
  if (pipe2(channel, O_CLOEXEC) != 0) return -1;
  const pid_t child = fork();
  if (child < 0) return -1;
  if (child == 0) {
    setpgid(0, 0);
    const int null = open("/dev/null", O_RDWR);
    if (null >= 0) {
      dup2(null, 0);
      dup2(null, 1);
      dup2(null, 2);
    }
    const double now = NowMs();
    if (write(channel[1], &now, sizeof(now)) != static_cast<ssize_t>(sizeof(now))) _exit(127);
    execvp(command[0], command.data());
    const int error = errno;
    if (write(channel[1], &error, sizeof(error)) < 0) _exit(127);
    _exit(127);
  }
  close(channel[1]);
  ssize_t got = read(channel[0], &startMs, sizeof(startMs));
  int error = 0;
  const ssize_t failed = got == static_cast<ssize_t>(sizeof(startMs))
                             ? read(channel[0], &error, sizeof(error))
                             : static_cast<ssize_t>(-1);
  close(channel[0]);
  if (got != static_cast<ssize_t>(sizeof(startMs)) || failed > 0) {
    std::fprintf(stderr, "map_timer: could not start %s: %s\n", command[0], std::strerror(error));
    waitpid(child, nullptr, 0);
    return -1;
  }
  return child;
}

// Whether the child has ended; collects it when it has.
bool Ended(pid_t child) {
  int status = 0;
  return waitpid(child, &status, WNOHANG) == child;
}

// Asks a window to close the way a window manager does.
void RequestClose(Display* display, Window window) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &event);
  XFlush(display);
}

void Drain(Display* display) {
  while (XPending(display) > 0) {
    XEvent event;
    XNextEvent(display, &event);
  }
}

// Keeps the X connection drained for `ms` milliseconds, or until the child ends.
bool WaitFor(Display* display, pid_t child, double ms) {
  const double until = NowMs() + ms;
  while (NowMs() < until) {
    if (Ended(child)) return true;
    Drain(display);
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    poll(&fd, 1, 10);
  }
  return Ended(child);
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = Parse(argc, argv);
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "map_timer: cannot open the X display\n");
    return 1;
  }
  XSetErrorHandler(IgnoreErrors);
  const Window root = DefaultRootWindow(display);
  XSelectInput(display, root, SubstructureNotifyMask);
  XSync(display, True);

  double startMs = 0;
  const pid_t child = Start(options.command, startMs);
  if (child < 0) return 1;

  std::map<Window, TopLevel> windows;
  Window found = None;
  double foundMs = 0, firstMs = -1, unmapMs = -1, mapWall = 0;
  int firstWidth = 0, firstHeight = 0;
  const double deadline = startMs + options.timeoutS * 1000.0;
  bool ended = false;
  while (found == None) {
    if (XPending(display) == 0) {
      if (NowMs() > deadline || (ended = Ended(child))) break;
      pollfd fd{ConnectionNumber(display), POLLIN, 0};
      poll(&fd, 1, 20);
      continue;
    }
    XEvent event;
    XNextEvent(display, &event);
    const double at = NowMs();
    Window window = None;
    switch (event.type) {
      case CreateNotify: {
        TopLevel& top = windows[event.xcreatewindow.window];
        top.width = event.xcreatewindow.width;
        top.height = event.xcreatewindow.height;
        break;
      }
      case ConfigureNotify: {
        TopLevel& top = windows[event.xconfigure.window];
        top.width = event.xconfigure.width;
        top.height = event.xconfigure.height;
        window = event.xconfigure.window;
        break;
      }
      case MapNotify: {
        auto known = windows.find(event.xmap.window);
        if (known == windows.end()) {
          // Created before we listened: ask for its size once.
          XWindowAttributes attributes{};
          if (XGetWindowAttributes(display, event.xmap.window, &attributes) == 0) break;
          known =
              windows
                  .emplace(event.xmap.window, TopLevel{attributes.width, attributes.height, false})
                  .first;
        }
        known->second.mapped = true;
        window = event.xmap.window;
        break;
      }
      case UnmapNotify:
        windows[event.xunmap.window].mapped = false;
        // Only an unmap after the first map is a window shown and hidden again.
        if (firstMs >= 0 && Ours(display, event.xunmap.window, child)) unmapMs = at;
        break;
      case DestroyNotify:
        windows.erase(event.xdestroywindow.window);
        break;
      default:
        break;
    }
    if (window == None || !Ours(display, window, child)) continue;
    const TopLevel& top = windows[window];
    if (event.type == MapNotify && firstMs < 0) {
      firstMs = at;
      firstWidth = top.width;
      firstHeight = top.height;
    }
    if (!top.mapped || top.width != options.width || top.height != options.height) continue;
    found = window;
    foundMs = at;
    mapWall = WallSeconds();
  }

  if (found == None) {
    std::fprintf(stderr, "map_timer: no %dx%d window %s\n", options.width, options.height,
                 ended ? "before the program ended" : "in time");
    if (!ended) {
      kill(-child, SIGKILL);
      waitpid(child, nullptr, 0);
    }
    XCloseDisplay(display);
    return 1;
  }

  const char* end = "exited";
  double closeWall = 0;
  if (!WaitFor(display, child, options.settleMs)) {
    closeWall = WallSeconds();
    RequestClose(display, ClientOf(display, found));
    end = "closed";
    if (!WaitFor(display, child, 10000)) {
      kill(-child, SIGKILL);
      waitpid(child, nullptr, 0);
      end = "killed";
    }
  }
  // Whatever the program started in its process group goes with it, so that the next run starts
  // from the same state. Wine's loader processes may still be ending when the program has: they
  // have half a second before they count as left behind.
  for (int wait = 0; wait < 50 && kill(-child, 0) == 0; ++wait) {
    Drain(display);
    usleep(10000);
  }
  if (kill(-child, 0) == 0) {
    kill(-child, SIGKILL);
    end = "killed";
  }
  std::printf(
      "map_ms %.3f first_ms %.3f first_size %dx%d unmap_ms %.3f map_epoch %.6f close_epoch %.6f"
      " end %s\n",
      foundMs - startMs, firstMs - startMs, firstWidth, firstHeight,
      unmapMs < 0 ? -1.0 : unmapMs - startMs, mapWall, closeWall, end);
  XCloseDisplay(display);
  return 0;
}
