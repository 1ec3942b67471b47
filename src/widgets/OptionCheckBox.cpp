#include "widgets/OptionCheckBox.h"

#include <QApplication>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOption>

namespace mirvo {

namespace {

// The toolkit takes the click area, and the accessible extent, of a check box from this one
// rectangle; by default it is only the box and its caption.
class WholeRectClickStyle : public QProxyStyle
{
public:
    QRect subElementRect(SubElement element, const QStyleOption *option, const QWidget *widget) const override
    {
        if (element == SE_CheckBoxClickRect)
            return option->rect;
        return QProxyStyle::subElementRect(element, option, widget);
    }
};

QStyle *wholeRectClickStyle()
{
    static QPointer<WholeRectClickStyle> style;
    if (!style) {
        style = new WholeRectClickStyle;
        style->setParent(qApp); // lives as long as the application's own style
    }
    return style;
}

} // namespace

OptionCheckBox::OptionCheckBox(const QString &text, QWidget *parent)
    : QCheckBox(text, parent)
{
    setStyle(wholeRectClickStyle());
}

int OptionCheckBox::value() const
{
    switch (checkState()) {
    case Qt::Unchecked:
        return 0;
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        break;
    }
    return 2;
}

void OptionCheckBox::setValue(int value)
{
    if (value < 0 || value > 2)
        return;
    setTristate(value == 2);
    setCheckState(value == 0 ? Qt::Unchecked : value == 1 ? Qt::Checked : Qt::PartiallyChecked);
}

void OptionCheckBox::nextCheckState()
{
    // Grey goes to checked; from then on clicks toggle between checked and unchecked.
    if (checkState() == Qt::PartiallyChecked) {
        setTristate(false);
        setCheckState(Qt::Checked);
        return;
    }
    QCheckBox::nextCheckState();
}

} // namespace mirvo
