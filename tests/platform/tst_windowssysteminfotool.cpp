#include "TestSupport.h"
#include "core/text/AnsiCodePage.h"
#include "platform/WindowsSystemInfoTool.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryDir>
#include <QTest>

using namespace mirvo;
using namespace mirvo::test;

namespace {

/// A registry with no keys unless the test adds them; failures are ERROR_FILE_NOT_FOUND (2)
/// and ERROR_MORE_DATA (234).
class FakeRegistry final : public Registry
{
public:
    long openKey(qint32, const QByteArray &path, quint32 access, Key *key) override
    {
        accessMasks.append(access);
        if (m_denied.contains(path) || !m_keys.contains(path))
            return 2;
        *key = m_next++;
        m_open.insert(*key, path);
        return 0;
    }
    long queryValue(Key key, const QByteArray &name, quint32 bufferSize, quint32 *type, QByteArray *data) override
    {
        const auto values = m_keys.value(m_open.value(key));
        if (!values.contains(name))
            return 2;
        const auto &[valueType, valueData] = values.value(name);
        if (quint32(valueData.size()) > bufferSize)
            return 234;
        *type = valueType;
        *data = valueData;
        return 0;
    }
    void closeKey(Key key) override { m_open.remove(key); }

    void setValue(const QByteArray &path, const QByteArray &name, quint32 type, const QByteArray &data)
    {
        m_keys[path].insert(name, {type, data});
    }
    void addKey(const QByteArray &path) { m_keys[path]; }
    void denyKey(const QByteArray &path) { m_denied.append(path); }

    QList<quint32> accessMasks;
    int openKeys() const { return int(m_open.size()); }

private:
    QHash<QByteArray, QHash<QByteArray, std::pair<quint32, QByteArray>>> m_keys;
    QList<QByteArray> m_denied;
    QHash<Key, QByteArray> m_open;
    Key m_next = 1;
};

const QByteArray keyPath = QByteArrayLiteral("SOFTWARE\\Mirvo\\Test");
const QByteArray valueName = QByteArrayLiteral("Value");
const QByteArray pathKey = QByteArrayLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QByteArray folderKey = QByteArrayLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");

template<std::size_t N>
QByteArray bytes(const char (&text)[N])
{
    return QByteArray(text, qsizetype(N) - 1); // keeps inner NULs
}

/// The text as the ANSI calls give it, in the system's code page.
QByteArray ansiText(const QString &text)
{
    return ansi::encode(text).value_or("<not in the code page>");
}

QByteArray sz(const QString &text)
{
    return ansiText(text) + '\0';
}

// Paths say %T for the temporary folder; "%T/tools\MSINFO32.EXE" is MSINFO32.EXE in %T's
// folder tools.
const QString joined = QStringLiteral("%T/tools\\MSINFO32.EXE");
const QString toolFile = QStringLiteral("tools\\MSINFO32.EXE");

} // namespace

using Found = std::optional<QString>;
Q_DECLARE_METATYPE(Found)

/// The registry reader, and the tool found from its two locations.
class TestWindowsSystemInfoTool : public QObject
{
    Q_OBJECT

private slots:
    void readsValue_data();
    void readsValue();
    void namesAndStringsAreAnsi();
    void findsTool_data();
    void findsTool();
};

