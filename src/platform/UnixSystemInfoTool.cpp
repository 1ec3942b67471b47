#include "platform/UnixSystemInfoTool.h"

#include <QStandardPaths>

namespace mirvo {

namespace {

// Closest to MSINFO32 first: hardware and software summaries, then a resource monitor.
const QStringList tools = {QStringLiteral("hardinfo2"), QStringLiteral("hardinfo"),
                           QStringLiteral("kinfocenter"), QStringLiteral("gnome-system-monitor")};

} // namespace

UnixSystemInfoTool::UnixSystemInfoTool() = default;

UnixSystemInfoTool::UnixSystemInfoTool(const QStringList &toolFolders)
    : m_toolFolders(toolFolders)
{
}

std::optional<QString> UnixSystemInfoTool::find()
{
    for (const QString &tool : tools) {
        const QString path = QStandardPaths::findExecutable(tool, m_toolFolders);
        if (!path.isEmpty())
            return path;
    }
    return std::nullopt;
}

std::unique_ptr<SystemInfoTool> makeSystemInfoTool()
{
    return std::make_unique<UnixSystemInfoTool>();
}

} // namespace mirvo
