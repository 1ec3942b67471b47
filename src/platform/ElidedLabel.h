#pragma once

#include "platform/ClickLabel.h"

namespace mirvo {

/// A one-line plain-text label that shows the start of a text too wide for it, ending it
/// with "…", and then offers the whole text as its tooltip. text() stays the whole text.
/// Its size and font are set before its text: a label measures a text only when given one
/// (measuring the creation text in a large font would load a fallback face for nothing).
class ElidedLabel : public ClickLabel
{
    Q_OBJECT

public:
    explicit ElidedLabel(const QString &text, QWidget *parent = nullptr);

    void setWholeText(const QString &text);
    /// What the label shows of its text.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace mirvo
