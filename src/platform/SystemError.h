#pragma once

#include <QString>

class QFileDevice;

namespace mirvo {

/// The user's words for a system error number (errno); the system's own text for the rest.
QString systemErrorText(int code);

/// Why a file operation failed, from the error number it left (captured right after the
/// call), or the file's own text where there is none.
QString fileErrorText(const QFileDevice &file, int savedErrno);

} // namespace mirvo
