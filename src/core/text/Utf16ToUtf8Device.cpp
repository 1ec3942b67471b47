#include "core/text/Utf16ToUtf8Device.h"

#include <algorithm>
#include <cstring>

namespace mirvo {

namespace {
constexpr qint64 chunkSize = 32 * 1024;
}

std::optional<QStringConverter::Encoding> Utf16ToUtf8Device::utf16Encoding(QByteArrayView start)
{
    if (start.startsWith("\xFF\xFE"))
        return QStringConverter::Utf16LE;
    if (start.startsWith("\xFE\xFF"))
        return QStringConverter::Utf16BE;
    return std::nullopt;
}

Utf16ToUtf8Device::Utf16ToUtf8Device(QIODevice &source, QStringConverter::Encoding encoding)
    : m_source(source)
    , m_decoder(encoding)
{
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

qint64 Utf16ToUtf8Device::readData(char *data, qint64 maxSize)
{
    while (m_converted.size() - m_taken < maxSize && !m_sourceEnded) {
        if (!convertMore())
            return -1;
    }
    const qint64 size = std::min<qint64>(maxSize, m_converted.size() - m_taken);
    std::memcpy(data, m_converted.constData() + m_taken, size_t(size));
    m_taken += size;
    if (m_taken == m_converted.size()) {
        m_converted.clear();
        m_taken = 0;
    }
    return size;
}

bool Utf16ToUtf8Device::convertMore()
{
    char raw[chunkSize];
    const qint64 got = m_source.read(raw, chunkSize);
    if (got < 0) {
        setErrorString(m_source.errorString());
        return false;
    }
    // The decoder takes any pairs of bytes; the encoder finds a surrogate without its pair,
    // also across chunks. Only the end can tell a cut unit or a pair left open.
    const QString units = m_decoder.decode(QByteArrayView(raw, got));
    m_oddByte = m_oddByte != (got % 2 == 1);
    if (!units.isEmpty())
        m_endsInHighSurrogate = units.back().isHighSurrogate();
    m_converted += m_encoder.encode(units);
    m_sourceEnded = got == 0;
    if (m_encoder.hasError() || (m_sourceEnded && (m_oddByte || m_endsInHighSurrogate))) {
        setErrorString(QStringLiteral("文件不是有效的 UTF-16（Unicode）文本。"));
        return false;
    }
    return true;
}

} // namespace mirvo
