#pragma once

#include "platform/Shell.h"

namespace mirvo {

class QtShell final : public Shell
{
public:
    void openAddress(const QString &address) override;
    [[nodiscard]] bool startProgram(const QString &program, const QStringList &arguments, WindowStyle style,
                      QString *error) override;
};

} // namespace mirvo
