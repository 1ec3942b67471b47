#include "core/store/WordStore.h"

#include "core/store/WordStorePlatform.h"
#include "core/text/SystemError.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <qt_windows.h>

namespace mirvo {

namespace {

constexpr qsizetype maxNameUnits = 255; // NTFS and FAT count UTF-16 units

/// The path as Windows' wide calls take it, with the long-path prefix: a 255-character
/// word in a store folder goes past MAX_PATH.
std::wstring wide(const QString &path)
{
    const QString native = QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    if (native.startsWith(QLatin1String("\\\\")))
        return (QStringLiteral("\\\\?\\UNC\\") + native.mid(2)).toStdWString();
    return (QStringLiteral("\\\\?\\") + native).toStdWString();
}

} // namespace

const bool separatorInNames = true;

std::string nameBytes(const QString &word)
{
    return word.toUtf8().toStdString();
}

QString platformNameProblem(const QString &word)
{
    static const QRegularExpression deviceName(QStringLiteral("^(con|prn|aux|nul|com[1-9]|lpt[1-9])(\\..*)?$"),
                                               QRegularExpression::CaseInsensitiveOption);
    if (word.size() > maxNameUnits)
        return QStringLiteral("单词太长，不能作文件名");
    for (const QChar c : word) {
        if (c.unicode() < 0x20 || QStringView(u"<>:\"|?*").contains(c))
            return QStringLiteral("单词中含有 Windows 文件名不允许的字符“%1”").arg(c.unicode() < 0x20 ? QStringLiteral("控制字符") : QString(c));
    }
    if (word.endsWith(QLatin1Char('.')) || word.endsWith(QLatin1Char(' ')))
        return QStringLiteral("Windows 文件名不能以“.”或空格结尾");
    if (deviceName.match(word).hasMatch())
        return QStringLiteral("“%1”是 Windows 保留的设备名").arg(word);
    return {};
}

WordStore::Writer::Writer(WordStore &store)
    : m_store(store)
{
}

WordStore::Writer::~Writer() = default;

bool WordStore::Writer::write(const QString &word, const QString &meaning, QString *error)
{
    QByteArray content;
    return entryContent(word, meaning, &content, error) && place(word, content, Existing::Replace, error);
}

bool WordStore::Writer::restore(const QString &word, const QByteArray &content, QString *error)
{
    return place(word, content, Existing::Keep, error);
}

bool WordStore::Writer::place(const QString &word, const QByteArray &content, Existing existing, QString *error)
{
    const auto failed = [&](const QString &why) { return writeFailed(error, word, why); };
    TemporaryName name;
    nameTemporary(name);
    const QString temporary = m_store.m_folder + QLatin1Char('/') + QLatin1String(name);
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return failed(fileErrorText(file, lastSystemError()));
    const bool written = file.write(content) == content.size() && file.flush();
    const QString writeError = fileErrorText(file, written ? 0 : lastSystemError());
    file.close();
    if (!written) {
        QFile::remove(temporary);
        return failed(writeError);
    }

    // Replaces an existing entry in one step: the old meaning stays whole until then.
    const QFileInfo entry(m_store.entryPath(word));
    const DWORD replace = existing == Existing::Replace ? MOVEFILE_REPLACE_EXISTING : 0;
    if (!MoveFileExW(wide(temporary).c_str(), wide(entry.filePath()).c_str(), replace | MOVEFILE_WRITE_THROUGH)) {
        const int moveError = lastSystemError();
        QFile::remove(temporary);
        // An entry made again meanwhile under that name stays as it is.
        const bool taken = moveError == ERROR_ALREADY_EXISTS || moveError == ERROR_FILE_EXISTS;
        const bool kept = taken && existing == Existing::Keep && entry.isFile();
        if (!kept)
            return failed(entry.isDir() ? QStringLiteral("同名的文件夹已经存在") : systemErrorText(moveError));
    }
    m_written.words.append(word);
    return true;
}

bool WordStore::Writer::wroteIntoStore(QString *) const
{
    // Nothing holds the folder open here: each entry is written by its path.
    return true;
}

void WordStore::syncFolder() const
{
    // MOVEFILE_WRITE_THROUGH has already flushed each rename.
}

} // namespace mirvo
