#include "platform/TextCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace mirvo::textcodec {

namespace {

constexpr char gb18030[] = "GB18030";

bool decodesCleanly(QStringDecoder &decoder, const QByteArray &bytes)
{
    const QString text = decoder.decode(bytes);
    Q_UNUSED(text);
    return !decoder.hasError();
}

} // namespace

QByteArray encode(const QString &text)
{
    QStringEncoder encoder(gb18030);
    return encoder.encode(text);
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
    QStringDecoder decoder(gb18030, QStringDecoder::Flag::Stateless);
    return decoder.decode(bytes);
}

std::optional<Encoding> detect(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    if (decodesCleanly(utf8, bytes))
        return Encoding::Utf8;
    QStringDecoder gb(gb18030, QStringDecoder::Flag::Stateless);
    if (decodesCleanly(gb, bytes))
        return Encoding::Gb18030;
    return std::nullopt;
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
