#pragma once

#include "platform/InstanceGuard.h"

#include <QString>

#include <memory>

class QLockFile;

namespace mirvo {

/// A lock file in the user's runtime folder, named after the executable. A lock left by
/// a crashed instance is stale and does not block the next start.
class LockFileInstanceGuard final : public InstanceGuard
{
public:
    /// lockFolder empty: the user's runtime folder (or the temporary folder when there is none).
    explicit LockFileInstanceGuard(const QString &executablePath, const QString &lockFolder = {});
    ~LockFileInstanceGuard() override;

    [[nodiscard]] bool acquire() override;
    QString lockFilePath() const { return m_path; }
    /// Why the lock could not be created when acquire() let the program run unguarded.
    QString problem() const { return m_problem; }

private:
    QString m_path;
    QString m_problem;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace mirvo
