#include "app/Fonts.h"
#include "app/GuardedApplication.h"
#include "app/Startup.h"
#include "core/AppInfo.h"
#include "core/store/WordStore.h"
#include "core/update/PageTitle.h"
#include "forms/drill/FrmMain.h"
#include "forms/update/UpdateCheck.h"
#include "platform/ClockRandomSource.h"
#include "platform/InstanceGuard.h"
#include "platform/NetworkPageLoader.h"
#include "platform/ProgramEnd.h"
#include "platform/QtDialogs.h"
#include "platform/QtSettingsStore.h"
#include "platform/QtShell.h"
#include "platform/SystemInfoTool.h"
#include "platform/SystemSpeech.h"

#include <QApplication>
#include <QDir>
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

} // namespace

int main(int argc, char *argv[])
{
    mirvo::GuardedApplication app(argc, argv);
    QApplication::setApplicationName(mirvo::appinfo::title);
    QApplication::setOrganizationName(QStringLiteral("Mirvo"));
    // Lets the desktop match the window to its launcher and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(MIRVO_APP_ID));
    installChineseTranslations(app);
    mirvo::substituteFonts();

    const QString programFolder = QCoreApplication::applicationDirPath();
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    const QString storeFolder = mirvo::storeFolderFor(programFolder, dataFolder);
    QDir().mkpath(QFileInfo(storeFolder).path());
    mirvo::WordStore store(storeFolder);

    const auto guard = mirvo::makeInstanceGuard(QCoreApplication::applicationFilePath());
    mirvo::QtDialogs dialogs;
    app.setDialogs(&dialogs);
    // Relative to the executable, so a staged or relocated installation finds its own data.
    const QString installedDataFolder =
        QDir::cleanPath(programFolder + QStringLiteral("/" MIRVO_DATA_FROM_PROGRAM));
    if (!mirvo::prepareStartup(*guard, dialogs, store,
                               mirvo::defaultListPath(programFolder, installedDataFolder)))
        return 0;

    mirvo::QtShell shell;
    mirvo::QtSettingsStore settings;
    mirvo::ClockRandomSource random;
    mirvo::QtProgramEnd programEnd;
    mirvo::NetworkPageLoader pageLoader{mirvo::pagetitle::documentTitle};
    const std::unique_ptr<mirvo::SystemInfoTool> systemInfo = mirvo::makeSystemInfoTool();
    const std::unique_ptr<mirvo::Speech> speech = mirvo::makeSystemSpeech();
    const mirvo::Services services{dialogs, shell, settings, random, programEnd, pageLoader, *systemInfo,
                                   *speech};

    // A packaged build leaves updates to the system's package manager.
    const auto updateCheck = MIRVO_UPDATE_CHECK ? mirvo::UpdateCheckMode::On : mirvo::UpdateCheckMode::Off;
    mirvo::FrmMain window(services, store, QStringLiteral(MIRVO_SITE), updateCheck);
    window.show();
    return QApplication::exec();
}
