#include "widgets/CommandButton.h"

#include "widgets/TextFit.h"

#include <QKeyEvent>
#include <QStyleOptionButton>

namespace mirvo {

namespace {

QString literal(QString text)
{
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

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

int CommandButton::textWidth() const
{
    QStyleOptionButton option;
    initStyleOption(&option);
    // The style's own margin keeps a cut text off the frame, as a fitting one would be.
    return style()->subElementRect(QStyle::SE_PushButtonContents, &option, this).width()
           - style()->pixelMetric(QStyle::PM_ButtonMargin, &option, this);
}

void CommandButton::showCaption()
{
    // Cut first, then double: a cut must not split an "&&" pair.
    const QString elided = fitText(font(), m_caption, textWidth());
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
