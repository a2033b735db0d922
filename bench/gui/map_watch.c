/* Starts a program on the X display and times its first window from the
 * outside, the same way for every program: milliseconds from the fork to the
 * first top-level window mapped, to the first frame drawn into it (the first
 * damage report after which the window no longer holds the black of a fresh
 * X window) and to the last drawing before the program went quiet; and the program's resident memory a given
 * time after the fork. Used by bench/gui_start.sh.
 *
 * With --first-frame FILE it saves the window's content at its first
 * drawing as a PPM picture: what the user saw first.
 *
 * usage: map_watch [--quiet-ms MS] [--rss-at-ms MS] [--timeout-ms MS] [--first-frame FILE]
 *                  -- PROGRAM [ARGS...]
 * prints: map_ms=N paint_ms=N settled_ms=N rss_kib=N cpu_map_ms=N cpu_paint_ms=N
 *         (-1 where not seen; cpu_*: CPU time the program had used by then)
 */
#define _GNU_SOURCE
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <dirent.h>
#include <errno.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double NowMs(void) {
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

static long RssKib(pid_t pid) {
  char path[64];
  snprintf(path, sizeof path, "/proc/%d/status", (int)pid);
  FILE* f = fopen(path, "r");
  if (!f) return -1;
  char line[256];
  long kib = -1;
  while (fgets(line, sizeof line, f)) {
    if (strncmp(line, "VmRSS:", 6) == 0) {
      kib = strtol(line + 6, NULL, 10);
      break;
    }
  }
  fclose(f);
  return kib;
}

