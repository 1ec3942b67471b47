#pragma once

#include <string>

struct _XDisplay;

namespace bench {

/// A user at an X display, through XTest: moves the pointer, clicks, presses Return, and
/// watches top-level windows being mapped and unmapped.
class XClicker
{
public:
    explicit XClicker(const std::string &display);
    ~XClicker();
    XClicker(const XClicker &) = delete;
    XClicker &operator=(const XClicker &) = delete;

    bool connected() const { return m_display != nullptr; }

    struct Window
    {
        unsigned long id = 0;
        int x = 0, y = 0, width = 0, height = 0;
    };
    /// The first shown top-level window at least minWidth wide, waited for up to timeoutMs.
    Window waitForWindow(int minWidth, int timeoutMs);

    void moveTo(int x, int y);
    /// Clicks the left button where the pointer is and waits for a top-level window to be
    /// mapped: the seconds from the click until the server maps it, or -1 after timeoutMs.
    double clickUntilMapped(int timeoutMs, unsigned long *mapped);
    /// Gives window the focus, presses Return and waits until it is unmapped.
    bool returnOn(unsigned long window, int timeoutMs);

private:
    /// Waits for the next map (or unmap) of a child of the root; false after timeoutMs.
    bool waitFor(int type, unsigned long *window, int timeoutMs);

    _XDisplay *m_display = nullptr;
};

} // namespace bench
