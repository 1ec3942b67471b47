#pragma once

namespace mirvo {

/// Ends the whole program at once: no close request, no confirmation, nothing saved.
/// Callers return straight after calling it (a test double records the call and returns).
class ProgramEnd
{
public:
    virtual ~ProgramEnd() = default;
    virtual void endNow() = 0;
};

class ImmediateProgramEnd final : public ProgramEnd
{
public:
    [[noreturn]] void endNow() override;
};

} // namespace mirvo
