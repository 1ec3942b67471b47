#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace mirvo::textcodec {

/// The encoding of a byte text as our files may hold it.
enum class Encoding { Utf8, Gb18030 };

/// Learns a text's encoding from its pieces (pieces must not split a character; lines do not).
/// UTF-8 wins when the bytes are valid UTF-8, except where they are also valid GB18030 and
/// read as UTF-8 only give two-byte characters (Latin, Greek, Cyrillic, ...): that is what
/// short GBK texts such as "一" (D2 BB) look like, so they stay GB18030.
class EncodingSniffer
{
public:
    void feed(QByteArrayView bytes);
    std::optional<Encoding> result() const;
    bool utf8Valid() const { return m_utf8Valid; }

private:
    bool m_utf8Valid = true;
    bool m_gbValid = true;
    bool m_utf8HasTwoByte = false;
    bool m_utf8HasWide = false; // three- or four-byte characters
};

/// GB18030: byte for byte GBK for any text GBK can hold, lossless for the rest.
QByteArray encode(const QString &text);

/// Decodes GB18030 (the system's ANSI code page on the machines we serve).
QString decodeAnsi(const QByteArray &bytes);

/// UTF-8 when the bytes are valid UTF-8 (a leading BOM is dropped), else GB18030;
/// nothing when they are neither.
std::optional<QString> decode(const QByteArray &bytes);

/// Which encoding decode() would use, or nothing when the bytes are neither.
std::optional<Encoding> detect(const QByteArray &bytes);

/// Decodes bytes already known to be in the given encoding (no BOM handling).
QString decodeAs(Encoding encoding, const QByteArray &bytes);

} // namespace mirvo::textcodec
