#include "core/text/AnsiCodePage.h"

namespace mirvo::ansi {

unsigned codePage()
{
    return 0;
}

std::optional<QByteArray> encode(QStringView)
{
    return std::nullopt;
}

std::optional<QString> decode(QByteArrayView)
{
    return std::nullopt;
}

} // namespace mirvo::ansi
