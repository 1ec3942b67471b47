#include "widgets/TextFit.h"

#include <QHash>

namespace mirvo {

QString fitText(const QFont &font, const QString &text, int width)
{
    static QHash<QFont, QHash<char16_t, int>> advancesByFont;
    QHash<char16_t, int> &advances = advancesByFont[font];
    const QFontMetrics metrics(font);
    int sum = 0;
    bool simple = true;
    for (const QChar ch : text) {
        if (ch.isSurrogate()) {
            simple = false;
            break;
        }
        auto advance = advances.constFind(ch.unicode());
        if (advance == advances.cend())
            advance = advances.insert(ch.unicode(), metrics.horizontalAdvance(ch));
        sum += *advance;
    }
    // Shaping may join or kern characters: only a text well inside the width skips it.
    if (simple && sum <= width - width / 8)
        return text;
    if (metrics.horizontalAdvance(text) <= width)
        return text;
    return metrics.elidedText(text, Qt::ElideRight, width);
}

} // namespace mirvo
