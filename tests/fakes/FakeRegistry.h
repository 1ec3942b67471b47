#pragma once

#include "platform/Registry.h"

#include <QHash>
#include <QList>

namespace mirvo::test {

/// A registry with no keys unless a test adds them.
class FakeRegistry final : public Registry
{
public:
    struct Value
    {
        quint32 type;
        QByteArray data;
    };

    long openKey(qint32 root, const QByteArray &path, quint32 access, Key *key) override;
    long queryValue(Key key, const QByteArray &name, quint32 bufferSize, quint32 *type,
                    QByteArray *data) override;
    void closeKey(Key key) override;

    void setValue(const QByteArray &path, const QByteArray &name, quint32 type, const QByteArray &data);
    void addKey(const QByteArray &path) { m_keys[path]; }
    void denyKey(const QByteArray &path) { m_denied.append(path); }

    QList<quint32> accessMasks;
    int openKeys() const { return m_open.size(); }

private:
    QHash<QByteArray, QHash<QByteArray, Value>> m_keys;
    QList<QByteArray> m_denied;
    QHash<Key, QByteArray> m_open;
    Key m_next = 1;
};

} // namespace mirvo::test
