#include "TestSupport.h"
#include "core/text/AnsiCodePage.h"
#include "platform/WindowsRegistry.h"
#include "platform/WindowsSystemInfoTool.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <qt_windows.h>

using namespace mirvo;
using namespace mirvo::test;

namespace {

const wchar_t pathKey[] = L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const wchar_t locationKey[] = L"SOFTWARE\\Microsoft\\Shared Tools Location";

/// Sets an ANSI string value under the local machine, making its key; empty: no key at all.
bool setValue(const wchar_t *key, const char *name, const QByteArray &value)
{
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, key);
    if (value.isEmpty())
        return true;
    HKEY opened = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_WRITE, nullptr, &opened, nullptr)
        != ERROR_SUCCESS)
        return false;
    const LONG status = RegSetValueExA(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(value.constData()),
                                       DWORD(value.size() + 1));
    RegCloseKey(opened);
    return status == ERROR_SUCCESS;
}

} // namespace

/// The tool found in the machine's own registry, keys made for each row.
class TestWindowsRegistry : public QObject
{
    Q_OBJECT

private slots:
    void findsTool_data();
    void findsTool();
    void cleanup();
};

void TestWindowsRegistry::findsTool_data()
{
    QTest::addColumn<QString>("path");     // MSINFO's PATH; empty: no key
    QTest::addColumn<QString>("folder");   // Shared Tools Location's MSINFO; %DIR% the row's folder
    QTest::addColumn<bool>("makeTool");    // MSINFO32.EXE in that folder
    QTest::addColumn<QString>("started");  // empty: none found

    const QString longPath = QStringLiteral("C:\\") + QString(1100, QLatin1Char('x')) + QStringLiteral(".exe");
    QTest::newRow("PATH, started unchecked") << "C:\\Tools\\msinfo32.exe" << "%DIR%" << true << "C:\\Tools\\msinfo32.exe";
    QTest::newRow("location with the tool") << "" << "%DIR%" << true << "%DIR%\\MSINFO32.EXE";
    // A folder named in the letters of the system's code page.
    const QString local = ansi::codePage() == 936 ? QStringLiteral("系统工具") : QStringLiteral("Outils système");
    QTest::newRow("location in the code page's letters")
        << "" << QStringLiteral("%DIR%\\") + local << true << QStringLiteral("%DIR%\\") + local + QStringLiteral("\\MSINFO32.EXE");
    QTest::newRow("PATH over 1024 bytes, location") << longPath << "%DIR%" << true << "%DIR%\\MSINFO32.EXE";
    QTest::newRow("no keys") << "" << "" << false << "";
}

void TestWindowsRegistry::findsTool()
{
    QFETCH(QString, path);
    QFETCH(QString, folder);
    QFETCH(bool, makeTool);
    QFETCH(QString, started);

    QTemporaryDir dir;
    const QString native = QDir::toNativeSeparators(dir.path());
    folder.replace(QStringLiteral("%DIR%"), native);
    started.replace(QStringLiteral("%DIR%"), native);
    if (makeTool) {
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(writeBytes(folder + QStringLiteral("\\MSINFO32.EXE"), "MZ"));
    }
    QVERIFY(setValue(pathKey, "PATH", ansi::encode(path).value_or("?")));
    QVERIFY(setValue(locationKey, "MSINFO", ansi::encode(folder).value_or("?")));

    WindowsRegistry registry;
    QCOMPARE(WindowsSystemInfoTool(registry).find(),
             started.isEmpty() ? std::optional<QString>() : std::optional<QString>(started));
}

void TestWindowsRegistry::cleanup()
{
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, pathKey);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, locationKey);
}

QTEST_GUILESS_MAIN(TestWindowsRegistry)
#include "tst_windowsregistry.moc"
