// Watches a few pixels of an X screen and times how long a program takes to
// show something there after a key, a click or its own start. Input goes
// through XTest, as from a real keyboard and mouse.
//
//   xpoll wait    --at X,Y --expect RRGGBB                 until the colour shows
//   xpoll key     KEYSYM --at X,Y --expect RRGGBB          a key press and release
//   xpoll click   X,Y [--double] --at X,Y --expect RRGGBB  a left click
//   xpoll launch  --at X,Y (--expect RRGGBB | --changes) -- COMMAND ...
//   xpoll launch-key KEYSYM --at X,Y (--expect RRGGBB | --changes)
//                 --then X,Y (--then-expect RRGGBB | --then-changes) -- COMMAND ...
//                                                          a start, the key at once on the
//                                                          first sight of it, and what the key shows
//   xpoll hold    KEYSYM --seconds S --at X,Y              key held down, then released
//   xpoll pointer X,Y                                      the pointer there, the keyboard following it
//   xpoll colour  --at X,Y                                 the colour there now
//
// Options: --tolerance N (per channel, default 40), --timeout MS (default
// 10000, for each wait), --from RRGGBB (what --changes compares with,
// instead of the colour there when xpoll starts), --stop (launch modes: the
// program is ended and reaped before xpoll exits). Prints the milliseconds
// from the input to the first frame that shows the colour; "launch" also
// prints the pid it started; "launch-key" prints the milliseconds from the
// start to the first frame, from the key to what it shows, and the pid;
// "hold" prints the milliseconds from the release to the last change of the
// colour and the colour it settled on. Exits 1 on a timeout.
//
// Without a window manager nobody gives a new window the keyboard: the
// launch modes and "pointer" let the keyboard follow the pointer, and the
// launch modes put the pointer on the first point, so that a key reaches
// the window that shows there.
#define _POSIX_C_SOURCE 200809L
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static Display *display;
static int tolerance = 40;
static double timeoutMs = 10000;

