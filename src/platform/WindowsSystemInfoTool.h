#pragma once

#include "platform/Registry.h"
#include "platform/SystemInfoTool.h"

#include <QString>

namespace mirvo {

/// What readRegistryValue() answers: read, not read, or an error for a value holding no
/// bytes at all, which the reader raises to its caller instead.
enum class KeyRead { Read, NotRead, Error };

/// Reads the value valueName of the key keyName below keyRoot as text into value.
/// A string is decoded from the ANSI code page, a number becomes "&h" and its hex digits;
/// another type leaves value as it was. value becomes empty when the key cannot be
/// opened or the value cannot be read (missing, or larger than 1024 bytes); on Error it
/// is left as it was. A key that was opened is always closed.
KeyRead readRegistryValue(Registry &registry, qint32 keyRoot, const QString &keyName,
                          const QString &valueName, QString &value, QString *error = nullptr);

/// The tool from its two registry locations: the MSINFO key's PATH as it stands, else
/// MSINFO32.EXE in the Shared Tools Location's folder when that file is there.
class WindowsSystemInfoTool final : public SystemInfoTool
{
public:
    explicit WindowsSystemInfoTool(Registry &registry);

    /// Nothing when neither location gives one, a reader error included.
    std::optional<QString> find() override;

private:
    Registry &m_registry;
};

} // namespace mirvo
