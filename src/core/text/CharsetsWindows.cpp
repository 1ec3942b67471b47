#include "core/text/Charsets.h"

#include "core/text/TextCodec.h"

#include <QHash>
#include <QStringDecoder>

#include <qt_windows.h>

namespace mirvo::charsets {

namespace {

/// The Windows code page behind a character set's name (lower case); 0 for none.
UINT codePage(const QByteArray &name)
{
    static const QHash<QByteArray, UINT> pages = {
        {"windows-1250", 1250}, {"windows-1251", 1251}, {"windows-1252", 1252}, {"windows-1253", 1253},
        {"windows-1254", 1254}, {"windows-1255", 1255}, {"windows-1256", 1256}, {"windows-1257", 1257},
        {"windows-1258", 1258}, {"windows-874", 874}, {"tis-620", 874},
        {"iso-8859-2", 28592}, {"iso-8859-3", 28593}, {"iso-8859-4", 28594}, {"iso-8859-5", 28595},
        {"iso-8859-6", 28596}, {"iso-8859-7", 28597}, {"iso-8859-8", 28598}, {"iso-8859-9", 28599},
        {"iso-8859-13", 28603}, {"iso-8859-15", 28605}, {"koi8-r", 20866}, {"koi8-u", 21866},
        {"shift_jis", 932}, {"sjis", 932}, {"windows-31j", 932}, {"x-sjis", 932}, {"ms_kanji", 932},
        {"euc-jp", 20932}, {"iso-2022-jp", 50220}, {"euc-kr", 949}, {"ks_c_5601-1987", 949},
        {"windows-949", 949}, {"big5", 950}, {"big5-hkscs", 950}, {"x-x-big5", 950},
        {"macintosh", 10000}, {"x-mac-roman", 10000},
    };
    return pages.value(name, 0);
}

} // namespace

std::optional<QString> decode(const QByteArray &name, QByteArrayView bytes)
{
    // Qt for Windows has no ICU: it knows the Unicode forms and Latin-1; GB18030 is ours;
    // the rest goes through the system's code pages, where the system has them.
    const QByteArray lower = name.toLower();
    if (lower == "gb18030")
        return textcodec::decodeAnsi(bytes.toByteArray());
    if (const auto encoding = QStringConverter::encodingForName(name.constData()))
        return QStringDecoder(*encoding).decode(bytes);
    const UINT page = codePage(lower);
    if (page == 0 || !IsValidCodePage(page))
        return std::nullopt;
    if (bytes.isEmpty())
        return QString();
    const int length = MultiByteToWideChar(page, 0, bytes.data(), int(bytes.size()), nullptr, 0);
    if (length <= 0)
        return std::nullopt;
    QString text(length, Qt::Uninitialized);
    MultiByteToWideChar(page, 0, bytes.data(), int(bytes.size()), reinterpret_cast<wchar_t *>(text.data()), length);
    return text;
}

} // namespace mirvo::charsets
