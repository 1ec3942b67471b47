#include "XClicker.h"

#include "BenchSupport.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <poll.h>
#include <unistd.h>

namespace bench {

XClicker::XClicker(const std::string &display)
    : m_display(XOpenDisplay(display.c_str()))
{
    if (m_display) // every window mapped or unmapped at the top, with no window manager
        XSelectInput(m_display, DefaultRootWindow(m_display), SubstructureNotifyMask);
}

XClicker::~XClicker()
{
    if (m_display)
        XCloseDisplay(m_display);
}

XClicker::Window XClicker::waitForWindow(int minWidth, int timeoutMs)
{
    const auto start = Clock::now();
    while (since(start) * 1000 < timeoutMs) {
        ::Window root = 0;
        ::Window parent = 0;
        ::Window *children = nullptr;
        unsigned count = 0;
        Window found;
        if (XQueryTree(m_display, DefaultRootWindow(m_display), &root, &parent, &children, &count)) {
            for (unsigned i = 0; i < count && found.id == 0; ++i) {
                XWindowAttributes attributes;
                if (XGetWindowAttributes(m_display, children[i], &attributes) && attributes.map_state == IsViewable
                    && attributes.width >= minWidth)
                    found = {children[i], attributes.x, attributes.y, attributes.width, attributes.height};
            }
            XFree(children);
        }
        if (found.id != 0)
            return found;
        ::usleep(20000);
    }
    return {};
}

void XClicker::moveTo(int x, int y)
{
    XTestFakeMotionEvent(m_display, -1, x, y, CurrentTime);
    XSync(m_display, False);
}

bool XClicker::waitFor(int type, unsigned long *window, int timeoutMs)
{
    const auto start = Clock::now();
    for (;;) {
        while (XPending(m_display) > 0) {
            XEvent event;
            XNextEvent(m_display, &event);
            if (event.type == type) {
                *window = type == MapNotify ? event.xmap.window : event.xunmap.window;
                return true;
            }
        }
        const int left = timeoutMs - int(since(start) * 1000);
        if (left <= 0)
            return false;
        pollfd connection{ConnectionNumber(m_display), POLLIN, 0};
        ::poll(&connection, 1, left);
    }
}

double XClicker::clickUntilMapped(int timeoutMs, unsigned long *mapped)
{
    // Whatever was told before the click is not its answer.
    XSync(m_display, True);
    const auto start = Clock::now();
    XTestFakeButtonEvent(m_display, 1, True, CurrentTime);
    XTestFakeButtonEvent(m_display, 1, False, CurrentTime);
    XFlush(m_display);
    return waitFor(MapNotify, mapped, timeoutMs) ? since(start) : -1;
}

bool XClicker::returnOn(unsigned long window, int timeoutMs)
{
    XSetInputFocus(m_display, window, RevertToParent, CurrentTime);
    const KeyCode enter = XKeysymToKeycode(m_display, XK_Return);
    XTestFakeKeyEvent(m_display, enter, True, CurrentTime);
    XTestFakeKeyEvent(m_display, enter, False, CurrentTime);
    XFlush(m_display);
    unsigned long unmapped = 0;
    while (waitFor(UnmapNotify, &unmapped, timeoutMs)) {
        if (unmapped == window)
            return true;
    }
    return false;
}

} // namespace bench
