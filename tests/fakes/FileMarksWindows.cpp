#include "TestSupport.h"

#include <QDir>

#include <qt_windows.h>

namespace mirvo::test {

bool setFileMarks(const QString &path, bool hidden, bool system)
{
    const std::wstring native = QDir::toNativeSeparators(path).toStdWString();
    const DWORD attributes = GetFileAttributesW(native.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    DWORD marked = attributes & ~(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    marked |= (hidden ? FILE_ATTRIBUTE_HIDDEN : 0) | (system ? FILE_ATTRIBUTE_SYSTEM : 0);
    return SetFileAttributesW(native.c_str(), marked);
}

} // namespace mirvo::test
