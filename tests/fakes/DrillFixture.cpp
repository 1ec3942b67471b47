#include "DrillFixture.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>

namespace mirvo::test {

QString DrillFixture::text(const char *name) const
{
    const QString objectName = QLatin1String(name);
    if (auto *label = window->findChild<QLabel *>(objectName))
        return label->text();
    if (auto *button = window->findChild<QAbstractButton *>(objectName))
        return button->text();
    return QStringLiteral("<no control %1>").arg(objectName);
}

QStringList DrillFixture::captions() const
{
    QStringList result;
    for (int index = 1; index <= 4; ++index)
        result.append(window->answerButton(index)->text());
    return result;
}

QString DrillFixture::problems() const
{
    QStringList result;
    if (!fakes.dialogs.leftovers().isEmpty())
        result.append(fakes.dialogs.leftovers());
    if (!fakes.random.leftovers().isEmpty())
        result.append(fakes.random.leftovers());
    return result.join(QStringLiteral("; "));
}

QString dropFixture(std::unique_ptr<DrillFixture> &fixture)
{
    QStringList left;
    if (fixture && !fixture->problems().isEmpty())
        left.append(fixture->problems());
    fixture.reset();
    const QWidgetList windows = QApplication::topLevelWidgets();
    if (std::any_of(windows.cbegin(), windows.cend(), [](const QWidget *w) { return w->isVisible(); }))
        left.append(QStringLiteral("a window is still shown"));
    return left.join(QStringLiteral("; "));
}

} // namespace mirvo::test
