#pragma once

#include "widgets/ClickLabel.h"

namespace mirvo {

/// A one-line plain-text label that shows the start of a text too wide for it, ending it
/// with "…"; text() stays the whole text. The owner decides the tooltip (isCut()).
/// Its size and font are set before its text: a label measures a text only when given one
/// (measuring the creation text in a large font would load a fallback face for nothing).
class ElidedLabel : public ClickLabel
{
    Q_OBJECT

public:
    explicit ElidedLabel(const QString &text, QWidget *parent = nullptr);

    void setWholeText(const QString &text);
    /// Whether the label shows less than its whole text.
    bool isCut() const { return m_cut; }
    /// What the label shows of its text.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_cut = false;
};

} // namespace mirvo
