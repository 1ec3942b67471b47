#pragma once

#include <QString>

#include <memory>
#include <optional>

namespace mirvo {

/// Finds the system's system-information tool, for the About window to start.
class SystemInfoTool
{
public:
    virtual ~SystemInfoTool() = default;

    /// The tool's command line; nothing when the system names none.
    virtual std::optional<QString> find() = 0;
};

/// This system's way: the registry on Windows, the installed programs elsewhere.
std::unique_ptr<SystemInfoTool> makeSystemInfoTool();

} // namespace mirvo
