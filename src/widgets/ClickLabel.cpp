#include "widgets/ClickLabel.h"

#include <QMouseEvent>

namespace mirvo {

void ClickLabel::setTextFitted(const QString &text)
{
    setText(text);
    resize(sizeHint().width(), height());
}

void ClickLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

} // namespace mirvo
