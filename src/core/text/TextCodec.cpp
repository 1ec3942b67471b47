#include "core/text/TextCodec.h"

#include "core/text/AnsiCodePage.h"
#include "core/text/Gb18030.h"

#include <QStringDecoder>

#include <algorithm>
#include <optional>

namespace mirvo::textcodec {

namespace {

// Windows' code page 936 has "€" as the single byte 0x80, which GB18030 lacks: such a byte
// where a character starts becomes GB18030's "€", A2 E3. The walk follows GB18030's forms
// (one byte below 0x80; a lead 81..FE, then a digit for four bytes, else one trail byte),
// so a trail byte 0x80 is left alone; bytes that are no GB18030 stay as they are.
QByteArray euroAsGb18030(QByteArrayView bytes)
{
    QByteArray result;
    result.reserve(bytes.size() + 8);
    for (qsizetype i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead == 0x80) {
            result.append("\xA2\xE3");
            ++i;
            continue;
        }
        qsizetype length = 1;
        if (lead > 0x80 && i + 1 < bytes.size()) {
            const char next = bytes[i + 1];
            length = next >= '0' && next <= '9' ? 4 : 2;
        }
        length = std::min(length, bytes.size() - i);
        result.append(bytes.sliced(i, length));
        i += length;
    }
    return result;
}

QString decodeGb18030(QByteArrayView bytes)
{
    if (bytes.contains('\x80'))
        return gb18030::decode(euroAsGb18030(bytes));
    return gb18030::decode(bytes);
}

bool isGb18030(QByteArrayView bytes)
{
    if (bytes.contains('\x80'))
        return gb18030::isValid(euroAsGb18030(bytes));
    return gb18030::isValid(bytes);
}

/// Whether the system's ANSI code page reads bytes otherwise than UTF-8 and GB18030 do.
bool ansiReadsOtherwise()
{
    const unsigned page = ansi::codePage();
    return page != 0 && page != 936 && page != 65001;
}

/// How much GB18030 text looks like GBK rather than a single-byte code page: one up for each
/// character whose second byte is 0x80 or more (or a four-byte one), one down for each whose
/// second byte is ASCII, as "é" before a letter reads. Walked as wholeGb18030() walks.
qint64 gbLikeness(QByteArrayView bytes)
{
    qint64 likeness = 0;
    for (qsizetype at = 0; at + 1 < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[at]);
        if (lead <= 0x80 || lead == 0xFF) {
            ++at;
            continue;
        }
        const auto next = static_cast<unsigned char>(bytes[at + 1]);
        const bool fourByte = next >= '0' && next <= '9';
        likeness += fourByte || next >= 0x80 ? 1 : -1;
        at += fourByte ? 4 : 2;
    }
    return likeness;
}

/// How many bytes make whole UTF-8 characters, a character cut off at the end left out.
qsizetype wholeUtf8(QByteArrayView bytes)
{
    for (qsizetype back = 1; back <= 4 && back <= bytes.size(); ++back) {
        const auto byte = static_cast<unsigned char>(bytes[bytes.size() - back]);
        if ((byte & 0xC0) == 0x80)
            continue; // a continuation byte: its lead is further back
        const qsizetype length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return length > back ? bytes.size() - back : bytes.size();
    }
    return bytes.size();
}

/// The same for GB18030, whose trail bytes can look like leads: walked from the start.
qsizetype wholeGb18030(QByteArrayView bytes)
{
    qsizetype at = 0;
    while (at < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[at]);
        qsizetype length = 1;
        if (lead > 0x80 && lead < 0xFF)
            length = at + 1 < bytes.size() && bytes[at + 1] >= '0' && bytes[at + 1] <= '9' ? 4 : 2;
        if (at + length > bytes.size())
            break;
        at += length;
    }
    return at;
}

} // namespace

