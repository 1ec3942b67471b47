#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QStringDecoder>
#include <QStringEncoder>

#include <optional>

namespace mirvo {

/// Reads a UTF-16 text ("Unicode" to Windows' Notepad) as UTF-8, converting as it is read, so
/// whatever reads byte texts line by line takes it unchanged and never holds all of it. A read
/// fails, with errorString(), where the text is no valid UTF-16.
class Utf16ToUtf8Device final : public QIODevice
{
public:
    /// The UTF-16 a byte order mark at the start of a text tells; nothing without one.
    static std::optional<QStringConverter::Encoding> utf16Encoding(QByteArrayView start);

    /// Reads source from where it stands, a byte order mark there dropped. Opened at once.
    Utf16ToUtf8Device(QIODevice &source, QStringConverter::Encoding encoding);

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    bool convertMore();

    QIODevice &m_source;
    QStringDecoder m_decoder;
    QStringEncoder m_encoder{QStringConverter::Utf8};
    QByteArray m_converted;
    qsizetype m_taken = 0;
    bool m_sourceEnded = false;
    bool m_oddByte = false; // an odd count of bytes so far: the last unit is cut in two
    bool m_endsInHighSurrogate = false; // the last unit so far waits for its pair
};

} // namespace mirvo
