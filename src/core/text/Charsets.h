#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

/// Text in the character sets web pages declare, by name, through what the platform has.
namespace mirvo::charsets {

/// The bytes read in the named character set ("GB18030", "windows-1252", "Shift_JIS", ...);
/// nothing when the platform has no converter for that name.
std::optional<QString> decode(const QByteArray &name, QByteArrayView bytes);

} // namespace mirvo::charsets
