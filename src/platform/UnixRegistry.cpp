#include "platform/UnixRegistry.h"

#include "core/text/TextCodec.h"

#include <QStandardPaths>

namespace mirvo {

namespace {

constexpr long success = 0;
constexpr long fileNotFound = 2; // ERROR_FILE_NOT_FOUND
constexpr long invalidHandle = 6; // ERROR_INVALID_HANDLE
constexpr long moreData = 234; // ERROR_MORE_DATA

const QByteArray toolKey = QByteArrayLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QByteArray toolValue = QByteArrayLiteral("PATH");

// Closest to MSINFO32 first: hardware and software summaries, then a resource monitor.
const QStringList tools = {QStringLiteral("hardinfo2"), QStringLiteral("hardinfo"),
                           QStringLiteral("kinfocenter"), QStringLiteral("gnome-system-monitor")};

} // namespace

UnixRegistry::UnixRegistry() = default;

UnixRegistry::UnixRegistry(const QStringList &toolFolders)
    : m_toolFolders(toolFolders)
{
}

QString UnixRegistry::findTool() const
{
    for (const QString &tool : tools) {
        const QString path = QStandardPaths::findExecutable(tool, m_toolFolders);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

long UnixRegistry::openKey(qint32 root, const QByteArray &path, quint32, Key *key)
{
    // Registry names ignore case.
    if (root != localMachine || path.compare(toolKey, Qt::CaseInsensitive) != 0)
        return fileNotFound;
    *key = m_next++;
    m_open.insert(*key);
    return success;
}

long UnixRegistry::queryValue(Key key, const QByteArray &name, quint32 bufferSize,
                                quint32 *type, QByteArray *data)
{
    if (!m_open.contains(key))
        return invalidHandle;
    if (name.compare(toolValue, Qt::CaseInsensitive) != 0)
        return fileNotFound;
    const QString tool = findTool();
    if (tool.isEmpty())
        return fileNotFound;
    const QByteArray bytes = textcodec::encode(tool) + '\0';
    if (quint32(bytes.size()) > bufferSize)
        return moreData;
    *type = typeString;
    *data = bytes;
    return success;
}

void UnixRegistry::closeKey(Key key)
{
    m_open.remove(key);
}

} // namespace mirvo
