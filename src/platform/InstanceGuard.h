#pragma once

#include <QString>

#include <memory>

namespace mirvo {

/// Tells whether another instance of this program is already running.
class InstanceGuard
{
public:
    virtual ~InstanceGuard() = default;

    /// True when this process is the only instance (it then holds the guard until it ends).
    [[nodiscard]] virtual bool acquire() = 0;
};

/// This platform's guard for the program at executablePath: one per program path, so two
/// separately unpacked copies do not block each other. A guard held by an instance that has
/// ended, however it ended, never blocks the next start.
std::unique_ptr<InstanceGuard> makeInstanceGuard(const QString &executablePath);

} // namespace mirvo
