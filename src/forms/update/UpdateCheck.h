#pragma once

#include "platform/Services.h"

#include <QObject>
#include <QString>

class QWidget;

namespace mirvo {

class ClickLabel;

/// Whether the program asks the maker's site for its latest version at all. A packaged
/// build leaves it off: there the system's package manager brings new versions.
enum class UpdateCheckMode { On, Off };

/// Asks the maker's web site for the latest version once per start, shows the outcome in
/// the status label and offers the upgrade: opening the download page and ending the program.
class UpdateCheck : public QObject
{
    Q_OBJECT

public:
    /// Off empties the status label at once and makes start() and upgradeIfOffered() do nothing.
    UpdateCheck(const Services &services, ClickLabel &statusLabel, QWidget *dialogParent,
                const QString &site, UpdateCheckMode mode = UpdateCheckMode::On,
                QObject *parent = nullptr);

    /// Starts loading the check page; the outcome arrives through the loader.
    void start();
    /// The status label's click: upgrades only while the label offers it.
    void upgradeIfOffered();

    /// Holds the check while another message box is up: a page completed then is judged
    /// only once every hold is gone, from the event loop, so that its question never opens
    /// inside that box nor ends the program before the step that showed it has finished.
    class Hold
    {
    public:
        explicit Hold(UpdateCheck &check);
        ~Hold();
        Q_DISABLE_COPY_MOVE(Hold)

    private:
        UpdateCheck &m_check;
    };

    /// How far the check has come; the status label shows it.
    enum class State { NotStarted, Checking, UpgradeOffered, Latest, TestMode, Failed, Off };
    State state() const { return m_state; }

    static QString checkPageAddress(const QString &site);
    static QString downloadPageAddress(const QString &site);
    static QString homePageAddress(const QString &site);

private:
    void onDownloadBegin();
    void onDownloadComplete();
    void evaluateHeldPage();
    /// The evaluation; false when any step failed.
    bool evaluate();
    [[nodiscard]] bool saveReminderFlag(const QString &value, QString *error);
    void show(State state);

    Services m_services;
    ClickLabel &m_label;
    QWidget *m_dialogParent;
    QString m_site;
    UpdateCheckMode m_mode;
    State m_state = State::NotStarted;
    int m_holds = 0;
    bool m_pageHeld = false; ///< a completion arrived while held
};

} // namespace mirvo
