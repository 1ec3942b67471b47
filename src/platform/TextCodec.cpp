#include "platform/TextCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <optional>

namespace mirvo::textcodec {

namespace {

constexpr char gb18030[] = "GB18030";

bool decodesCleanly(QStringDecoder &decoder, QByteArrayView bytes)
{
    const QString text = decoder.decode(bytes);
    Q_UNUSED(text);
    return !decoder.hasError();
}

// Opening an ICU converter by name costs thousands of instructions, and every entry read or
// written needs one or two: each thread keeps one decoder and one encoder. Their error flag
// survives resetState(), so one that met an error is made anew, in place: ICU reports errors
// to the converter's address, so a converter must never be moved.
QStringDecoder &gbDecoder()
{
    thread_local std::optional<QStringDecoder> decoder;
    if (!decoder || decoder->hasError())
        decoder.emplace(gb18030, QStringDecoder::Flag::Stateless);
    else
        decoder->resetState();
    return *decoder;
}

QStringEncoder &gbEncoder()
{
    thread_local std::optional<QStringEncoder> encoder;
    if (!encoder || encoder->hasError())
        encoder.emplace(gb18030);
    else
        encoder->resetState();
    return *encoder;
}

} // namespace

void EncodingSniffer::feed(QByteArrayView bytes)
{
    if (m_utf8Valid) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        m_utf8Valid = decodesCleanly(utf8, bytes);
        for (const char byte : bytes) {
            const auto lead = static_cast<unsigned char>(byte);
            m_utf8HasTwoByte = m_utf8HasTwoByte || (lead >= 0xC0 && lead < 0xE0);
            m_utf8HasWide = m_utf8HasWide || lead >= 0xE0;
        }
    }
    if (m_gbValid)
        m_gbValid = decodesCleanly(gbDecoder(), bytes);
}

std::optional<Encoding> EncodingSniffer::result() const
{
    if (m_utf8Valid && !(m_gbValid && m_utf8HasTwoByte && !m_utf8HasWide))
        return Encoding::Utf8;
    if (m_gbValid)
        return Encoding::Gb18030;
    return std::nullopt;
}

QByteArray encode(const QString &text)
{
    return gbEncoder().encode(text);
}

QString decodeAnsi(const QByteArray &bytes)
{
    return decodeAs(Encoding::Gb18030, bytes);
}

QString decodeAs(Encoding encoding, const QByteArray &bytes)
{
    if (encoding == Encoding::Utf8) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        return decoder.decode(bytes);
    }
    return gbDecoder().decode(bytes);
}

std::optional<Encoding> detect(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        if (decodesCleanly(utf8, bytes))
            return Encoding::Utf8;
    }
    EncodingSniffer sniffer;
    sniffer.feed(bytes);
    return sniffer.result();
}

std::optional<QString> decode(const QByteArray &bytes)
{
    const auto encoding = detect(bytes);
    if (!encoding)
        return std::nullopt;
    QByteArray body = bytes;
    if (*encoding == Encoding::Utf8 && body.startsWith("\xEF\xBB\xBF"))
        body.remove(0, 3);
    return decodeAs(*encoding, body);
}

} // namespace mirvo::textcodec
