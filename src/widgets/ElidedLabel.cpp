#include "widgets/ElidedLabel.h"

#include "widgets/TextFit.h"

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
    m_cut = shownText() != text;
}

QString ElidedLabel::shownText() const
{
    return fitText(font(), text(), contentsRect().width());
}

void ElidedLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect(), QStyle::visualAlignment(layoutDirection(), alignment()),
                          palette(), isEnabled(), shownText(), foregroundRole());
}

} // namespace mirvo
