#pragma once

#include "core/store/WordList.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtGlobal>

namespace mirvo::test {

/// The project's source folder (set by CTest), for data files under test.
inline QString sourceDir()
{
    return qEnvironmentVariable("MIRVO_SOURCE_DIR", QStringLiteral(MIRVO_TEST_SOURCE_DIR));
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// The words a folder holds, as the store's list reads them; none when it cannot be read.
inline QStringList listedWords(const QString &folder)
{
    WordList words(folder);
    return words.reread() ? words.names() : QStringList();
}

} // namespace mirvo::test
