#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace mirvo::textcodec {

/// The encoding of a byte text as our files may hold it. Ansi is the system's ANSI code page
/// where it is neither GBK (read as its superset GB18030) nor UTF-8: Windows set to code page
/// 1252, say.
enum class Encoding { Utf8, Gb18030, Ansi };

/// Learns a text's encoding from its pieces (pieces must not split a character; lines do not).
/// UTF-8 wins when the bytes are valid UTF-8, except where they are also valid GB18030 and
/// read as UTF-8 only give two-byte characters (Latin, Greek, Cyrillic, ...): that is what
/// short GBK texts such as "一" (D2 BB) look like, so they stay GB18030. Between GB18030 and
/// another ANSI code page the pairs decide: GBK's characters mostly end in a byte of 0x80 or
/// more, while a single-byte code page's letters mostly stand before ASCII ("é" in "été").
class EncodingSniffer
{
public:
    EncodingSniffer();
    void feed(QByteArrayView bytes);
    std::optional<Encoding> result() const;
    bool utf8Valid() const { return m_utf8Valid; }

    /// The whole text at once: its GB18030 and ANSI readings are looked at only when the UTF-8
    /// one leaves the choice open (two-byte characters only, or invalid). When the text is valid
    /// UTF-8, *utf8Text (if given) receives it decoded, a leading BOM dropped.
    static std::optional<Encoding> resultOfWhole(QByteArrayView bytes, QString *utf8Text = nullptr);

private:
    void feedUtf8(QByteArrayView bytes, QString *text = nullptr);
    void feedLegacy(QByteArrayView bytes);

    bool m_utf8Valid = true;
    bool m_gbValid = true;
    bool m_ansiValid;
    bool m_utf8HasTwoByte = false;
    bool m_utf8HasWide = false; // three- or four-byte characters
    qint64 m_gbLikeness = 0; // GB18030 characters that look like GBK, less those that look like ANSI
};

/// GB18030: byte for byte GBK for any text GBK can hold, lossless for the rest.
QByteArray encode(const QString &text);

/// The text as the user's own editor shows it and decode() reads it back: in the system's ANSI
/// code page when that holds every character (as Windows' Notepad writes "ANSI"), in UTF-8
/// where the system has none (Linux); otherwise, or where decode() would read those bytes as
/// another text (short GBK that is also UTF-8, UTF-8 that is also GBK), UTF-8 after a BOM.
QByteArray encodeReadable(const QString &text);

/// Decodes GB18030 (the system's ANSI code page on the machines we serve). Code page 936's
/// single byte 0x80, "€", which GB18030 lacks, is read as "€" too.
QString decodeAnsi(const QByteArray &bytes);

/// UTF-8 when the bytes are valid UTF-8 (a leading BOM is dropped), else GB18030 or the
/// system's ANSI code page, as EncodingSniffer tells; nothing when they are none of them.
std::optional<QString> decode(const QByteArray &bytes);

/// Decodes the beginning of a longer text, cut off at any byte: as decode() does, but a
/// character the cut split is left out, in whichever encoding the rest is read in.
std::optional<QString> decodeCut(const QByteArray &bytes);

/// Which encoding decode() would use, or nothing when the bytes are neither.
std::optional<Encoding> detect(const QByteArray &bytes);

/// Decodes bytes already known to be in the given encoding; UTF-8 loses one leading BOM.
QString decodeAs(Encoding encoding, const QByteArray &bytes);

} // namespace mirvo::textcodec
