#pragma once

#include <QCheckBox>

namespace mirvo {

/// A check box that a click anywhere in its rectangle toggles (its accessible extent is
/// that rectangle too), and whose value is the number a setting stores: 0 unchecked,
/// 1 checked, 2 grey. The grey state is shown only when set as a value; a click on a grey
/// box checks it.
class OptionCheckBox : public QCheckBox
{
    Q_OBJECT

public:
    explicit OptionCheckBox(const QString &text, QWidget *parent = nullptr);

    int value() const;
    /// 0, 1 or 2; any other number leaves the box as it is.
    void setValue(int value);

protected:
    void nextCheckState() override;
};

} // namespace mirvo
