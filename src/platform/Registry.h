#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace mirvo {

/// Read access to a registry of named keys holding typed values, with the calling
/// conventions of the Windows ANSI registry API: every call returns a status, 0 for success.
class Registry
{
public:
    using Key = quintptr;

    static constexpr qint32 localMachine = static_cast<qint32>(0x80000002u);
    static constexpr quint32 typeString = 1; // REG_SZ
    static constexpr quint32 typeExpandString = 2; // REG_EXPAND_SZ
    static constexpr quint32 typeDword = 4; // REG_DWORD

    virtual ~Registry() = default;

    /// Opens path (in the ANSI code page) below root with the given access mask.
    [[nodiscard]] virtual long openKey(qint32 root, const QByteArray &path, quint32 access, Key *key) = 0;

    /// Reads a value into a buffer of bufferSize bytes: on success its type and the
    /// bytes it holds. A missing value, or one larger than the buffer, is a failure.
    [[nodiscard]] virtual long queryValue(Key key, const QByteArray &name, quint32 bufferSize, quint32 *type,
                            QByteArray *data) = 0;

    virtual void closeKey(Key key) = 0;
};

} // namespace mirvo
