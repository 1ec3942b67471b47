// The drill window's controls, menus and keys as the window is created.
#include "forms/drill/FrmMain.h"

#include "core/AppInfo.h"
#include "core/drill/DrillTexts.h"
#include "core/store/WordList.h"
#include "core/store/WordStore.h"
#include "forms/about/AboutWindowHost.h"
#include "forms/drill/DrillAccess.h"
#include "forms/update/UpdateCheck.h"
#include "platform/Speech.h"
#include "widgets/ClickLabel.h"
#include "widgets/ElidedLabel.h"
#include "widgets/FileListBox.h"
#include "widgets/OptionCheckBox.h"
#include "widgets/ProgramIcon.h"
#include "widgets/Twips.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>

namespace mirvo {

namespace {

const QColor lightGreen(192, 255, 192);

QFont drillFont()
{
    QFont font(QStringLiteral("宋体"));
    font.setPointSizeF(14.25);
    return font;
}

QFont wordFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(42);
    return font;
}

using twips::place;

QRect twipsRect(int left, int top, int width, int height)
{
    return twips::rect(left, top, width, height);
}

QLabel *label(QWidget *parent, const char *name, const QString &text, const QRect &geometry)
{
    auto *result = place(new QLabel(text, parent), name, geometry);
    result->setFont(drillFont());
    result->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    result->setTextFormat(Qt::PlainText); // words and meanings come from files: never markup
    return result;
}

CommandButton *button(QWidget *parent, const char *name, const QString &text, const QRect &geometry)
{
    auto *result = place(new CommandButton(text, parent), name, geometry);
    result->setFont(drillFont());
    return result;
}

} // namespace

FrmMain::FrmMain(const Services &services, WordStore &store, const QString &site,
                 UpdateCheckMode updateCheck, QWidget *parent)
    : QMainWindow(parent)
    , m_services(services)
    , m_store(store)
    , m_drill(store, services.random)
    , m_site(site)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(appinfo::title);
    setWindowIcon(programIcon());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    createControls();
    bindDrill();
    createActions();
    setTabOrder();
    m_dontKnowButton->setFocus(); // first in the focus order, so a stray key cannot untick the option
    // Fixed size below the menu bar as laid out (some styles make the bar a line taller than
    // its size hint), centred on the screen.
    const int clientWidth = centralWidget()->width();
    setFixedSize(clientWidth, centralWidget()->height() + menuBar()->heightForWidth(clientWidth));
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());

    m_updateCheck = std::make_unique<UpdateCheck>(m_services, *m_updateStatus, this, m_site, updateCheck);
    connect(m_updateStatus, &ClickLabel::clicked, m_updateCheck.get(), &UpdateCheck::upgradeIfOffered);
    m_about = std::make_unique<AboutWindowHost>(m_services);
}

FrmMain::~FrmMain() = default;

void FrmMain::createControls()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(twips::toPixels(10260), twips::toPixels(6945));
    // Dark text on the fixed green whatever the desktop theme; the list and the buttons
    // draw their own backgrounds and follow the theme.
    QPalette green = client->palette();
    green.setColor(QPalette::Window, lightGreen);
    green.setColor(QPalette::WindowText, Qt::black);
    client->setPalette(green);
    client->setAutoFillBackground(true);
    setCentralWidget(client);

    m_panel = place(new QWidget(client), "Picture1", twipsRect(0, 0, 10095, 6855));
    m_panel->setAutoFillBackground(true);

    // Creation order decides which control is drawn on top.
    m_deleteOption = place(new OptionCheckBox(QStringLiteral("自动删除正确单词    选择中文释义："), m_panel),
                           "ckDlt", twipsRect(2160, 3240, 7935, 255));
    m_deleteOption->setChecked(true);
    m_wordList = place(new FileListBox(m_panel), "flWords", twipsRect(120, 480, 1815, 6210));
    m_wordList->setModel(&m_store.words());
    m_answerButtons[3] = button(m_panel, "cmdOption_4", drilltexts::noOptions[3], twipsRect(2160, 5760, 7815, 615));
    m_answerButtons[0] = button(m_panel, "cmdOption_1", drilltexts::noOptions[0], twipsRect(2160, 3600, 7815, 615));
    m_answerButtons[1] = button(m_panel, "cmdOption_2", drilltexts::noOptions[1], twipsRect(2160, 4320, 7815, 615));
    m_answerButtons[2] = button(m_panel, "cmdOption_3", drilltexts::noOptions[2], twipsRect(2160, 5040, 7815, 615));
    m_anotherWordButton = button(m_panel, "cmdShift", QStringLiteral("换一个"), twipsRect(2160, 2520, 2415, 615));
    m_dontKnowButton = button(m_panel, "cmdBuhui", QStringLiteral("不会"), twipsRect(4680, 2520, 2295, 615));

    m_updateStatus = place(new ClickLabel(QStringLiteral("新版本"), m_panel), "Label3",
                           twipsRect(2040, 120, 855, 285));
    m_updateStatus->setFont(drillFont());
    m_updateStatus->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_updateStatus->setTextFormat(Qt::PlainText);
    m_versionLabel = label(m_panel, "lbBanBen", QString(), twipsRect(120, 120, 1935, 375));
    m_wordLabel = place(new ElidedLabel(drilltexts::noWord, m_panel), "lbWord", twipsRect(2040, 840, 7695, 975));
    m_wordLabel->setFont(wordFont());
    m_wordLabel->setAlignment(Qt::AlignCenter);
    QPalette blue = m_wordLabel->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    m_wordLabel->setPalette(blue);
    m_meaningLabel = label(m_panel, "lbYiSi", drilltexts::noMeaning, twipsRect(3840, 1920, 615, 375));
    m_meaningLabel->hide();
    m_countCaption = label(m_panel, "lbRem", QStringLiteral("剩余单词数："), twipsRect(7080, 2640, 1815, 375));
    m_countLabel = label(m_panel, "Rema", QStringLiteral("0"), twipsRect(9000, 2640, 855, 375));

    for (int index = 1; index <= 4; ++index)
        connect(answerButton(index), &QPushButton::clicked, this, [this, index] { answer(index); });
    connect(m_anotherWordButton, &QPushButton::clicked, &m_drill, &Drill::askAnotherWord);
    connect(m_dontKnowButton, &QPushButton::clicked, &m_drill, &Drill::dontKnow);
    connect(m_wordList, &FileListBox::entryClicked, this, &FrmMain::askSelectedWord);

    m_wordList->setAccessibleName(drillaccess::listName);
    showOptions(drilltexts::noOptions);
    connect(m_wordLabel, &ClickLabel::clicked, this, &FrmMain::speakWord);
    connect(&m_services.speech, &Speech::availableChanged, this, &FrmMain::offerSpeech);
    offerSpeech();
}

