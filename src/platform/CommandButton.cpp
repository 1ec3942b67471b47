#include "platform/CommandButton.h"

#include <QKeyEvent>
#include <QStyleOptionButton>

namespace mirvo {

CommandButton::CommandButton(const QString &caption, QWidget *parent)
    : QPushButton(parent)
{
    setAutoDefault(false);
    setCaption(caption);
}

void CommandButton::setCaption(const QString &caption)
{
    m_caption = caption;
    showCaption();
}

namespace {

QString literal(QString text)
{
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

QString CommandButton::shownText(const QString &caption, const QFontMetrics &metrics, int width)
{
    // Cut first, then double: a cut must not split an "&&" pair.
    return literal(metrics.elidedText(caption, Qt::ElideRight, width));
}

int CommandButton::textWidth() const
{
    QStyleOptionButton option;
    initStyleOption(&option);
    return style()->subElementRect(QStyle::SE_PushButtonContents, &option, this).width();
}

void CommandButton::showCaption()
{
    const QString elided = fontMetrics().elidedText(m_caption, Qt::ElideRight, textWidth());
    setText(literal(elided));
    setToolTip(elided == m_caption ? QString() : m_caption);
}

void CommandButton::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (!event->isAutoRepeat())
            click();
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

void CommandButton::resizeEvent(QResizeEvent *event)
{
    QPushButton::resizeEvent(event);
    showCaption();
}

void CommandButton::changeEvent(QEvent *event)
{
    QPushButton::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        showCaption();
}

} // namespace mirvo
