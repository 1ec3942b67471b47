#include "platform/ElidedLabel.h"

#include <QPainter>
#include <QStyle>

namespace mirvo {

ElidedLabel::ElidedLabel(const QString &text, QWidget *parent)
    : ClickLabel(text, parent)
{
    setTextFormat(Qt::PlainText);
}

void ElidedLabel::setWholeText(const QString &text)
{
    setText(text);
    setToolTip(shownText() == text ? QString() : text);
}

QString ElidedLabel::shownText() const
{
    const QFontMetrics metrics = fontMetrics();
    const int width = contentsRect().width();
    return metrics.horizontalAdvance(text()) <= width ? text() : metrics.elidedText(text(), Qt::ElideRight, width);
}

void ElidedLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect(), QStyle::visualAlignment(layoutDirection(), alignment()),
                          palette(), isEnabled(), shownText(), foregroundRole());
}

} // namespace mirvo
