#pragma once

#include <QLabel>

namespace mirvo {

/// A one-line plain-text label that shows the start of a text too wide for it, ending it
/// with "…", and then offers the whole text as its tooltip. text() stays the whole text.
class ElidedLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ElidedLabel(const QString &text, QWidget *parent = nullptr);

    void setWholeText(const QString &text);
    /// What the label shows of its text.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void updateToolTip();
};

} // namespace mirvo
