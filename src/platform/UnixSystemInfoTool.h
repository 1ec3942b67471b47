#pragma once

#include "platform/SystemInfoTool.h"

#include <QStringList>

namespace mirvo {

/// The first system-information program installed: hardinfo2, hardinfo, kinfocenter,
/// gnome-system-monitor.
class UnixSystemInfoTool final : public SystemInfoTool
{
public:
    UnixSystemInfoTool();
    /// Looks for the programs in these folders instead of the PATH.
    explicit UnixSystemInfoTool(const QStringList &toolFolders);

    std::optional<QString> find() override;

private:
    QStringList m_toolFolders; // empty: the PATH
};

} // namespace mirvo
