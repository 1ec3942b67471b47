#pragma once

#include "platform/Registry.h"

namespace mirvo {

/// The machine's registry, through the ANSI API.
class WindowsRegistry final : public Registry
{
public:
    WindowsRegistry();

    long openKey(qint32 root, const QByteArray &path, quint32 access, Key *key) override;
    long queryValue(Key key, const QByteArray &name, quint32 bufferSize, quint32 *type,
                    QByteArray *data) override;
    void closeKey(Key key) override;
};

} // namespace mirvo