void EncodingSniffer::feedUtf8(QByteArrayView bytes, QString *text)
{
    if (m_utf8Valid) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString decoded = utf8.decode(bytes);
        m_utf8Valid = !utf8.hasError();
        if (text && m_utf8Valid)
            *text = std::move(decoded);
        for (const char byte : bytes) {
            const auto lead = static_cast<unsigned char>(byte);
            m_utf8HasTwoByte = m_utf8HasTwoByte || (lead >= 0xC0 && lead < 0xE0);
            m_utf8HasWide = m_utf8HasWide || lead >= 0xE0;
        }
    }
}

EncodingSniffer::EncodingSniffer()
    : m_ansiValid(ansiReadsOtherwise())
{
}

void EncodingSniffer::feedLegacy(QByteArrayView bytes)
{
    if (m_gbValid)
        m_gbValid = isGb18030(bytes);
    if (m_ansiValid)
        m_ansiValid = ansi::decode(bytes).has_value();
    if (m_gbValid && m_ansiValid)
        m_gbLikeness += gbLikeness(bytes);
}

void EncodingSniffer::feed(QByteArrayView bytes)
{
    feedUtf8(bytes);
    feedLegacy(bytes);
}

std::optional<Encoding> EncodingSniffer::resultOfWhole(QByteArrayView bytes, QString *utf8Text)
{
    // An entry written as UTF-8 then never opens the GB18030 converter (ICU's tables).
    EncodingSniffer sniffer;
    sniffer.feedUtf8(bytes, utf8Text);
    if (sniffer.m_utf8Valid && (sniffer.m_utf8HasWide || !sniffer.m_utf8HasTwoByte))
        return Encoding::Utf8;
    sniffer.feedLegacy(bytes);
    return sniffer.result();
}

std::optional<Encoding> EncodingSniffer::result() const
{
    if (m_utf8Valid && !(m_gbValid && m_utf8HasTwoByte && !m_utf8HasWide))
        return Encoding::Utf8;
    if (m_gbValid && m_ansiValid)
        return m_gbLikeness > 0 ? Encoding::Gb18030 : Encoding::Ansi;
    if (m_gbValid)
        return Encoding::Gb18030;
    if (m_ansiValid)
        return Encoding::Ansi;
    return std::nullopt;
}

QByteArray encode(const QString &text)
{
    return gb18030::encode(text);
}

QByteArray encodeReadable(const QString &text)
{
    const auto bytes = ansi::codePage() != 0 ? ansi::encode(text) : std::optional(text.toUtf8());
    if (bytes && decode(*bytes) == text)
        return *bytes;
    return "\xEF\xBB\xBF" + text.toUtf8();
}

QString decodeAnsi(const QByteArray &bytes)
{
    return decodeAs(Encoding::Gb18030, bytes);
}

QString decodeAs(Encoding encoding, const QByteArray &bytes)
{
    switch (encoding) {
    case Encoding::Utf8: {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        return decoder.decode(bytes);
    }
    case Encoding::Ansi:
        if (auto text = ansi::decode(bytes))
            return *text;
        break;
    case Encoding::Gb18030:
        break;
    }
    return decodeGb18030(bytes);
}

std::optional<Encoding> detect(const QByteArray &bytes)
{
    // Valid UTF-8 after a BOM is UTF-8 by the sniffer's rule too: the BOM is a wide character.
    return EncodingSniffer::resultOfWhole(bytes);
}

std::optional<QString> decode(const QByteArray &bytes)
{
    // The UTF-8 reading made to sniff is the text itself when UTF-8 wins: no second pass.
    QString utf8Text;
    const auto encoding = EncodingSniffer::resultOfWhole(bytes, &utf8Text);
    if (!encoding)
        return std::nullopt;
    return *encoding == Encoding::Utf8 ? utf8Text : decodeAs(*encoding, bytes);
}

std::optional<QString> decodeCut(const QByteArray &bytes)
{
    // Cut at a UTF-8 boundary first: when that reads as UTF-8, so does the entry.
    const QByteArray utf8 = bytes.first(wholeUtf8(bytes));
    QString utf8Text;
    if (EncodingSniffer::resultOfWhole(utf8, &utf8Text) == Encoding::Utf8)
        return utf8Text;
    return decode(bytes.first(wholeGb18030(bytes)));
}

} // namespace mirvo::textcodec
