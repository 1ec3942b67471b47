#pragma once

#include "platform/Services.h"

#include <QDialog>

class QLabel;

namespace mirvo {

/// The About window: title, version, description and a button that starts the
/// system-information tool. Controls keep their design names as object names; the
/// etched separator is the two lines "Line1_0" (white) and "Line1_1" (grey).
/// loadTexts() fills the texts once after construction (AboutWindowHost does this).
class FrmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit FrmAbout(const Services &services, QWidget *parent = nullptr);

    void loadTexts();
    /// Starts the system-information tool without waiting for it, or says it is not available.
    void startSystemInfo();

private:
    void createControls();

    Services m_services;
    QLabel *m_lblDescription = nullptr;
    QLabel *m_lblTitle = nullptr;
    QLabel *m_lblVersion = nullptr;
};

} // namespace mirvo
