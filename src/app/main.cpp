#include "AppInfo.h"
#include "app/GuardedApplication.h"
#include "app/Startup.h"
#include "drill/FrmMain.h"
#include "platform/ClockRandomSource.h"
#include "platform/InstanceGuard.h"
#include "platform/NetworkPageLoader.h"
#include "platform/ProgramEnd.h"
#include "platform/QtDialogs.h"
#include "platform/QtSettingsStore.h"
#include "platform/QtShell.h"
#include "platform/SystemRegistry.h"
#include "store/WordStore.h"
#include "update/PageTitle.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QTranslator>

namespace {

/// Qt's own texts (standard buttons, the file dialog) in Chinese, whatever the locale.
void installChineseTranslations(QCoreApplication &app)
{
    // qtbase holds every Qt text the program shows: standard buttons and the file dialog.
    auto *translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    else
        delete translator;
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
}

/// Faithful stand-ins where the Windows faces are not installed, and a Chinese face for
/// the default font: the platform's size and style, but Chinese captions in one face
/// instead of glyph by glyph fallback (which also loaded a second CJK font).
void substituteFonts()
{
#ifndef Q_OS_WIN
    QFont interfaceFont = QApplication::font();
    interfaceFont.setFamilies({QStringLiteral("Noto Sans CJK SC"), interfaceFont.family()});
    QApplication::setFont(interfaceFont);
#endif
    // The sans face is the one the desktop already uses for Chinese, so one CJK font is loaded.
    QFont::insertSubstitutions(QStringLiteral("宋体"),
                               {QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Serif CJK SC")});
    QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans")});
}

} // namespace

int main(int argc, char *argv[])
{
    mirvo::GuardedApplication app(argc, argv);
    QApplication::setApplicationName(mirvo::appinfo::title);
    QApplication::setOrganizationName(QStringLiteral("Mirvo"));
    // Lets the desktop match the window to its launcher and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(MIRVO_APP_ID));
    installChineseTranslations(app);
    substituteFonts();

    const QString programFolder = QCoreApplication::applicationDirPath();
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const QString storeFolder = mirvo::storeFolderFor(programFolder, dataFolder);
    QDir().mkpath(QFileInfo(storeFolder).path());
    const mirvo::WordStore store(storeFolder);

    mirvo::LockFileInstanceGuard guard(QCoreApplication::applicationFilePath());
    mirvo::QtDialogs dialogs;
    app.setDialogs(&dialogs);
    // Relative to the executable, so a staged or relocated installation finds its own data.
    const QString installedDataFolder =
        QDir::cleanPath(programFolder + QStringLiteral("/" MIRVO_DATA_FROM_PROGRAM));
    if (!mirvo::prepareStartup(guard, dialogs, store,
                               mirvo::defaultListPath(programFolder, installedDataFolder)))
        return 0;

    mirvo::QtShell shell;
    mirvo::QtSettingsStore settings;
    mirvo::ClockRandomSource random;
    mirvo::QtProgramEnd programEnd;
    mirvo::NetworkPageLoader pageLoader{mirvo::pagetitle::documentTitle};
    mirvo::SystemRegistry registry;
    const mirvo::Services services{dialogs, shell, settings, random, programEnd, pageLoader, registry};

    mirvo::FrmMain window(services, store, QStringLiteral(MIRVO_SITE));
    window.show();
    return QApplication::exec();
}
