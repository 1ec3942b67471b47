#include "Fakes.h"
#include "TestSupport.h"
#include "core/text/TextCodec.h"
#include "forms/about/SysInfo.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace mirvo;
using namespace mirvo::test;

namespace {

const QByteArray keyPath = QByteArrayLiteral("SOFTWARE\\Mirvo\\Test");
const QByteArray valueName = QByteArrayLiteral("Value");
const QByteArray pathKey = QByteArrayLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QByteArray folderKey = QByteArrayLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");

template<std::size_t N>
QByteArray bytes(const char (&text)[N])
{
    return QByteArray(text, qsizetype(N) - 1); // keeps inner NULs
}

QByteArray sz(const QString &text)
{
    return textcodec::encode(text) + '\0';
}

// Launcher paths say %T for the temporary folder. Here a backslash is an ordinary
// character, so "%T/tools\MSINFO32.EXE" is a file named "tools\MSINFO32.EXE" in %T.
const QString joined = QStringLiteral("%T/tools\\MSINFO32.EXE");
const QString toolFile = QStringLiteral("tools\\MSINFO32.EXE");

} // namespace

class TestSysInfo : public QObject
{
    Q_OBJECT

private slots:
    void readsValue_data();
    void readsValue();
    void namesAndStringsAreAnsi();
    void startsOrTells_data();
    void startsOrTells();
};

void TestSysInfo::readsValue_data()
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

void TestSysInfo::readsValue()
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
    QCOMPARE(GetKeyValue(registry, Registry::localMachine, QString::fromLatin1(keyPath),
                         QString::fromLatin1(valueName), value, &error),
             result);
    QCOMPARE(value, keyVal);
    QCOMPARE(error.isEmpty(), result != KeyRead::Error);
    QCOMPARE(registry.accessMasks, QList<quint32>{0x20019}); // KEY_READ, nothing more
    QCOMPARE(registry.openKeys(), 0);
}

void TestSysInfo::namesAndStringsAreAnsi()
{
    const QString key = QStringLiteral("SOFTWARE\\词库");
    const QString name = QStringLiteral("路径");
    const QString path = QStringLiteral("D:\\工具\\系统信息.exe");
    FakeRegistry registry;
    registry.setValue(textcodec::encode(key), textcodec::encode(name), Registry::typeString,
                      textcodec::encode(path) + '\0');

    QString value;
    QCOMPARE(GetKeyValue(registry, Registry::localMachine, key, name, value), KeyRead::Read);
    QCOMPARE(value, path);
}

void TestSysInfo::startsOrTells_data()
{
    QTest::addColumn<quint32>("pathType"); // location 1; 0 = no value
    QTest::addColumn<QByteArray>("pathData");
    QTest::addColumn<QByteArray>("folderData"); // location 2, a string; empty = no value
    QTest::addColumn<QString>("existing"); // made in %T; a trailing "/" makes a folder
    QTest::addColumn<bool>("failStarts");
    QTest::addColumn<bool>("denyKeys");
    QTest::addColumn<QStringList>("started");
    QTest::addColumn<bool>("message");
    QTest::addColumn<int>("keysOpened");

    const quint32 string = Registry::typeString;
    const QByteArray tools = sz(QStringLiteral("%T/tools"));
    const QByteArray tool = sz(QStringLiteral("%T/msinfo32"));
    const QStringList none;
    const QStringList startedTool{QStringLiteral("%T/msinfo32")};
    const QStringList startedJoined{joined};

    QTest::newRow("location 1, no file there") << string << tool << QByteArray() << QString()
                                               << false << false << startedTool << false << 1;
    QTest::newRow("location 1 fails to start") << string << tool << tools << toolFile << true
                                               << false << startedTool << true << 1;
    QTest::newRow("location 1 another type") << Registry::typeExpandString << tool << tools
                                             << toolFile << false << false << QStringList{QString()}
                                             << true << 1;
    QTest::newRow("location 1 empty") << string << QByteArray() << tools << toolFile << false
                                      << false << none << true << 1;
    QTest::newRow("location 1 too long") << string << QByteArray(1024, 'x') + '\0' << tools
                                         << toolFile << false << false << startedJoined << false
                                         << 2;
    QTest::newRow("location 2 with the file") << 0u << QByteArray() << tools << toolFile << false
                                              << false << startedJoined << false << 2;
    QTest::newRow("location 2 ending in a backslash")
        << 0u << QByteArray() << sz(QStringLiteral("%T/tools\\"))
        << QStringLiteral("tools\\\\MSINFO32.EXE") << false << false
        << QStringList{QStringLiteral("%T/tools\\\\MSINFO32.EXE")} << false << 2;
    QTest::newRow("location 2 without the file") << 0u << QByteArray() << tools << QString()
                                                 << false << false << none << true << 2;
    QTest::newRow("location 2 names a folder") << 0u << QByteArray() << tools
                                               << toolFile + QLatin1Char('/') << false << false
                                               << none << true << 2;
    QTest::newRow("location 2 hidden file") << 0u << QByteArray() << sz(QStringLiteral("%T/.tools"))
                                            << QStringLiteral(".tools\\MSINFO32.EXE") << false
                                            << false << none << true << 2;
    QTest::newRow("location 2 fails to start") << 0u << QByteArray() << tools << toolFile << true
                                               << false << startedJoined << true << 2;
    QTest::newRow("neither location") << 0u << QByteArray() << QByteArray() << toolFile << false
                                      << false << none << true << 2;
    QTest::newRow("keys refused") << string << tool << tools << toolFile << false << true << none
                                  << true << 2;
}

