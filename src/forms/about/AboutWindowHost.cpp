#include "forms/about/AboutWindowHost.h"

#include "forms/about/FrmAbout.h"

namespace mirvo {

AboutWindowHost::AboutWindowHost(const Services &services)
    : m_services(services)
{
}

AboutWindowHost::~AboutWindowHost()
{
    delete m_window.data();
}

void AboutWindowHost::show()
{
    if (!m_window) {
        auto *window = new FrmAbout(m_services);
        window->setAttribute(Qt::WA_DeleteOnClose);
        // The program ends with its main window; an open About window must not keep it going.
        window->setAttribute(Qt::WA_QuitOnClose, false);
        // Every way of closing ends in done(); from then on the window is gone for us,
        // even while its deletion is still pending.
        QObject::connect(window, &QDialog::finished, window, [this] { m_window.clear(); });
        window->loadTexts();
        m_window = window;
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

FrmAbout *AboutWindowHost::window() const
{
    return m_window;
}

} // namespace mirvo
