#include "platform/WindowsSystemInfoTool.h"

#include "core/text/AnsiCodePage.h"
#include "platform/FileChecks.h"
#include "platform/WindowsRegistry.h"

#include <algorithm>

namespace mirvo {

namespace {

// KEY_READ: asking for more (write rights) is refused to a standard user under UAC, and the
// tool would then always count as missing.
constexpr quint32 accessMask = 0x20019;
constexpr quint32 valueBufferSize = 1024;

const QString toolPathKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString toolPathValue = QStringLiteral("PATH");
const QString toolFolderKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString toolFolderValue = QStringLiteral("MSINFO");
const QString toolFileName = QStringLiteral("\\MSINFO32.EXE");

struct KeyCloser
{
    Registry &registry;
    Registry::Key key;
    ~KeyCloser() { registry.closeKey(key); }
};

/// "&h" and the bytes from last to first, two upper-case hex digits each.
QString numberText(QByteArray bytes)
{
    std::reverse(bytes.begin(), bytes.end());
    // The general formatter leaves "&h…" as it stands: no lookup of ours reads a number.
    return QStringLiteral("&h") + QString::fromLatin1(bytes.toHex().toUpper());
}

} // namespace

KeyRead readRegistryValue(Registry &registry, qint32 keyRoot, const QString &keyName,
                          const QString &valueName, QString &value, QString *error)
{
    // The ANSI calls take and give texts in the system's code page: a name it cannot hold
    // names no key or value there.
    const auto path = ansi::encode(keyName);
    const auto name = ansi::encode(valueName);
    Registry::Key key = 0;
    if (!path || !name || registry.openKey(keyRoot, *path, accessMask, &key) != 0) {
        value.clear();
        return KeyRead::NotRead;
    }
    const KeyCloser closer{registry, key};

    quint32 type = 0;
    QByteArray bytes;
    if (registry.queryValue(key, *name, valueBufferSize, &type, &bytes) != 0) {
        value.clear();
        return KeyRead::NotRead;
    }
    if (bytes.isEmpty()) {
        if (error)
            *error = QStringLiteral("注册表值 %1 没有内容").arg(valueName);
        return KeyRead::Error;
    }
    if (bytes.endsWith('\0'))
        bytes.chop(1);

    if (type == Registry::typeString) {
        // The system's own conversion gives only valid bytes; stand-ins for anything else.
        const auto text = ansi::decode(bytes);
        value = text ? *text : QString::fromLocal8Bit(bytes);
    } else if (type == Registry::typeDword) {
        value = numberText(bytes);
    }
    return KeyRead::Read;
}

WindowsSystemInfoTool::WindowsSystemInfoTool(Registry &registry)
    : m_registry(registry)
{
}

std::optional<QString> WindowsSystemInfoTool::find()
{
    QString path;
    switch (readRegistryValue(m_registry, Registry::localMachine, toolPathKey, toolPathValue, path)) {
    case KeyRead::Read:
        return path; // started as it stands, without an existence test
    case KeyRead::Error:
        return std::nullopt;
    case KeyRead::NotRead:
        break;
    }
    if (readRegistryValue(m_registry, Registry::localMachine, toolFolderKey, toolFolderValue, path)
        != KeyRead::Read)
        return std::nullopt;
    // Joined as they stand: a folder ending in a backslash gives a doubled one, which
    // Windows takes as a single separator.
    const QString joined = path + toolFileName;
    if (!isOrdinaryFile(joined))
        return std::nullopt;
    return joined;
}

namespace {

/// The tool as the machine's own registry names it.
class MachineSystemInfoTool final : public SystemInfoTool
{
public:
    std::optional<QString> find() override { return WindowsSystemInfoTool(m_registry).find(); }

private:
    WindowsRegistry m_registry;
};

} // namespace

std::unique_ptr<SystemInfoTool> makeSystemInfoTool()
{
    return std::make_unique<MachineSystemInfoTool>();
}

} // namespace mirvo