void TestWindowsSystemInfoTool::readsValue_data()
{
    QTest::addColumn<QString>("key"); // "present", "missing" or "denied"
    QTest::addColumn<bool>("hasValue");
    QTest::addColumn<quint32>("type");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<KeyRead>("result");
    QTest::addColumn<QString>("keyVal"); // "before" on entry

    const QString present = QStringLiteral("present");
    const quint32 string = Registry::typeString;
    const quint32 dword = Registry::typeDword;
    const QString before = QStringLiteral("before");
    const QString x1023(1023, QLatin1Char('x'));
    const QString x1024(1024, QLatin1Char('x'));

    QTest::newRow("string with its NUL") << present << true << string << bytes("C:\\msinfo32.exe\0")
                                         << KeyRead::Read << QStringLiteral("C:\\msinfo32.exe");
    QTest::newRow("string without NUL") << present << true << string << bytes("C:\\tools")
                                        << KeyRead::Read << QStringLiteral("C:\\tools");
    QTest::newRow("only the last NUL goes") << present << true << string << bytes("a\0b\0\0")
                                            << KeyRead::Read << QString::fromLatin1("a\0b\0", 4);
    QTest::newRow("a lone NUL") << present << true << string << bytes("\0") << KeyRead::Read
                                << QString();
    QTest::newRow("1024 bytes with NUL") << present << true << string << (x1023.toLatin1() + '\0')
                                         << KeyRead::Read << x1023;
    QTest::newRow("1025 bytes") << present << true << string << (x1024.toLatin1() + '\0')
                                << KeyRead::NotRead << QString();
    QTest::newRow("number 261") << present << true << dword << bytes("\x05\x01\0\0")
                                << KeyRead::Read << QStringLiteral("&h000105");
    QTest::newRow("number, high byte set") << present << true << dword << bytes("\x01\xEF\xCD\xAB")
                                           << KeyRead::Read << QStringLiteral("&hABCDEF01");
    QTest::newRow("expandable string") << present << true << Registry::typeExpandString
                                       << bytes("%SystemRoot%\\msinfo32.exe\0") << KeyRead::Read
                                       << before;
    QTest::newRow("empty string") << present << true << string << QByteArray() << KeyRead::Error
                                  << before;
    QTest::newRow("no such value") << present << false << string << QByteArray() << KeyRead::NotRead
                                   << QString();
    QTest::newRow("no such key") << QStringLiteral("missing") << false << string << QByteArray()
                                 << KeyRead::NotRead << QString();
    QTest::newRow("key refused") << QStringLiteral("denied") << true << string << bytes("C:\\x\0")
                                 << KeyRead::NotRead << QString();
}

void TestWindowsSystemInfoTool::readsValue()
{
    QFETCH(QString, key);
    QFETCH(bool, hasValue);
    QFETCH(quint32, type);
    QFETCH(QByteArray, data);
    QFETCH(KeyRead, result);
    QFETCH(QString, keyVal);

    FakeRegistry registry;
    if (key != QLatin1String("missing"))
        registry.addKey(keyPath);
    if (hasValue)
        registry.setValue(keyPath, valueName, type, data);
    if (key == QLatin1String("denied"))
        registry.denyKey(keyPath);

    QString value = QStringLiteral("before");
    QString error;
    QCOMPARE(readRegistryValue(registry, Registry::localMachine, QString::fromLatin1(keyPath),
                               QString::fromLatin1(valueName), value, &error),
             result);
    QCOMPARE(value, keyVal);
    QCOMPARE(error.isEmpty(), result != KeyRead::Error);
    QCOMPARE(registry.accessMasks, QList<quint32>{0x20019}); // KEY_READ, nothing more
    QCOMPARE(registry.openKeys(), 0);
}

void TestWindowsSystemInfoTool::namesAndStringsAreAnsi()
{
    // Letters of the system's code page, whichever it is: "€" is one byte there (0x80 in 936,
    // where GB18030 takes two).
    const bool chinese = ansi::codePage() == 936;
    const QString key = chinese ? QStringLiteral("SOFTWARE\\词库€") : QStringLiteral("SOFTWARE\\Café €");
    const QString name = chinese ? QStringLiteral("路径") : QStringLiteral("Chemin");
    const QString path = chinese ? QStringLiteral("D:\\工具\\系统信息.exe") : QStringLiteral("D:\\Outils\\Système.exe");
    FakeRegistry registry;
    registry.setValue(ansiText(key), ansiText(name), Registry::typeString, sz(path));

    QString value;
    QCOMPARE(readRegistryValue(registry, Registry::localMachine, key, name, value), KeyRead::Read);
    QCOMPARE(value, path);
}

