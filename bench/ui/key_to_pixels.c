/* Keystroke to changed pixels: sends keys to the X display through XTest and
 * times how soon a rectangle of the screen changes after each, by reading it
 * back every half millisecond. Prints one figure a line (milliseconds), then
 * the median and the 95th percentile. Built and run by typing-latency.sh.
 * Usage: key_to_pixels X Y WIDTH HEIGHT KEYS
 * Each character of KEYS is one keystroke (letters, digits and space). */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

/* libXtst's entry point; its header is not installed everywhere. */
extern int XTestFakeKeyEvent(Display* display, unsigned int keycode, Bool press,
                             unsigned long delay);

static double NowMs(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return (double)t.tv_sec * 1e3 + (double)t.tv_nsec / 1e6;
}

static void SleepMs(double ms) {
  struct timespec t;
  t.tv_sec = (time_t)(ms / 1e3);
  t.tv_nsec = (long)((ms - (double)t.tv_sec * 1e3) * 1e6);
  nanosleep(&t, NULL);
}

static int Same(XImage* a, XImage* b) {
  return memcmp(a->data, b->data, (size_t)a->bytes_per_line * (size_t)a->height) == 0;
}

static int ByValue(const void* a, const void* b) {
  const double x = *(const double*)a;
  const double y = *(const double*)b;
  return (x > y) - (x < y);
}

int main(int argc, char** argv) {
  if (argc != 6) {
    fprintf(stderr, "Usage: key_to_pixels X Y WIDTH HEIGHT KEYS\n");
    return 2;
  }
  const int x = atoi(argv[1]);
  const int y = atoi(argv[2]);
  const unsigned width = (unsigned)atoi(argv[3]);
  const unsigned height = (unsigned)atoi(argv[4]);
  const char* keys = argv[5];
  Display* display = XOpenDisplay(NULL);
  if (!display) {
    fprintf(stderr, "key_to_pixels: no X display (set DISPLAY).\n");
    return 1;
  }
  const Window root = DefaultRootWindow(display);
  const size_t count = strlen(keys);
  double* times = calloc(count, sizeof(double));
  size_t measured = 0;
  for (size_t i = 0; i < count; ++i) {
    char name[2] = {keys[i], 0};
    const KeySym sym = keys[i] == ' ' ? XK_space : XStringToKeysym(name);
    const KeyCode code = XKeysymToKeycode(display, sym);
    if (code == 0) continue;
    XImage* before = XGetImage(display, root, x, y, width, height, AllPlanes, ZPixmap);
    const double start = NowMs();
    XTestFakeKeyEvent(display, code, True, 0);
    XTestFakeKeyEvent(display, code, False, 0);
    XFlush(display);
    double changed = -1;
    while (NowMs() - start < 3000) {
      XImage* now = XGetImage(display, root, x, y, width, height, AllPlanes, ZPixmap);
      const int same = Same(before, now);
      XDestroyImage(now);
      if (!same) {
        changed = NowMs() - start;
        break;
      }
      SleepMs(0.5);
    }
    XDestroyImage(before);
    if (changed >= 0) {
      times[measured++] = changed;
      printf("%.1f\n", changed);
    } else {
      printf("no change within 3 s\n");
    }
    fflush(stdout);
    /* Paced unevenly so that the keys do not fall in step with a timer. */
    SleepMs(450.0 + (double)((i * 137) % 400));
  }
  if (measured > 0) {
    qsort(times, measured, sizeof(double), ByValue);
    const double median = measured % 2 ? times[measured / 2]
                                       : (times[measured / 2 - 1] + times[measured / 2]) / 2;
    size_t rank = (measured * 95 + 99) / 100; /* nearest rank */
    if (rank < 1) rank = 1;
    printf("keystrokes %zu, median %.1f ms, 95th percentile %.1f ms, max %.1f ms\n", measured,
           median, times[rank - 1], times[measured - 1]);
  }
  free(times);
  XCloseDisplay(display);
  return measured == count ? 0 : 1;
}
