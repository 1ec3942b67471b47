#include "forms/update/UpdateCheck.h"

#include "core/AppInfo.h"
#include "core/update/VersionRules.h"
#include "platform/Dialogs.h"
#include "platform/PageLoader.h"
#include "platform/ProgramEnd.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"
#include "widgets/ClickLabel.h"

namespace mirvo {

namespace {

const QString upgradeQuestion = QStringLiteral("有新版本，是否升级？单击取消不再提醒。");

const QString settingsSection = QStringLiteral("settings");
const QString reminderKey = QStringLiteral("btx");
const QString remindAgain = QStringLiteral("0");
const QString neverRemind = QStringLiteral("1");

QString siteRoot(const QString &site)
{
    QString root = site;
    while (root.endsWith(QLatin1Char('/')))
        root.chop(1);
    return root;
}

/// The status label's text in each state; NotStarted keeps the layout's own caption.
QString caption(UpdateCheck::State state)
{
    switch (state) {
    case UpdateCheck::State::Checking: return QStringLiteral("正在检测新版本。。。。。");
    case UpdateCheck::State::UpgradeOffered: return QStringLiteral("有新版本，点此升级");
    case UpdateCheck::State::Latest: return QStringLiteral("当前是最新版本。");
    case UpdateCheck::State::TestMode: return QStringLiteral("测试模式");
    case UpdateCheck::State::Failed: return QStringLiteral("获取版本信息失败，请检查网络。");
    case UpdateCheck::State::NotStarted:
    case UpdateCheck::State::Off: break;
    }
    return {};
}

/// Our own version as the check compares it: major.minor, the revision left out.
QString localVersion()
{
    return QString::number(appinfo::versionMajor) + QLatin1Char('.')
        + QString::number(appinfo::versionMinor);
}

} // namespace

UpdateCheck::UpdateCheck(const Services &services, ClickLabel &statusLabel, QWidget *dialogParent,
                         const QString &site, UpdateCheckMode mode, QObject *parent)
    : QObject(parent)
    , m_services(services)
    , m_label(statusLabel)
    , m_dialogParent(dialogParent)
    , m_site(site)
    , m_mode(mode)
{
    if (m_mode == UpdateCheckMode::Off) {
        // No check will ever report: the layout's "新版本" would promise one.
        show(State::Off);
        return;
    }
    connect(&m_services.pageLoader, &PageLoader::downloadBegin, this, &UpdateCheck::onDownloadBegin);
    connect(&m_services.pageLoader, &PageLoader::downloadComplete, this,
            &UpdateCheck::onDownloadComplete);
}

void UpdateCheck::start()
{
    if (m_mode == UpdateCheckMode::Off)
        return;
    m_services.pageLoader.navigate(checkPageAddress(m_site));
}

void UpdateCheck::upgradeIfOffered()
{
    if (m_state != State::UpgradeOffered)
        return;
    QString error;
    if (!saveReminderFlag(remindAgain, &error)) {
        // Without the reset the question would never come back: stay, and say why.
        m_services.dialogs.message(m_dialogParent,
                                   QStringLiteral("无法保存升级提醒设置：%1").arg(error),
                                   appinfo::title, MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
    m_services.shell.openAddress(downloadPageAddress(m_site));
    m_services.programEnd.endNow();
}

QString UpdateCheck::checkPageAddress(const QString &site)
{
    return siteRoot(site) + QStringLiteral("/archiver/?tid-81.html");
}

QString UpdateCheck::downloadPageAddress(const QString &site)
{
    return siteRoot(site) + QStringLiteral("/forum.php?mod=viewthread&tid=81");
}

QString UpdateCheck::homePageAddress(const QString &site)
{
    return siteRoot(site) + QLatin1Char('/');
}

void UpdateCheck::onDownloadBegin()
{
    show(State::Checking);
}

void UpdateCheck::onDownloadComplete()
{
    if (m_holds > 0) {
        m_pageHeld = true;
        return;
    }
    if (!evaluate())
        show(State::Failed);
}

void UpdateCheck::evaluateHeldPage()
{
    if (!m_pageHeld)
        return;
    m_pageHeld = false;
    onDownloadComplete(); // held again meanwhile, it waits for the next release
}

UpdateCheck::Hold::Hold(UpdateCheck &check)
    : m_check(check)
{
    ++m_check.m_holds;
}

UpdateCheck::Hold::~Hold()
{
    if (--m_check.m_holds == 0 && m_check.m_pageHeld)
        QMetaObject::invokeMethod(&m_check, &UpdateCheck::evaluateHeldPage, Qt::QueuedConnection);
}

bool UpdateCheck::evaluate()
{
    const std::optional<QString> title = m_services.pageLoader.title();
    if (!title)
        return false;
    const auto order = versionrules::announcedOrder(*title, localVersion());
    if (!order)
        return true; // the title announces nothing: the label keeps its caption

    switch (*order) {
    case versionrules::Order::RemoteNewer: {
        m_services.pageLoader.stop();
        const auto flag = versionrules::strictNumber(
            m_services.settings.read(appinfo::title, settingsSection, reminderKey, remindAgain));
        if (!flag)
            return false;
        if (*flag != 1.0) {
            const MessageAnswer answer = m_services.dialogs.message(
                m_dialogParent, upgradeQuestion, appinfo::title, MessageIcon::Question,
                MessageButtons::YesNoCancel);
            if (answer == MessageAnswer::Yes) {
                m_services.shell.openAddress(downloadPageAddress(m_site));
                m_services.programEnd.endNow();
                return true;
            }
            if (answer == MessageAnswer::Cancel && !saveReminderFlag(neverRemind, nullptr))
                return false;
        }
        show(State::UpgradeOffered);
        return true;
    }
    case versionrules::Order::Same:
        show(State::Latest);
        return true;
    case versionrules::Order::LocalNewer:
        show(State::TestMode);
        return true;
    }
    return true;
}

void UpdateCheck::show(State state)
{
    m_state = state;
    m_label.setTextFitted(caption(state));
}

bool UpdateCheck::saveReminderFlag(const QString &value, QString *error)
{
    return m_services.settings.save(appinfo::title, settingsSection, reminderKey, value, error);
}

} // namespace mirvo
