// Watches a few pixels of an X screen and times how long a program takes to
// show something there after a key, a click or its own start. Input goes
// through XTest, as from a real keyboard and mouse.
//
//   xpoll wait   --at X,Y --expect RRGGBB                  until the colour shows
//   xpoll key    KEYSYM --at X,Y --expect RRGGBB           a key press and release
//   xpoll click  X,Y [--double] --at X,Y --expect RRGGBB   a left click
//   xpoll launch --at X,Y (--expect RRGGBB | --changes) -- COMMAND ...
//   xpoll hold   KEYSYM --seconds S --at X,Y               key held down, then released
//   xpoll colour --at X,Y                                  the colour there now
//
// Options: --tolerance N (per channel, default 40), --timeout MS (default
// 10000). Prints the milliseconds from the input to the first frame that
// shows the colour; "launch" also prints the pid it started; "hold" prints
// the milliseconds from the release to the last change of the colour and
// the colour it settled on. Exits 1 on a timeout.
#define _POSIX_C_SOURCE 200809L
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static Display *display;
static int atX = -1, atY = -1;
static long expected = -1;
static int tolerance = 40;
static double timeoutMs = 10000;

static double now(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

static void pause_ms(double ms)
{
    struct timespec t = {(time_t)(ms / 1000), (long)((ms - (long)(ms / 1000) * 1000) * 1e6)};
    nanosleep(&t, NULL);
}

// The average colour of the 3 x 3 pixels around the point.
static long colour(void)
{
    XImage *image = XGetImage(display, DefaultRootWindow(display), atX - 1, atY - 1, 3, 3, AllPlanes, ZPixmap);
    if (!image)
        return -1;
    long r = 0, g = 0, b = 0;
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            const unsigned long p = XGetPixel(image, x, y);
            r += (p >> 16) & 0xFF;
            g += (p >> 8) & 0xFF;
            b += p & 0xFF;
        }
    }
    XDestroyImage(image);
    return ((r / 9) << 16) | ((g / 9) << 8) | (b / 9);
}

static int close_to(long a, long b)
{
    for (int shift = 0; shift <= 16; shift += 8) {
        if (labs(((a >> shift) & 0xFF) - ((b >> shift) & 0xFF)) > tolerance)
            return 0;
    }
    return 1;
}

// Polls until the colour shows (or, with changes, until it differs from
// before); the time it first showed, or -1 on a timeout.
static double await_colour(double start, int changes, long before)
{
    while (now() - start < timeoutMs) {
        const long c = colour();
        if (changes ? (c != -1 && !close_to(c, before)) : close_to(c, expected))
            return now();
        pause_ms(0.25);
    }
    return -1;
}

static void key(const char *name, Bool down)
{
    const KeySym sym = XStringToKeysym(name);
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, sym), down, CurrentTime);
    XFlush(display);
}

static void usage(void)
{
    fprintf(stderr, "usage: xpoll wait|key|click|launch|hold|colour ... (see the source)\n");
    exit(2);
}

int main(int argc, char **argv)
{
    if (argc < 2)
        usage();
    const char *mode = argv[1];
    const char *keyName = NULL;
    int clickX = -1, clickY = -1, doubleClick = 0, changes = 0;
    double seconds = 3;
    char **command = NULL;
    int i = 2;
    if ((!strcmp(mode, "key") || !strcmp(mode, "hold")) && i < argc)
        keyName = argv[i++];
    if (!strcmp(mode, "click") && i < argc && sscanf(argv[i++], "%d,%d", &clickX, &clickY) != 2)
        usage();
    for (; i < argc; ++i) {
        if (!strcmp(argv[i], "--at") && i + 1 < argc)
            sscanf(argv[++i], "%d,%d", &atX, &atY);
        else if (!strcmp(argv[i], "--expect") && i + 1 < argc)
            expected = strtol(argv[++i], NULL, 16);
        else if (!strcmp(argv[i], "--tolerance") && i + 1 < argc)
            tolerance = atoi(argv[++i]);
        else if (!strcmp(argv[i], "--timeout") && i + 1 < argc)
            timeoutMs = atof(argv[++i]);
        else if (!strcmp(argv[i], "--seconds") && i + 1 < argc)
            seconds = atof(argv[++i]);
        else if (!strcmp(argv[i], "--double"))
            doubleClick = 1;
        else if (!strcmp(argv[i], "--changes"))
            changes = 1;
        else if (!strcmp(argv[i], "--") && i + 1 < argc) {
            command = argv + i + 1;
            break;
        } else
            usage();
    }
    display = XOpenDisplay(NULL);
    if (!display || atX < 1 || atY < 1) {
        fprintf(stderr, "xpoll: no display, or no --at\n");
        return 2;
    }

    if (!strcmp(mode, "colour")) {
        printf("%06lx\n", colour());
        return 0;
    }
    if (!strcmp(mode, "hold")) {
        key(keyName, True);
        pause_ms(seconds * 1000);
        key(keyName, False);
        const double released = now();
        long last = colour();
        double lastChange = released;
        // Settled once nothing has changed for 800 ms.
        while (now() - lastChange < 800 && now() - released < timeoutMs) {
            const long c = colour();
            if (!close_to(c, last)) {
                last = c;
                lastChange = now();
            }
            pause_ms(0.5);
        }
        printf("%.1f %06lx\n", lastChange - released, last);
        return 0;
    }

    const long before = colour();
    double start = now();
    if (!strcmp(mode, "key")) {
        start = now();
        key(keyName, True);
        key(keyName, False);
    } else if (!strcmp(mode, "click")) {
        XTestFakeMotionEvent(display, -1, clickX, clickY, CurrentTime);
        XFlush(display);
        pause_ms(20);
        start = now();
        for (int n = 0; n <= doubleClick; ++n) {
            XTestFakeButtonEvent(display, 1, True, CurrentTime);
            XTestFakeButtonEvent(display, 1, False, CurrentTime);
            XFlush(display);
        }
    } else if (!strcmp(mode, "launch")) {
        if (!command)
            usage();
        start = now();
        const pid_t child = fork();
        if (child == 0) {
            execvp(command[0], command);
            _exit(127);
        }
        const double shown = await_colour(start, changes, before);
        printf("%.1f %d\n", shown < 0 ? -1.0 : shown - start, (int)child);
        return shown < 0 ? 1 : 0;
    } else if (strcmp(mode, "wait") != 0) {
        usage();
    }
    const double shown = await_colour(start, changes, before);
    printf("%.1f\n", shown < 0 ? -1.0 : shown - start);
    return shown < 0 ? 1 : 0;
}
