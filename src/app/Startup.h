#pragma once

#include <QString>

namespace mirvo {

class Dialogs;
class InstanceGuard;
class WordStore;

/// Where the store lives: in the program folder of an unpacked copy (its words.txt or its
/// store beside the program) while that folder is writable, else in the user's data folder.
QString storeFolderFor(const QString &programFolder, const QString &userDataFolder);

/// The default word list: beside the program when it is there (an unpacked copy), else in
/// the installation's data folder (a system-wide installation keeps no data beside the
/// executable). When neither holds it, the place beside the program.
QString defaultListPath(const QString &programFolder, const QString &installedDataFolder);

/// The start-up sequence before the main window opens. Returns false when another
/// instance runs and this one must end. On the first run (no store folder) it creates
/// the store and imports the default list; any failure there is silent, and start-up
/// goes on with whatever the store holds.
[[nodiscard]] bool prepareStartup(InstanceGuard &guard, Dialogs &dialogs, WordStore &store,
                    const QString &defaultListPath);

} // namespace mirvo