void TestSysInfo::startsOrTells()
{
    QFETCH(quint32, pathType);
    QFETCH(QByteArray, pathData);
    QFETCH(QByteArray, folderData);
    QFETCH(QString, existing);
    QFETCH(bool, failStarts);
    QFETCH(bool, denyKeys);
    QFETCH(QStringList, started);
    QFETCH(bool, message);
    QFETCH(int, keysOpened);

    QTemporaryDir dir;
    const QString root = dir.path();
    // On Windows a backslash in these names is a folder, made first; elsewhere a character.
    if (existing.endsWith(QLatin1Char('/')))
        QVERIFY(QDir(root).mkpath(existing.chopped(1)));
    else if (!existing.isEmpty())
        QVERIFY(QDir().mkpath(QFileInfo(dir.filePath(existing)).path()) && writeBytes(dir.filePath(existing), "MZ"));
    if (existing.startsWith(QLatin1Char('.')) && !QFileInfo(dir.filePath(existing)).isHidden())
        QSKIP("a leading dot hides no file on this system");

    FakeServices fakes;
    fakes.registry.addKey(pathKey);
    fakes.registry.addKey(folderKey);
    if (pathType != 0)
        fakes.registry.setValue(pathKey, "PATH", pathType,
                                pathData.replace("%T", textcodec::encode(root)));
    if (!folderData.isEmpty())
        fakes.registry.setValue(folderKey, "MSINFO", Registry::typeString,
                                folderData.replace("%T", textcodec::encode(root)));
    if (denyKeys) {
        fakes.registry.denyKey(pathKey);
        fakes.registry.denyKey(folderKey);
    }
    fakes.shell.failStarts = failStarts;
    if (message)
        fakes.dialogs.answerNext(MessageAnswer::Ok);

    StartSysInfo(fakes.registry, fakes.shell, fakes.dialogs, nullptr);

    QStringList programs;
    for (const RecordingShell::Started &start : std::as_const(fakes.shell.started)) {
        programs.append(start.program);
        QVERIFY(start.arguments.isEmpty());
        QCOMPARE(start.style, WindowStyle::NormalFocus);
    }
    QCOMPARE(programs, started.replaceInStrings(QLatin1String("%T"), root));

    QCOMPARE(fakes.dialogs.shown.size(), message ? 1 : 0);
    if (message) {
        const FakeDialogs::Shown &shown = fakes.dialogs.shown.constFirst();
        QCOMPARE(shown.text, QStringLiteral("此时系统信息不可用"));
        QCOMPARE(shown.caption, QStringLiteral("Mirvo背单词"));
        QCOMPARE(shown.icon, MessageIcon::None);
        QCOMPARE(shown.buttons, MessageButtons::Ok);
    }
    QCOMPARE(fakes.registry.accessMasks.size(), keysOpened);
    QCOMPARE(fakes.registry.openKeys(), 0);
    QVERIFY2(fakes.dialogs.leftovers().isEmpty(), qPrintable(fakes.dialogs.leftovers()));
}

QTEST_GUILESS_MAIN(TestSysInfo)
#include "tst_sysinfo.moc"
