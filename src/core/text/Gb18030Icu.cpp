#include "core/text/Gb18030.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <optional>

namespace mirvo::gb18030 {

namespace {

constexpr char name[] = "GB18030";

// Opening an ICU converter by name costs thousands of instructions, and every entry read or
// written needs one or two: each thread keeps one decoder and one encoder. Their error flag
// survives resetState(), so one that met an error is made anew, in place: ICU reports errors
// to the converter's address, so a converter must never be moved.
QStringDecoder &decoder()
{
    thread_local std::optional<QStringDecoder> decoder;
    if (!decoder || decoder->hasError())
        decoder.emplace(name, QStringDecoder::Flag::Stateless);
    else
        decoder->resetState();
    return *decoder;
}

QStringEncoder &encoder()
{
    thread_local std::optional<QStringEncoder> encoder;
    if (!encoder || encoder->hasError())
        encoder.emplace(name);
    else
        encoder->resetState();
    return *encoder;
}

} // namespace

bool isValid(QByteArrayView bytes)
{
    QStringDecoder &gb = decoder();
    const QString text = gb.decode(bytes);
    return !gb.hasError();
}

QString decode(QByteArrayView bytes)
{
    return decoder().decode(bytes);
}

QByteArray encode(QStringView text)
{
    return encoder().encode(text);
}

} // namespace mirvo::gb18030
