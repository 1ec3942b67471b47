#pragma once

#include "platform/Registry.h"

#include <QSet>
#include <QStringList>

namespace mirvo {

/// A stand-in for the registry with a single key: "SOFTWARE\Microsoft\Shared Tools\MSINFO"
/// under the local machine, whose value "PATH" names the first system-information program
/// installed (hardinfo2, hardinfo, kinfocenter, gnome-system-monitor), so the About window
/// can start it.
class UnixRegistry final : public Registry
{
public:
    UnixRegistry();
    /// Looks for the programs in these folders instead of the PATH.
    explicit UnixRegistry(const QStringList &toolFolders);

    long openKey(qint32 root, const QByteArray &path, quint32 access, Key *key) override;
    long queryValue(Key key, const QByteArray &name, quint32 bufferSize, quint32 *type,
                    QByteArray *data) override;
    void closeKey(Key key) override;

private:
    QString findTool() const;

    QStringList m_toolFolders; // empty: the PATH
    QSet<Key> m_open;
    Key m_next = 1;
};

} // namespace mirvo
