#include "core/store/WordStore.h"

#include "core/store/WindowsEntries.h"
#include "core/store/WordNames.h"
#include "core/store/WordStorePlatform.h"
#include "core/text/SystemError.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace mirvo {

namespace {

constexpr qsizetype maxNameUnits = 255; // NTFS and FAT count UTF-16 units

/// Writes content into a new temporary at path; false with the system's error code when it
/// cannot, leaving no temporary behind.
bool writeTemporary(const std::wstring &path, const QByteArray &content, int *code)
{
    // Hidden from the start, a temporary that a crash leaves is never listed. It shows again
    // before it takes the word's name: a crash between the two leaves a visible temporary
    // (cleared with the store), where the other order would leave the word's own entry hidden
    // and the word gone from the list.
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        *code = lastSystemError();
        return false;
    }
    DWORD wrote = 0;
    FILE_BASIC_INFO shown{}; // times of zero stay as they are
    shown.FileAttributes = FILE_ATTRIBUTE_ARCHIVE; // what a new file has
    const bool written = WriteFile(file, content.constData(), DWORD(content.size()), &wrote, nullptr)
        && wrote == DWORD(content.size()) && SetFileInformationByHandle(file, FileBasicInfo, &shown, sizeof shown);
    *code = written ? 0 : lastSystemError();
    CloseHandle(file);
    if (!written)
        DeleteFileW(path.c_str());
    return written;
}

} // namespace

const bool separatorInNames = true;
const bool wordnames::leadingDotHides = false;

QString entryChangeProblem(const QString &path, int code)
{
    if (code == ERROR_ACCESS_DENIED) {
        const DWORD attributes = GetFileAttributesW(widePath(path).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
            return QStringLiteral("文件设置了“只读”属性");
    }
    return systemErrorText(code);
}

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

bool WordStore::Writer::place(EntryName name, const QByteArray &content, Existing existing, QString *error)
{
    const auto failed = [&](const QString &why) { return writeFailed(error, name.word, why); };
    TemporaryName temporaryName;
    nameTemporary(temporaryName);
    const std::wstring temporary = widePath(m_store.m_folder + QLatin1Char('/') + QLatin1String(temporaryName));
    int code = 0;
    if (!writeTemporary(temporary, content, &code)) // a file in the store's place: said as the listing says it
        return failed(systemErrorText(QFileInfo(m_store.m_folder).isFile() ? int(ERROR_DIRECTORY) : code));

    // Replaces an existing entry in one step: the old meaning stays whole until then.
    const QString entry = m_store.entryPath(name.word);
    const DWORD replace = existing == Existing::Replace ? MOVEFILE_REPLACE_EXISTING : 0;
    if (!MoveFileExW(temporary.c_str(), widePath(entry).c_str(), replace | MOVEFILE_WRITE_THROUGH)) {
        const int moveError = lastSystemError();
        DeleteFileW(temporary.c_str());
        // An entry made again meanwhile under that name stays as it is.
        const bool taken = moveError == ERROR_ALREADY_EXISTS || moveError == ERROR_FILE_EXISTS;
        const QFileInfo info(entry);
        if (!(taken && existing == Existing::Keep && info.isFile()))
            return failed(info.isDir() ? QStringLiteral("同名的文件夹已经存在") : entryChangeProblem(entry, moveError));
    }
    m_written.names.push_back(std::move(name));
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
