#include "forms/about/FrmAbout.h"

#include "core/AppInfo.h"
#include "forms/about/AboutTexts.h"
#include "platform/Dialogs.h"
#include "platform/Shell.h"
#include "platform/SystemInfoTool.h"
#include "widgets/ProgramIcon.h"
#include "widgets/Twips.h"

#include <QLabel>
#include <QPushButton>

namespace mirvo {

namespace {

using twips::place;
using twips::toPixels;

QRect twipsRect(int left, int top, int width, int height)
{
    return twips::rect(left, top, width, height);
}

QLabel *label(QWidget *parent, const char *name, const QString &text, const QRect &geometry,
              bool blackText)
{
    auto *result = place(new QLabel(text, parent), name, geometry);
    result->setTextFormat(Qt::PlainText);
    result->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    result->setWordWrap(true);
    if (blackText) {
        QPalette black = result->palette();
        black.setColor(QPalette::WindowText, Qt::black);
        result->setPalette(black);
    }
    return result;
}

/// A straight horizontal line from (x1, y) to (x2, y) in twips, drawn as a filled strip.
QWidget *line(QWidget *parent, const char *name, int x1, int x2, int y, int thickness,
              const QColor &colour)
{
    const int left = toPixels(x1);
    auto *result = place(new QWidget(parent), name,
                         QRect(left, toPixels(y), toPixels(x2) - left, thickness));
    QPalette palette = result->palette();
    palette.setColor(QPalette::Window, colour);
    result->setPalette(palette);
    result->setAutoFillBackground(true);
    return result;
}

} // namespace

FrmAbout::FrmAbout(const Services &services, QWidget *parent)
    : QDialog(parent)
    , m_services(services)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("关于我的应用程序"));
    setWindowIcon(programIcon());
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                   | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(toPixels(5730), toPixels(3555));
    createControls();
}

void FrmAbout::createControls()
{
    auto *picIcon = place(new QLabel(this), "picIcon", twipsRect(240, 240, 480, 480));
    picIcon->setPixmap(programIconPixmap());
    picIcon->setFocusPolicy(Qt::TabFocus); // in the tab order, as designed

    auto *cmdOK = place(new QPushButton(QStringLiteral("确定"), this), "cmdOK",
                        twipsRect(4125, 2625, 1500, 345));
    cmdOK->setDefault(true);
    auto *cmdSysInfo = place(new QPushButton(QStringLiteral("系统信息(&S)..."), this), "cmdSysInfo",
                             twipsRect(4140, 3075, 1485, 345));

    line(this, "Line1_1", 90, 5654, 2445, 1, QColor(128, 128, 128));
    m_lblDescription = label(this, "lblDescription", about::designedDescription,
                             twipsRect(1050, 1125, 3885, 1170), true);
    m_lblTitle = label(this, "lblTitle", QStringLiteral("应用程序标题"),
                       twipsRect(1050, 240, 3885, 480), true);
    line(this, "Line1_0", 105, 5654, 2460, 2, Qt::white);
    m_lblVersion = label(this, "lblVersion", QStringLiteral("版本"),
                         twipsRect(1050, 780, 3885, 225), false);
    label(this, "lblDisclaimer", QStringLiteral("Mirvo工作室 出品"),
          twipsRect(255, 2625, 3630, 825), true);

    // Escape reaches reject(), which closes the window just as cmdOK does.
    connect(cmdOK, &QPushButton::clicked, this, &FrmAbout::close);
    connect(cmdSysInfo, &QPushButton::clicked, this, &FrmAbout::startSystemInfo);

    setTabOrder(cmdOK, picIcon);
    setTabOrder(picIcon, cmdSysInfo);
    cmdOK->setFocus();
}

void FrmAbout::loadTexts()
{
    setWindowTitle(about::captionText(appinfo::title));
    m_lblVersion->setText(about::versionText(appinfo::versionMajor, appinfo::versionMinor,
                                             appinfo::versionRevision));
    m_lblTitle->setText(appinfo::title);
    m_lblDescription->setText(about::descriptionText(m_lblDescription->text()));
}

void FrmAbout::startSystemInfo()
{
    const std::optional<QString> command = m_services.systemInfo.find();
    QString error;
    if (command && m_services.shell.startProgram(*command, {}, WindowStyle::NormalFocus, &error))
        return;
    // Whatever went wrong, the user gets the one message; the cause is not shown.
    m_services.dialogs.message(this, QStringLiteral("此时系统信息不可用"), appinfo::title, MessageIcon::None,
                               MessageButtons::Ok);
}

} // namespace mirvo