void TestWindowsSystemInfoTool::findsTool_data()
{
    QTest::addColumn<quint32>("pathType"); // location 1; 0 = no value
    QTest::addColumn<QByteArray>("pathData");
    QTest::addColumn<QByteArray>("folderData"); // location 2, a string; empty = no value
    QTest::addColumn<QString>("existing"); // made in %T; a trailing "/" makes a folder
    QTest::addColumn<bool>("denyKeys");
    QTest::addColumn<Found>("found"); // %T the temporary folder
    QTest::addColumn<int>("keysOpened");

    const quint32 string = Registry::typeString;
    const QByteArray tools = sz(QStringLiteral("%T/tools"));
    const QByteArray tool = sz(QStringLiteral("%T/msinfo32"));
    const Found none;

    QTest::newRow("location 1, no file there") << string << tool << QByteArray() << QString() << false
                                               << Found(QStringLiteral("%T/msinfo32")) << 1;
    // Location 2 is not tried: starting the empty command fails, and the user is told.
    QTest::newRow("location 1 another type") << Registry::typeExpandString << tool << tools << toolFile << false
                                             << Found(QString()) << 1;
    QTest::newRow("location 1 empty") << string << QByteArray() << tools << toolFile << false << none << 1;
    QTest::newRow("location 1 too long") << string << QByteArray(1024, 'x') + '\0' << tools << toolFile << false
                                         << Found(joined) << 2;
    QTest::newRow("location 2 with the file") << 0u << QByteArray() << tools << toolFile << false << Found(joined) << 2;
    QTest::newRow("location 2 ending in a backslash")
        << 0u << QByteArray() << sz(QStringLiteral("%T/tools\\")) << QStringLiteral("tools\\\\MSINFO32.EXE") << false
        << Found(QStringLiteral("%T/tools\\\\MSINFO32.EXE")) << 2;
    QTest::newRow("location 2 without the file") << 0u << QByteArray() << tools << QString() << false << none << 2;
    QTest::newRow("location 2 names a folder") << 0u << QByteArray() << tools << toolFile + QLatin1Char('/') << false
                                               << none << 2;
    QTest::newRow("neither location") << 0u << QByteArray() << QByteArray() << toolFile << false << none << 2;
    QTest::newRow("keys refused") << string << tool << tools << toolFile << true << none << 2;
}

void TestWindowsSystemInfoTool::findsTool()
{
    QFETCH(quint32, pathType);
    QFETCH(QByteArray, pathData);
    QFETCH(QByteArray, folderData);
    QFETCH(QString, existing);
    QFETCH(bool, denyKeys);
    QFETCH(Found, found);
    QFETCH(int, keysOpened);

    QTemporaryDir dir;
    const QString root = dir.path();
    // A backslash in these names makes a folder first.
    if (existing.endsWith(QLatin1Char('/')))
        QVERIFY(QDir(root).mkpath(existing.chopped(1)));
    else if (!existing.isEmpty())
        QVERIFY(QDir().mkpath(QFileInfo(dir.filePath(existing)).path()) && writeBytes(dir.filePath(existing), "MZ"));

    FakeRegistry registry;
    registry.addKey(pathKey);
    registry.addKey(folderKey);
    if (pathType != 0)
        registry.setValue(pathKey, "PATH", pathType, pathData.replace("%T", ansiText(root)));
    if (!folderData.isEmpty())
        registry.setValue(folderKey, "MSINFO", Registry::typeString, folderData.replace("%T", ansiText(root)));
    if (denyKeys) {
        registry.denyKey(pathKey);
        registry.denyKey(folderKey);
    }

    if (found)
        found->replace(QLatin1String("%T"), root);
    QCOMPARE(WindowsSystemInfoTool(registry).find(), found);
    QCOMPARE(registry.accessMasks.size(), keysOpened);
    QCOMPARE(registry.openKeys(), 0);
}

QTEST_GUILESS_MAIN(TestWindowsSystemInfoTool)
#include "tst_windowssysteminfotool.moc"
