#include "core/text/SystemError.h"

#include <qt_windows.h>

namespace mirvo {

int lastSystemError()
{
    return int(GetLastError());
}

QString systemErrorText(int code)
{
    switch (DWORD(code)) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return QStringLiteral("文件或文件夹不存在");
    case ERROR_ACCESS_DENIED: return QStringLiteral("没有权限");
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return QStringLiteral("磁盘空间不足");
    case ERROR_WRITE_PROTECT: return QStringLiteral("文件系统是只读的");
    case ERROR_DIRECTORY: return QStringLiteral("路径中有一项不是文件夹");
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_BUFFER_OVERFLOW: return QStringLiteral("文件名太长");
    case ERROR_INVALID_NAME: return QStringLiteral("文件名中有 Windows 不允许的字符");
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return QStringLiteral("文件已经存在");
    case ERROR_DIR_NOT_EMPTY: return QStringLiteral("文件夹不是空的");
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return QStringLiteral("文件正被其他程序占用");
    case ERROR_TOO_MANY_OPEN_FILES: return QStringLiteral("打开的文件太多");
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT: return QStringLiteral("磁盘读写出错");
    default: break;
    }
    wchar_t *text = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                                            | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, DWORD(code), 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    QString message = length ? QString::fromWCharArray(text, int(length)).trimmed()
                             : QStringLiteral("系统错误 %1").arg(code);
    LocalFree(text);
    return message;
}

} // namespace mirvo
