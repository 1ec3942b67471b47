#pragma once

#include "platform/Services.h"

#include <QPointer>

namespace mirvo {

class FrmAbout;

/// Owns the one About window: shown without an owner and non-modal, created and loaded
/// when it is not open, deleted when the user closes it.
class AboutWindowHost
{
public:
    explicit AboutWindowHost(const Services &services);
    ~AboutWindowHost(); // closes an open window
    Q_DISABLE_COPY_MOVE(AboutWindowHost)

    /// Creates, loads and shows the window, or raises and activates the open one.
    void show();

    /// The open window, or nullptr.
    FrmAbout *window() const;

private:
    Services m_services;
    QPointer<FrmAbout> m_window;
};

} // namespace mirvo
