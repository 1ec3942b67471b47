#pragma once

#include <QPushButton>

namespace mirvo {

/// A command button whose caption is data: shown literally ("&" included, never an access
/// key), cut at the end with "…" when wider than the button, the whole text then as tooltip.
/// Enter presses it while it has the focus, as Space does; it never becomes a default button.
class CommandButton : public QPushButton
{
    Q_OBJECT

public:
    CommandButton(const QString &caption, QWidget *parent = nullptr);

    void setCaption(const QString &caption);
    /// The caption as given, whatever the button shows of it.
    QString caption() const { return m_caption; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void showCaption();
    int textWidth() const;

    QString m_caption;
};

} // namespace mirvo
