// SPDX-License-Identifier: MIT
// Starts a program and watches the X server for its window: the time from the exec to the map of
// its first top-level window, then (with a spot to watch) to the first frame that paints that
// spot "night blue", polled one pixel at a time through XGetImage, which costs well under a
// millisecond where a screenshot costs 25-60 ms. Stays until the program ends and tells when.
//
//   first_frame_probe X Y -- PROGRAM [ARGS...]     (X = -1: the map only)
//
// Prints, on standard output, one line when the frame is seen (or the window mapped):
//   mapped_ms=M frame_ms=F pid=P
// and one when the program has ended:
//   exited_ns=T code=C            (T: CLOCK_REALTIME of the end, for the caller's own clock)
#define _GNU_SOURCE
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <errno.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now_ms(clockid_t clock) {
    struct timespec t;
    clock_gettime(clock, &t);
    return (double)t.tv_sec * 1e3 + (double)t.tv_nsec / 1e6;
}

// The middle of the logo is night blue; before the first frame it is grey, black or the bare
// root window's weave.
static int night_blue(Display* display, Window root, int x, int y) {
    XImage* image = XGetImage(display, root, x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == NULL) {
        return 0;
    }
    const unsigned long pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    const long r = (long)((pixel >> 16) & 0xFF);
    const long b = (long)(pixel & 0xFF);
    return b > 60 && b > r + 30;
}

static void reap(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    struct timespec t;
    clock_gettime(CLOCK_REALTIME, &t);
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    printf("exited_ns=%lld code=%d\n", (long long)t.tv_sec * 1000000000LL + t.tv_nsec, code);
    fflush(stdout);
}

int main(int argc, char** argv) {
    if (argc < 5 || argv[3][0] != '-' || argv[3][1] != '-') {
        fprintf(stderr, "usage: %s X Y -- PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    const int x = atoi(argv[1]);
    const int y = atoi(argv[2]);
    Display* display = XOpenDisplay(NULL);
    if (display == NULL) {
        fprintf(stderr, "first_frame_probe: cannot open the display\n");
        return 2;
    }
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const double started = now_ms(CLOCK_MONOTONIC);
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[4], argv + 4);
        _exit(127);
    }
    double mapped = -1;
    double framed = -1;
    const double deadline = started + 30000;
    while (now_ms(CLOCK_MONOTONIC) < deadline) {
        while (mapped < 0 && XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect) {
                mapped = now_ms(CLOCK_MONOTONIC);
            }
        }
        if (mapped >= 0 && (x < 0 || night_blue(display, root, x, y))) {
            framed = now_ms(CLOCK_MONOTONIC);
            break;
        }
        if (waitpid(pid, NULL, WNOHANG) == pid) {
            fprintf(stderr, "first_frame_probe: the program ended before its frame\n");
            return 1;
        }
        usleep(mapped < 0 ? 500 : 200);
    }
    if (framed < 0) {
        fprintf(stderr, "first_frame_probe: no %s within 30 s\n", mapped < 0 ? "window" : "frame");
        kill(pid, SIGKILL);
        return 1;
    }
    printf("mapped_ms=%.1f frame_ms=%.1f pid=%d\n", mapped - started, framed - started, (int)pid);
    fflush(stdout);
    XCloseDisplay(display);
    reap(pid);
    return 0;
}
