#include "core/text/AnsiCodePage.h"

#include <qt_windows.h>

namespace mirvo::ansi {

unsigned codePage()
{
    static const unsigned page = GetACP();
    return page;
}

std::optional<QByteArray> encode(QStringView text)
{
    if (text.isEmpty())
        return QByteArray();
    const auto units = reinterpret_cast<const wchar_t *>(text.utf16());
    const int length = int(text.size());
    // UTF-8 takes neither flags nor a default character, and holds every text.
    const bool utf8 = codePage() == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL *const defaultUsed = utf8 ? nullptr : &usedDefault;
    const int size = WideCharToMultiByte(codePage(), flags, units, length, nullptr, 0, nullptr, defaultUsed);
    if (size <= 0 || usedDefault)
        return std::nullopt;
    QByteArray bytes(size, Qt::Uninitialized);
    WideCharToMultiByte(codePage(), flags, units, length, bytes.data(), size, nullptr, defaultUsed);
    // Without best fit a character may still come back as another one: only a true round trip counts.
    if (decode(bytes) != text)
        return std::nullopt;
    return bytes;
}

std::optional<QString> decode(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return QString();
    const int size = MultiByteToWideChar(codePage(), MB_ERR_INVALID_CHARS, bytes.data(), int(bytes.size()), nullptr, 0);
    if (size <= 0)
        return std::nullopt;
    QString text(size, Qt::Uninitialized);
    MultiByteToWideChar(codePage(), MB_ERR_INVALID_CHARS, bytes.data(), int(bytes.size()),
                        reinterpret_cast<wchar_t *>(text.data()), size);
    return text;
}

} // namespace mirvo::ansi
