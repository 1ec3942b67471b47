#include "FakeRegistry.h"

namespace mirvo::test {

long FakeRegistry::openKey(qint32, const QByteArray &path, quint32 access, Key *key)
{
    accessMasks.append(access);
    if (m_denied.contains(path) || !m_keys.contains(path))
        return 2; // ERROR_FILE_NOT_FOUND / access denied alike: a failure
    *key = m_next++;
    m_open.insert(*key, path);
    return 0;
}

long FakeRegistry::queryValue(Key key, const QByteArray &name, quint32 bufferSize,
                              quint32 *type, QByteArray *data)
{
    const auto values = m_keys.value(m_open.value(key));
    if (!values.contains(name))
        return 2;
    const Value &value = values.value(name);
    if (quint32(value.data.size()) > bufferSize)
        return 234; // ERROR_MORE_DATA
    *type = value.type;
    *data = value.data;
    return 0;
}

void FakeRegistry::closeKey(Key key)
{
    m_open.remove(key);
}

void FakeRegistry::setValue(const QByteArray &path, const QByteArray &name, quint32 type,
                            const QByteArray &data)
{
    m_keys[path].insert(name, {type, data});
}

} // namespace mirvo::test
