#include "core/text/Gb18030.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <memory>

namespace mirvo::gb18030 {

namespace {

struct FourByteRun
{
    int linear;     ///< the run's first four-byte code, counted from 81 30 81 30
    char16_t code;  ///< the character it stands for
    int length;
};

#include "Gb18030Table.inc"

constexpr int trailCount = 190;                  // 0x40..0xFE without 0x7F
constexpr int bmpFourByteCodes = 39420;          // 81 30 81 30 .. 84 31 A4 39
constexpr int supplementaryFirst = 189000;       // 90 30 81 30, U+10000
constexpr char32_t replacement = 0xFFFD;

constexpr bool isLead(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }
constexpr bool isDigit(unsigned char byte) { return byte >= 0x30 && byte <= 0x39; }
constexpr bool isTrail(unsigned char byte) { return byte >= 0x40 && byte <= 0xFE && byte != 0x7F; }

/// One character read at the start of bytes: its code point (or nothing) and its length.
struct Read
{
    char32_t code;
    bool valid;
    qsizetype length;
};

char32_t fourByteCharacter(int linear, bool *valid)
{
    if (linear >= supplementaryFirst && linear < supplementaryFirst + 0x100000) {
        *valid = true;
        return char32_t(0x10000 + linear - supplementaryFirst);
    }
    *valid = false;
    if (linear >= bmpFourByteCodes)
        return replacement;
    const auto after = std::upper_bound(std::begin(fourByteRuns), std::end(fourByteRuns), linear,
                                        [](int value, const FourByteRun &run) { return value < run.linear; });
    if (after == std::begin(fourByteRuns))
        return replacement;
    const FourByteRun &run = *std::prev(after);
    if (linear >= run.linear + run.length)
        return replacement;
    *valid = true;
    return char32_t(run.code + (linear - run.linear));
}

Read readOne(const unsigned char *at, qsizetype left)
{
    const unsigned char lead = at[0];
    if (lead < 0x80)
        return {lead, true, 1};
    if (!isLead(lead) || left < 2)
        return {replacement, false, 1};
    const unsigned char second = at[1];
    if (isTrail(second)) {
        const int index = (lead - 0x81) * trailCount + (second < 0x7F ? second - 0x40 : second - 0x41);
        const char16_t code = twoByteTable[index];
        return code ? Read{code, true, 2} : Read{replacement, false, 2};
    }
    if (!isDigit(second) || left < 4 || !isLead(at[2]) || !isDigit(at[3]))
        return {replacement, false, 1};
    const int linear = (((lead - 0x81) * 10 + (second - 0x30)) * 126 + (at[2] - 0x81)) * 10 + (at[3] - 0x30);
    bool valid = false;
    const char32_t code = fourByteCharacter(linear, &valid);
    return {code, valid, 4};
}

/// Each BMP character's two-byte code (lead << 8 | trail), 0 where it has none.
const std::array<quint16, 0x10000> &twoByteCodes()
{
    static const auto codes = [] {
        auto table = std::make_unique<std::array<quint16, 0x10000>>();
        table->fill(0);
        for (int index = 0; index < int(std::size(twoByteTable)); ++index) {
            if (const char16_t code = twoByteTable[index]) {
                const int lead = 0x81 + index / trailCount;
                const int offset = index % trailCount;
                const int trail = offset < 0x3F ? 0x40 + offset : 0x41 + offset;
                (*table)[code] = quint16(lead << 8 | trail);
            }
        }
        return table;
    }();
    return *codes;
}

void appendFourByte(QByteArray &out, int linear)
{
    const char bytes[4] = {char(0x81 + linear / 12600), char(0x30 + linear / 1260 % 10),
                           char(0x81 + linear / 10 % 126), char(0x30 + linear % 10)};
    out.append(bytes, 4);
}

void appendCharacter(QByteArray &out, char32_t code)
{
    if (code < 0x80) {
        out.append(char(code));
        return;
    }
    if (code >= 0x10000) {
        appendFourByte(out, supplementaryFirst + int(code - 0x10000));
        return;
    }
    if (const quint16 twoByte = twoByteCodes()[code]) {
        out.append(char(twoByte >> 8));
        out.append(char(twoByte & 0xFF));
        return;
    }
    // The four-byte runs follow the BMP's order: the run starting at or before the character.
    const auto after = std::upper_bound(std::begin(fourByteRuns), std::end(fourByteRuns), code,
                                        [](char32_t value, const FourByteRun &run) { return value < run.code; });
    if (after != std::begin(fourByteRuns)) {
        const FourByteRun &run = *std::prev(after);
        if (code < char32_t(run.code + run.length)) {
            appendFourByte(out, run.linear + int(code - run.code));
            return;
        }
    }
    out.append('?'); // a lone surrogate: no character to write
}

} // namespace

bool isValid(QByteArrayView bytes)
{
    const auto *at = reinterpret_cast<const unsigned char *>(bytes.data());
    for (qsizetype i = 0; i < bytes.size();) {
        const Read read = readOne(at + i, bytes.size() - i);
        if (!read.valid)
            return false;
        i += read.length;
    }
    return true;
}

QString decode(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    const auto *at = reinterpret_cast<const unsigned char *>(bytes.data());
    for (qsizetype i = 0; i < bytes.size();) {
        const Read read = readOne(at + i, bytes.size() - i);
        if (read.code >= 0x10000) {
            const char32_t code[] = {read.code};
            text.append(QString::fromUcs4(code, 1));
        } else {
            text.append(QChar(char16_t(read.code)));
        }
        i += read.length;
    }
    return text;
}

QByteArray encode(QStringView text)
{
    QByteArray out;
    out.reserve(text.size() * 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar unit = text[i];
        if (unit.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            appendCharacter(out, QChar::surrogateToUcs4(unit, text[i + 1]));
            ++i;
        } else if (unit.isSurrogate()) {
            out.append('?');
        } else {
            appendCharacter(out, unit.unicode());
        }
    }
    return out;
}

} // namespace mirvo::gb18030