// A point to watch and what counts as showing there.
typedef struct {
    int x, y;
    long expected;
    int changes;
} Watch;

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
static long colour(int atX, int atY)
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
static double await_colour(const Watch *watch, double start, long before)
{
    while (now() - start < timeoutMs) {
        const long c = colour(watch->x, watch->y);
        if (watch->changes ? (c != -1 && !close_to(c, before)) : close_to(c, watch->expected))
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

// The keyboard goes to the window under the pointer, and the pointer is put
// on the point.
static void follow_pointer(int x, int y)
{
    XSetInputFocus(display, PointerRoot, RevertToPointerRoot, CurrentTime);
    XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
    XSync(display, False);
}

// Ends the program and reaps it: SIGTERM, and SIGKILL after 5 s.
static void stop(pid_t child)
{
    kill(child, SIGTERM);
    const double asked = now();
    while (waitpid(child, NULL, WNOHANG) == 0) {
        if (now() - asked > 5000) {
            kill(child, SIGKILL);
            waitpid(child, NULL, 0);
            return;
        }
        pause_ms(5);
    }
}

static pid_t launch(char **command)
{
    const pid_t child = fork();
    if (child == 0) {
        const int nowhere = open("/dev/null", O_WRONLY);
        dup2(nowhere, STDOUT_FILENO);
        dup2(nowhere, STDERR_FILENO);
        execvp(command[0], command);
        _exit(127);
    }
    return child;
}

static void usage(void)
{
    fprintf(stderr, "usage: xpoll wait|key|click|launch|launch-key|hold|pointer|colour ... (see the source)\n");
    exit(2);
}

static int point(const char *text, int *x, int *y)
{
    return sscanf(text, "%d,%d", x, y) == 2 && *x >= 1 && *y >= 1;
}

// What the command line asks for.
typedef struct
{
    const char *mode;
    const char *keyName;
    Watch at, then;
    int clickX, clickY, doubleClick, stopAfter;
    long from;
    double seconds;
    char **command;
} Options;

static void parse_option(Options *o, int argc, char **argv, int *i)
{
    const char *name = argv[*i];
    const int hasValue = *i + 1 < argc;
    if (!strcmp(name, "--at") && hasValue)
        point(argv[++*i], &o->at.x, &o->at.y);
    else if (!strcmp(name, "--expect") && hasValue)
        o->at.expected = strtol(argv[++*i], NULL, 16);
    else if (!strcmp(name, "--changes"))
        o->at.changes = 1;
    else if (!strcmp(name, "--then") && hasValue)
        point(argv[++*i], &o->then.x, &o->then.y);
    else if (!strcmp(name, "--then-expect") && hasValue)
        o->then.expected = strtol(argv[++*i], NULL, 16);
    else if (!strcmp(name, "--then-changes"))
        o->then.changes = 1;
    else if (!strcmp(name, "--from") && hasValue)
        o->from = strtol(argv[++*i], NULL, 16);
    else if (!strcmp(name, "--tolerance") && hasValue)
        tolerance = atoi(argv[++*i]);
    else if (!strcmp(name, "--timeout") && hasValue)
        timeoutMs = atof(argv[++*i]);
    else if (!strcmp(name, "--seconds") && hasValue)
        o->seconds = atof(argv[++*i]);
    else if (!strcmp(name, "--double"))
        o->doubleClick = 1;
    else if (!strcmp(name, "--stop"))
        o->stopAfter = 1;
    else
        usage();
}

static Options parse(int argc, char **argv)
{
    Options o = {argv[1], NULL, {-1, -1, -1, 0}, {-1, -1, -1, 0}, -1, -1, 0, 0, -1, 3, NULL};
    int i = 2;
    const int withKey = !strcmp(o.mode, "key") || !strcmp(o.mode, "hold") || !strcmp(o.mode, "launch-key");
    if (withKey && i < argc)
        o.keyName = argv[i++];
    const int withPoint = !strcmp(o.mode, "click") || !strcmp(o.mode, "pointer");
    if (withPoint && (i >= argc || !point(argv[i++], &o.clickX, &o.clickY)))
        usage();
    for (; i < argc; ++i) {
        if (!strcmp(argv[i], "--") && i + 1 < argc) {
            o.command = argv + i + 1;
            break;
        }
        parse_option(&o, argc, argv, &i);
    }
    return o;
}

// Holds the key, releases it and times until the colour settles.
static int run_hold(const Options *o)
{
    key(o->keyName, True);
    pause_ms(o->seconds * 1000);
    key(o->keyName, False);
    const double released = now();
    long last = colour(o->at.x, o->at.y);
    double lastChange = released;
    // Settled once nothing has changed for 800 ms.
    while (now() - lastChange < 800 && now() - released < timeoutMs) {
        const long c = colour(o->at.x, o->at.y);
        if (!close_to(c, last)) {
            last = c;
            lastChange = now();
        }
        pause_ms(0.5);
    }
    printf("%.1f %06lx\n", lastChange - released, last);
    return 0;
}

// Starts the command and times its first pixels; with a key, presses it
// at once and times the answer too.
static int run_launch(const Options *o, int withKey)
{
    if (!o->command)
        usage();
    follow_pointer(o->at.x, o->at.y);
    const long before = o->from != -1 ? o->from : colour(o->at.x, o->at.y);
    const double start = now();
    const pid_t child = launch(o->command);
    const double shown = await_colour(&o->at, start, before);
    double keyed = -1, answered = -1;
    if (withKey && shown >= 0) {
        const long thenBefore = o->from != -1 ? o->from : colour(o->then.x, o->then.y);
        keyed = now();
        key(o->keyName, True);
        key(o->keyName, False);
        answered = await_colour(&o->then, keyed, thenBefore);
    }
    if (o->stopAfter)
        stop(child);
    if (withKey)
        printf("%.1f %.1f %d\n", shown < 0 ? -1.0 : shown - start, answered < 0 ? -1.0 : answered - keyed, (int)child);
    else
        printf("%.1f %d\n", shown < 0 ? -1.0 : shown - start, (int)child);
    return shown < 0 || (withKey && answered < 0) ? 1 : 0;
}

// A key, a click or nothing, then the time until the colour shows.
static int run_input(const Options *o)
{
    const long before = o->from != -1 ? o->from : colour(o->at.x, o->at.y);
    double start = now();
    if (!strcmp(o->mode, "key")) {
        key(o->keyName, True);
        key(o->keyName, False);
    } else if (!strcmp(o->mode, "click")) {
        XTestFakeMotionEvent(display, -1, o->clickX, o->clickY, CurrentTime);
        XFlush(display);
        pause_ms(20);
        start = now();
        for (int n = 0; n <= o->doubleClick; ++n) {
            XTestFakeButtonEvent(display, 1, True, CurrentTime);
            XTestFakeButtonEvent(display, 1, False, CurrentTime);
            XFlush(display);
        }
    } else if (strcmp(o->mode, "wait") != 0) {
        usage();
    }
    const double shown = await_colour(&o->at, start, before);
    printf("%.1f\n", shown < 0 ? -1.0 : shown - start);
    return shown < 0 ? 1 : 0;
}

int main(int argc, char **argv)
{
    if (argc < 2)
        usage();
    const Options o = parse(argc, argv);
    const int launchKey = !strcmp(o.mode, "launch-key");
    display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "xpoll: no display\n");
        return 2;
    }
    // A program started here must not hold this connection open.
    fcntl(ConnectionNumber(display), F_SETFD, FD_CLOEXEC);
    if (!strcmp(o.mode, "pointer")) {
        follow_pointer(o.clickX, o.clickY);
        return 0;
    }
    if (o.at.x < 1 || (launchKey && (!o.keyName || o.then.x < 1)))
        usage();
    if (!strcmp(o.mode, "colour")) {
        printf("%06lx\n", colour(o.at.x, o.at.y));
        return 0;
    }
    if (!strcmp(o.mode, "hold"))
        return run_hold(&o);
    if (!strcmp(o.mode, "launch") || launchKey)
        return run_launch(&o, launchKey);
    return run_input(&o);
}
