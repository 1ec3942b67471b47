#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

/// GB18030, the superset of code page 936 (GBK) that holds all of Unicode. Each platform
/// builds the converter it has: ICU's on Linux, our own tables where Qt has no ICU (Windows).
namespace mirvo::gb18030 {

/// Whether the bytes are GB18030 throughout; a character cut off at the end is not.
bool isValid(QByteArrayView bytes);

/// The bytes read as GB18030; each piece that is not GB18030 becomes U+FFFD.
QString decode(QByteArrayView bytes);

/// The text in GB18030, byte for byte GBK for any text GBK can hold.
QByteArray encode(QStringView text);

} // namespace mirvo::gb18030
