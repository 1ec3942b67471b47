#pragma once

#include <QByteArray>

class QIODevice;

namespace mirvo {

/// Splits a device's bytes into lines ended by CR LF, LF or CR, reading in chunks.
/// A line longer than maxLength is reported as over-long and its bytes are dropped,
/// so a file without line ends never has to fit in memory.
class LineReader
{
public:
    LineReader(QIODevice &device, qsizetype maxLength);

    /// The next line without its end; false at the end of the device or on a read error.
    bool next(QByteArray *line, bool *tooLong);
    bool readFailed() const { return m_failed; }

private:
    bool fill();

    QIODevice &m_device;
    qsizetype m_maxLength;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    bool m_atEnd = false;
    bool m_failed = false;
    bool m_skipLf = false; // the previous line ended in CR: an LF right after it belongs to it
};

} // namespace mirvo
