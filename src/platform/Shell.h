#pragma once

#include <QString>
#include <QStringList>

namespace mirvo {

/// How a started program's window should appear; on Linux only a hint.
enum class WindowStyle { NormalFocus = 1, MaximizedFocus = 3 };

/// Hands work to the desktop: open an address, start a program. Neither call waits.
class Shell
{
public:
    virtual ~Shell() = default;

    /// Opens the address with the desktop's default handler. Never reports a failure.
    virtual void openAddress(const QString &address) = 0;

    /// Starts program with its arguments (each passed as one argument, unparsed) and
    /// returns at once. Returns false with a reason when the program cannot be started.
    [[nodiscard]] virtual bool startProgram(const QString &program, const QStringList &arguments,
                              WindowStyle style, QString *error) = 0;
};

} // namespace mirvo