static void SavePicture(Display* d, Window w, const char* path) {
  XWindowAttributes a;
  if (!XGetWindowAttributes(d, w, &a)) return;
  XImage* image = XGetImage(d, w, 0, 0, a.width, a.height, AllPlanes, ZPixmap);
  if (!image) return;
  FILE* f = fopen(path, "wb");
  if (f) {
    fprintf(f, "P6\n%d %d\n255\n", a.width, a.height);
    for (int y = 0; y < a.height; ++y) {
      for (int x = 0; x < a.width; ++x) {
        const unsigned long p = XGetPixel(image, x, y);
        const unsigned char rgb[3] = {(p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF};
        fwrite(rgb, 1, 3, f);
      }
    }
    fclose(f);
  }
  XDestroyImage(image);
}

/* True when any of a grid of the window's pixels is not black. */
static int Drawn(Display* d, Window w) {
  XWindowAttributes a;
  if (!XGetWindowAttributes(d, w, &a) || a.width < 1 || a.height < 1) return 0;
  for (int gy = 1; gy < 8; ++gy) {
    for (int gx = 1; gx < 8; ++gx) {
      XImage* image = XGetImage(d, w, a.width * gx / 8, a.height * gy / 8, 1, 1, AllPlanes, ZPixmap);
      if (!image) continue;
      const unsigned long p = XGetPixel(image, 0, 0) & 0xFFFFFF;
      XDestroyImage(image);
      if (p != 0) return 1;
    }
  }
  return 0;
}

/* CPU time in ms the process has used so far, all its threads
 * (/proc/PID/task/TID/schedstat: run time in ns). Less sensitive to other
 * programs on a busy machine than the wall-clock times. */
static double CpuMs(pid_t pid) {
  char path[64];
  snprintf(path, sizeof path, "/proc/%d/task", (int)pid);
  DIR* dir = opendir(path);
  if (!dir) return -1;
  double total = 0;
  struct dirent* e;
  while ((e = readdir(dir)) != NULL) {
    if (e->d_name[0] == '.') continue;
    char file[300];
    snprintf(file, sizeof file, "/proc/%d/task/%s/schedstat", (int)pid, e->d_name);
    FILE* f = fopen(file, "r");
    if (!f) continue;
    unsigned long long ns = 0;
    if (fscanf(f, "%llu", &ns) == 1) total += ns / 1e6;
    fclose(f);
  }
  closedir(dir);
  return total;
}

static int IgnoreErrors(Display* d, XErrorEvent* e) {
  (void)d;
  (void)e;
  return 0;  /* a window that went away before we looked at it */
}

int main(int argc, char** argv) {
  int quiet_ms = 1500, rss_at_ms = 5000, timeout_ms = 20000, i = 1;
  const char* first_frame = NULL;
  for (; i < argc && strcmp(argv[i], "--") != 0; ++i) {
    if (i + 1 >= argc) break;
    if (strcmp(argv[i], "--quiet-ms") == 0) quiet_ms = atoi(argv[++i]);
    else if (strcmp(argv[i], "--rss-at-ms") == 0) rss_at_ms = atoi(argv[++i]);
    else if (strcmp(argv[i], "--timeout-ms") == 0) timeout_ms = atoi(argv[++i]);
    else if (strcmp(argv[i], "--first-frame") == 0) first_frame = argv[++i];
  }
  if (i >= argc - 1) {
    fprintf(stderr, "usage: map_watch [--quiet-ms MS] [--rss-at-ms MS] [--timeout-ms MS] [--first-frame FILE] -- PROGRAM [ARGS...]\n");
    return 2;
  }
  Display* d = XOpenDisplay(NULL);
  if (!d) {
    fprintf(stderr, "map_watch: cannot open the display\n");
    return 1;
  }
  int damage_event = 0, damage_error = 0;
  if (!XDamageQueryExtension(d, &damage_event, &damage_error)) {
    fprintf(stderr, "map_watch: the display has no DAMAGE extension\n");
    return 1;
  }
  XSetErrorHandler(IgnoreErrors);
  Window root = DefaultRootWindow(d);
  XSelectInput(d, root, SubstructureNotifyMask);
  XSync(d, False);

  const double start = NowMs();
  pid_t child = fork();
  if (child == 0) {
    execvp(argv[i + 1], argv + i + 1);
    _exit(127);
  }
  if (child < 0) return 1;

  Window mapped = 0;
  double map_ms = -1, paint_ms = -1, last_paint_ms = -1, cpu_map_ms = -1, cpu_paint_ms = -1;
  long rss = -1;
  for (;;) {
    const double now = NowMs() - start;
    if (rss < 0 && now >= rss_at_ms) rss = RssKib(child);
    const int painted_and_quiet = paint_ms >= 0 && now - last_paint_ms >= quiet_ms;
    if ((painted_and_quiet && rss >= 0) || now >= timeout_ms) break;
    while (XPending(d)) {
      XEvent e;
      XNextEvent(d, &e);
      const double at = NowMs() - start;
      if (e.type == CreateNotify && e.xcreatewindow.parent == root && !e.xcreatewindow.override_redirect) {
        XDamageCreate(d, e.xcreatewindow.window, XDamageReportRawRectangles);
      } else if (e.type == MapNotify && e.xmap.event == root && !mapped && !e.xmap.override_redirect) {
        mapped = e.xmap.window;
        map_ms = at;
        cpu_map_ms = CpuMs(child);
      } else if (e.type == damage_event + XDamageNotify) {
        const XDamageNotifyEvent* n = (const XDamageNotifyEvent*)&e;
        if (mapped && n->drawable == mapped) {
          if (paint_ms < 0 && Drawn(d, mapped)) {
            paint_ms = at;
            cpu_paint_ms = CpuMs(child);
            if (first_frame) SavePicture(d, mapped, first_frame);
          }
          if (paint_ms >= 0) last_paint_ms = at;
        }
      }
    }
    struct pollfd p = {ConnectionNumber(d), POLLIN, 0};
    poll(&p, 1, 5);
    int status;
    if (waitpid(child, &status, WNOHANG) == child) {
      child = -1;
      break;
    }
  }
  if (child > 0) {
    kill(child, SIGTERM);
    double until = NowMs() + 2000;
    int status;
    while (waitpid(child, &status, WNOHANG) == 0 && NowMs() < until) poll(NULL, 0, 10);
    if (waitpid(child, &status, WNOHANG) == 0) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
    }
  }
  printf("map_ms=%.1f paint_ms=%.1f settled_ms=%.1f rss_kib=%ld cpu_map_ms=%.1f cpu_paint_ms=%.1f\n", map_ms,
         paint_ms, last_paint_ms, rss, cpu_map_ms, cpu_paint_ms);
  XCloseDisplay(d);
  return map_ms >= 0 ? 0 : 1;
}
