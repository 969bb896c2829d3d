// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers

// A stand-in for the music application: one window named "GarageBand" that takes the focus and
// reports every key event it receives on stdout, one line each.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <csignal>
#include <cstdio>
#include <ctime>
#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

long long monotonicMicroseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000LL + now.tv_nsec / 1000;
}

Window createWindow(Display* display)
{
    const int screen = DefaultScreen(display);
    const Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, 320, 200, 0,
                                              BlackPixel(display, screen), WhitePixel(display, screen));
    char name[] = "GarageBand";
    XStoreName(display, window, name);
    XClassHint classHint{name, name};
    XSetClassHint(display, window, &classHint);
    const unsigned long pid = static_cast<unsigned long>(getpid());
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&pid), 1);
    XSelectInput(display, window, KeyPressMask | KeyReleaseMask | StructureNotifyMask);
    XMapWindow(display, window);
    return window;
}

void report(XKeyEvent& event, long long receivedUs)
{
    KeySym keysym = NoSymbol;
    char text[8];
    XLookupString(&event, text, sizeof text, &keysym, nullptr);
    const char* name = keysym != NoSymbol ? XKeysymToString(keysym) : nullptr;
    std::printf("%s keycode=%u keysym=%s time_us=%lld\n", event.type == KeyPress ? "KeyPress" : "KeyRelease",
                event.keycode, name ? name : "NoSymbol", receivedUs);
    std::fflush(stdout);
}

// Handles the queued events; false once the window is gone.
bool handleEvents(Display* display, Window window)
{
    while (XPending(display)) {
        XEvent event;
        XNextEvent(display, &event);
        const long long receivedUs = monotonicMicroseconds();
        switch (event.type) {
        case KeyPress:
        case KeyRelease:
            report(event.xkey, receivedUs);
            break;
        case MapNotify:
            XSetInputFocus(display, window, RevertToParent, CurrentTime);
            XSync(display, False);
            std::puts("ready");
            std::fflush(stdout);
            break;
        case MappingNotify:
            XRefreshKeyboardMapping(&event.xmapping);
            break;
        case DestroyNotify:
            return false;
        }
    }
    return true;
}

} // namespace

int main()
{
    // SIGTERM arrives on a descriptor, so the event loop can wait for it and the X connection alike.
    sigset_t terminate;
    sigemptyset(&terminate);
    sigaddset(&terminate, SIGTERM);
    sigaddset(&terminate, SIGINT);
    sigprocmask(SIG_BLOCK, &terminate, nullptr);
    const int signals = signalfd(-1, &terminate, SFD_CLOEXEC);

    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "standin-target: cannot open the X display '%s'\n", XDisplayName(nullptr));
        return 1;
    }
    const Window window = createWindow(display);
    XFlush(display);

    pollfd fds[] = {{ConnectionNumber(display), POLLIN, 0}, {signals, POLLIN, 0}};
    while (handleEvents(display, window)) {
        XFlush(display);
        if (poll(fds, 2, -1) < 0 || fds[1].revents)
            break;
    }
    XCloseDisplay(display);
    return 0;
}
