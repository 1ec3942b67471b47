#pragma once

#include <QLabel>

namespace mirvo {

/// A label that reports clicks and can size itself to its text on one line,
/// growing to the right from its left edge.
class ClickLabel : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

    /// Sets the text and fits the width to it; the height stays as laid out.
    void setTextFitted(const QString &text);

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

} // namespace mirvo