QAction *FrmMain::addMenuItem(QMenu *menu, const char *name, const QString &caption,
                              const QKeySequence &shortcut, void (FrmMain::*handler)())
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    // The shortcut works from every control of the window, the word list included.
    action->setShortcutContext(Qt::WindowShortcut);
    addAction(action);
    connect(action, &QAction::triggered, this, handler);
    return action;
}

void FrmMain::createActions()
{
    QMenu *fileMenu = menuBar()->addMenu(QStringLiteral("文件"));
    fileMenu->setObjectName(QStringLiteral("WenJian"));
    addMenuItem(fileMenu, "DaoRu", QStringLiteral("导入词库"), QKeySequence(Qt::CTRL | Qt::Key_L),
                &FrmMain::importList);
    addMenuItem(fileMenu, "cikugeshishuoming", QStringLiteral("词库格式说明"),
                QKeySequence(Qt::CTRL | Qt::Key_D), &FrmMain::showFormatHelp);
    addMenuItem(fileMenu, "zengshan", QStringLiteral("词汇管理"), QKeySequence(Qt::CTRL | Qt::Key_M),
                &FrmMain::openStoreFolder);

    QMenu *programMenu = menuBar()->addMenu(QStringLiteral("程序"));
    programMenu->setObjectName(QStringLiteral("chengxu"));
    addMenuItem(programMenu, "fangwenwangzhan", QStringLiteral("访问网站"),
                QKeySequence(Qt::CTRL | Qt::Key_B), &FrmMain::openWebSite);
    addMenuItem(programMenu, "guanyu", QStringLiteral("关于"), QKeySequence(Qt::CTRL | Qt::Key_A),
                &FrmMain::showAbout);

    for (int index = 1; index <= 4; ++index)
        addKeys(QStringLiteral("answerKey_%1").arg(index), drillaccess::answerKeys(index),
                [this, index] { answerButton(index)->click(); });
    addKeys(QStringLiteral("speakKey"), {drillaccess::speakKey()}, [this] { speakWord(); });
    addKeys(QStringLiteral("undoKey"), {drillaccess::undoKey()}, [this] { m_drill.takeBackAnswer(); });
}

void FrmMain::addKeys(const QString &name, const QList<QKeySequence> &keys,
                      const std::function<void()> &handler)
{
    // Not in a menu: the window shows nothing new. A modal dialog blocks these, as it blocks the menus.
    auto *action = new QAction(this);
    action->setObjectName(name);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    action->setAutoRepeat(false); // a held key answers once
    addAction(action);
    connect(action, &QAction::triggered, this, handler);
}

void FrmMain::setTabOrder()
{
    QWidget *const order[] = {m_dontKnowButton, m_anotherWordButton, answerButton(3), answerButton(2),
                              answerButton(1), answerButton(4), m_wordList, m_deleteOption};
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

} // namespace mirvo
