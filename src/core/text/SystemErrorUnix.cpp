#include "core/text/SystemError.h"

#include <cerrno>
#include <cstring>

namespace mirvo {

QString systemErrorText(int code)
{
    switch (code) {
    case ENOENT: return QStringLiteral("文件或文件夹不存在");
    case EACCES:
    case EPERM: return QStringLiteral("没有权限");
    case ENOSPC: return QStringLiteral("磁盘空间不足");
#ifdef EDQUOT
    case EDQUOT: return QStringLiteral("超出了磁盘配额");
#endif
    case EROFS: return QStringLiteral("文件系统是只读的");
    case EISDIR: return QStringLiteral("这是一个文件夹");
    case ENOTDIR: return QStringLiteral("路径中有一项不是文件夹");
    case ENAMETOOLONG: return QStringLiteral("文件名太长");
    case EEXIST: return QStringLiteral("文件已经存在");
    case ENOTEMPTY: return QStringLiteral("文件夹不是空的");
    case EBUSY: return QStringLiteral("文件正被占用");
    case EMFILE:
    case ENFILE: return QStringLiteral("打开的文件太多");
    case EIO: return QStringLiteral("磁盘读写出错");
    default: return QString::fromLocal8Bit(std::strerror(code));
    }
}

int lastSystemError()
{
    return errno;
}

} // namespace mirvo
