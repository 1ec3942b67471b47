#pragma once

#include <QFileDevice>
#include <QString>

namespace mirvo {

/// The error number the last failed system call left: errno, or GetLastError() on Windows.
int lastSystemError();

/// The user's words for a system error number (errno, or a Windows error code on Windows);
/// the system's own text for the rest.
QString systemErrorText(int code);

/// Why a file operation failed, from the error number it left (captured right after the
/// call), or the file's own text where there is none.
inline QString fileErrorText(const QFileDevice &file, int savedCode)
{
    return savedCode != 0 ? systemErrorText(savedCode) : file.errorString();
}

} // namespace mirvo
