#include "forms/about/SysInfo.h"

#include "core/AppInfo.h"
#include "core/text/TextCodec.h"
#include "platform/Dialogs.h"
#include "platform/FileChecks.h"
#include "platform/Registry.h"
#include "platform/Shell.h"

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

KeyRead GetKeyValue(Registry &registry, qint32 keyRoot, const QString &keyName,
                    const QString &subKeyRef, QString &keyVal, QString *error)
{
    Registry::Key key = 0;
    if (registry.openKey(keyRoot, textcodec::encode(keyName), accessMask, &key) != 0) {
        keyVal.clear();
        return KeyRead::NotRead;
    }
    const KeyCloser closer{registry, key};

    quint32 type = 0;
    QByteArray bytes;
    const QByteArray name = textcodec::encode(subKeyRef);
    if (registry.queryValue(key, name, valueBufferSize, &type, &bytes) != 0) {
        keyVal.clear();
        return KeyRead::NotRead;
    }
    if (bytes.isEmpty()) {
        if (error)
            *error = QStringLiteral("注册表值 %1 没有内容").arg(subKeyRef);
        return KeyRead::Error;
    }
    if (bytes.endsWith('\0'))
        bytes.chop(1);

    if (type == Registry::typeString)
        keyVal = textcodec::decodeAnsi(bytes);
    else if (type == Registry::typeDword)
        keyVal = numberText(bytes);
    return KeyRead::Read;
}

std::optional<QString> findSysInfo(Registry &registry)
{
    QString path;
    switch (GetKeyValue(registry, Registry::localMachine, toolPathKey, toolPathValue, path)) {
    case KeyRead::Read:
        return path; // started as it stands, without an existence test
    case KeyRead::Error:
        return std::nullopt;
    case KeyRead::NotRead:
        break;
    }
    if (GetKeyValue(registry, Registry::localMachine, toolFolderKey, toolFolderValue, path)
        != KeyRead::Read)
        return std::nullopt;
    // Joined as they stand: a folder ending in a backslash gives a doubled one, which
    // Windows takes as a single separator.
    const QString joined = path + toolFileName;
    if (!isOrdinaryFile(joined))
        return std::nullopt;
    return joined;
}

void StartSysInfo(Registry &registry, Shell &shell, Dialogs &dialogs, QWidget *parent)
{
    const std::optional<QString> command = findSysInfo(registry);
    QString error;
    if (command && shell.startProgram(*command, {}, WindowStyle::NormalFocus, &error))
        return;
    // Whatever went wrong, the user gets the one message; the cause is not shown.
    dialogs.message(parent, QStringLiteral("此时系统信息不可用"), appinfo::title,
                    MessageIcon::None, MessageButtons::Ok);
}

} // namespace mirvo
