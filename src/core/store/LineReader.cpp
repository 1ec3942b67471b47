#include "core/store/LineReader.h"

#include <QIODevice>

#include <algorithm>

namespace mirvo {

namespace {
constexpr qint64 chunkSize = 64 * 1024;
}

LineReader::LineReader(QIODevice &device, qsizetype maxLength)
    : m_device(device)
    , m_maxLength(maxLength)
{
}

bool LineReader::fill()
{
    if (m_atEnd)
        return false;
    m_buffer.remove(0, m_pos);
    m_pos = 0;
    const qsizetype old = m_buffer.size();
    m_buffer.resize(old + chunkSize);
    const qint64 got = m_device.read(m_buffer.data() + old, chunkSize);
    m_buffer.resize(old + std::max<qint64>(got, 0));
    if (got <= 0) {
        m_atEnd = true;
        m_failed = got < 0;
        return false;
    }
    return true;
}

bool LineReader::next(QByteArray *line, bool *tooLong)
{
    line->clear();
    *tooLong = false;
    qsizetype length = 0;
    for (;;) {
        if (m_pos == m_buffer.size() && !fill()) {
            // The end: a last line without a line end still counts, an empty rest does not.
            return length > 0;
        }
        if (m_skipLf) {
            m_skipLf = false;
            if (m_buffer.at(m_pos) == '\n') {
                ++m_pos;
                continue;
            }
        }
        const QByteArrayView rest = QByteArrayView(m_buffer).sliced(m_pos);
        qsizetype end = -1;
        for (qsizetype i = 0; i < rest.size(); ++i) {
            if (rest[i] == '\r' || rest[i] == '\n') {
                end = i;
                break;
            }
        }
        const qsizetype take = end < 0 ? rest.size() : end;
        length += take;
        if (length > m_maxLength) {
            *tooLong = true;
            line->clear();
        } else {
            line->append(rest.first(take));
        }
        m_pos += take;
        if (end >= 0) {
            m_skipLf = m_buffer.at(m_pos) == '\r';
            ++m_pos;
            return true;
        }
    }
}

} // namespace mirvo
