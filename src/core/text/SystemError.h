#pragma once

#include <QString>

class QFileDevice;

namespace mirvo {

/// The error number the last failed system call left: errno, or GetLastError() on Windows.
int lastSystemError();

/// The user's words for a system error number (errno, or a Windows error code on Windows);
/// the system's own text for the rest.
QString systemErrorText(int code);

/// Why a file operation failed, from the error number it left (captured right after the
/// call), or the file's own text where there is none.
QString fileErrorText(const QFileDevice &file, int savedCode);

} // namespace mirvo
