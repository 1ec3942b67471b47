#include "core/text/Charsets.h"

#include <QStringDecoder>

namespace mirvo::charsets {

std::optional<QString> decode(const QByteArray &name, QByteArrayView bytes)
{
    // Qt knows every name ICU does.
    QStringDecoder decoder(name.constData());
    if (!decoder.isValid())
        return std::nullopt;
    return decoder.decode(bytes);
}

} // namespace mirvo::charsets
