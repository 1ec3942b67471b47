#pragma once

#include <QString>

#include <optional>

class QWidget;

namespace mirvo {

class Dialogs;
class Registry;
class Shell;

/// What GetKeyValue answers. Read and NotRead are its True and False; Error stands for a
/// value holding no bytes at all, which the reader raises to its caller instead.
enum class KeyRead { Read, NotRead, Error };

/// Reads the value subKeyRef of the key keyName below keyRoot as text into keyVal.
/// A string is decoded from the ANSI code page, a number becomes "&h" and its hex digits;
/// another type leaves keyVal as it was. keyVal becomes empty when the key cannot be
/// opened or the value cannot be read (missing, or larger than 1024 bytes); on Error it
/// is left as it was. A key that was opened is always closed.
KeyRead GetKeyValue(Registry &registry, qint32 keyRoot, const QString &keyName,
                    const QString &subKeyRef, QString &keyVal, QString *error = nullptr);

/// The command line of the system-information tool from its two registry locations, or
/// nothing when neither gives one (any reader error included).
std::optional<QString> findSysInfo(Registry &registry);

/// Starts the system-information tool without waiting for it, or tells the user, over
/// parent, that it is not available.
void StartSysInfo(Registry &registry, Shell &shell, Dialogs &dialogs, QWidget *parent);

} // namespace mirvo
