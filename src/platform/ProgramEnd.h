#pragma once

namespace mirvo {

/// Ends the whole program, at once or through the event loop. Callers return straight after
/// calling either (a test double records the call and returns).
class ProgramEnd
{
public:
    virtual ~ProgramEnd() = default;

    /// At once: no close request, no confirmation, nothing saved, no destructor run.
    virtual void endNow() = 0;

    /// When the current handler returns: the event loop ends and every destructor runs, so
    /// locks and files are released.
    virtual void quit() = 0;
};

class QtProgramEnd final : public ProgramEnd
{
public:
    [[noreturn]] void endNow() override;
    void quit() override;
};

} // namespace mirvo
