// The drill window's controls, menus and keys as the window is created.
#include "forms/drill/FrmMain.h"

#include "core/AppInfo.h"
#include "core/store/WordList.h"
#include "core/store/WordStore.h"
#include "forms/about/AboutWindowHost.h"
#include "forms/drill/DrillAccess.h"
#include "forms/drill/DrillTexts.h"
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

FrmMain::FrmMain(const Services &services, const WordStore &store, const QString &site,
                 UpdateCheckMode updateCheck, QWidget *parent)
    : QMainWindow(parent)
    , m_services(services)
    , m_store(store)
    , m_site(site)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(appinfo::title);
    setWindowIcon(programIcon());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    createControls();
    createActions();
    setTabOrder();
    m_cmdBuhui->setFocus(); // first in the focus order, so a stray key cannot untick ckDlt
    // Fixed size below the menu bar, centred on the screen.
    setFixedSize(centralWidget()->width(), centralWidget()->height() + menuBar()->sizeHint().height());
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());

    m_updateCheck = std::make_unique<UpdateCheck>(m_services, *m_Label3, this, m_site, updateCheck);
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

    m_picture1 = place(new QWidget(client), "Picture1", twipsRect(0, 0, 10095, 6855));
    m_picture1->setAutoFillBackground(true);

    // Creation order decides which control is drawn on top.
    m_ckDlt = place(new OptionCheckBox(QStringLiteral("自动删除正确单词    选择中文释义："), m_picture1),
                    "ckDlt", twipsRect(2160, 3240, 7935, 255));
    m_ckDlt->setChecked(true);
    m_flWords = place(new FileListBox(m_picture1), "flWords", twipsRect(120, 480, 1815, 6210));
    m_flWords->setModel(&m_store.words());
    m_cmdOption[3] = button(m_picture1, "cmdOption_4", drilltexts::noOptions[3], twipsRect(2160, 5760, 7815, 615));
    m_cmdOption[0] = button(m_picture1, "cmdOption_1", drilltexts::noOptions[0], twipsRect(2160, 3600, 7815, 615));
    m_cmdOption[1] = button(m_picture1, "cmdOption_2", drilltexts::noOptions[1], twipsRect(2160, 4320, 7815, 615));
    m_cmdOption[2] = button(m_picture1, "cmdOption_3", drilltexts::noOptions[2], twipsRect(2160, 5040, 7815, 615));
    m_cmdShift = button(m_picture1, "cmdShift", QStringLiteral("换一个"), twipsRect(2160, 2520, 2415, 615));
    m_cmdBuhui = button(m_picture1, "cmdBuhui", QStringLiteral("不会"), twipsRect(4680, 2520, 2295, 615));

    m_Label3 = place(new ClickLabel(QStringLiteral("新版本"), m_picture1), "Label3",
                     twipsRect(2040, 120, 855, 285));
    m_Label3->setFont(drillFont());
    m_Label3->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_Label3->setTextFormat(Qt::PlainText);
    m_lbBanBen = label(m_picture1, "lbBanBen", QString(), twipsRect(120, 120, 1935, 375));
    m_lbWord = place(new ElidedLabel(drilltexts::noWord, m_picture1), "lbWord", twipsRect(2040, 840, 7695, 975));
    m_lbWord->setFont(wordFont());
    m_lbWord->setAlignment(Qt::AlignCenter);
    QPalette blue = m_lbWord->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    m_lbWord->setPalette(blue);
    m_lbYiSi = label(m_picture1, "lbYiSi", drilltexts::noMeaning, twipsRect(3840, 1920, 615, 375));
    m_lbYiSi->hide();
    m_lbRem = label(m_picture1, "lbRem", QStringLiteral("剩余单词数："), twipsRect(7080, 2640, 1815, 375));
    m_Rema = label(m_picture1, "Rema", QStringLiteral("0"), twipsRect(9000, 2640, 855, 375));

    for (int index = 1; index <= 4; ++index)
        connect(cmdOption(index), &QPushButton::clicked, this, [this, index] { cmdOption_Click(index); });
    connect(m_cmdShift, &QPushButton::clicked, this, &FrmMain::cmdShift_Click);
    connect(m_cmdBuhui, &QPushButton::clicked, this, &FrmMain::cmdBuhui_Click);
    connect(m_flWords, &FileListBox::entryClicked, this, &FrmMain::flWords_Click);
    connect(m_Label3, &ClickLabel::clicked, this, &FrmMain::Label3_Click);

    m_flWords->setAccessibleName(drillaccess::listName);
    showOptions(drilltexts::noOptions);
    connect(m_lbWord, &ClickLabel::clicked, this, &FrmMain::lbWord_Click);
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
    QMenu *wenJian = menuBar()->addMenu(QStringLiteral("文件"));
    wenJian->setObjectName(QStringLiteral("WenJian"));
    addMenuItem(wenJian, "DaoRu", QStringLiteral("导入词库"), QKeySequence(Qt::CTRL | Qt::Key_L),
                &FrmMain::DaoRu_Click);
    addMenuItem(wenJian, "cikugeshishuoming", QStringLiteral("词库格式说明"),
                QKeySequence(Qt::CTRL | Qt::Key_D), &FrmMain::cikugeshishuoming_Click);
    addMenuItem(wenJian, "zengshan", QStringLiteral("词汇管理"), QKeySequence(Qt::CTRL | Qt::Key_M),
                &FrmMain::zengshan_Click);

    QMenu *chengxu = menuBar()->addMenu(QStringLiteral("程序"));
    chengxu->setObjectName(QStringLiteral("chengxu"));
    addMenuItem(chengxu, "fangwenwangzhan", QStringLiteral("访问网站"),
                QKeySequence(Qt::CTRL | Qt::Key_B), &FrmMain::fangwenwangzhan_Click);
    addMenuItem(chengxu, "guanyu", QStringLiteral("关于"), QKeySequence(Qt::CTRL | Qt::Key_A),
                &FrmMain::guanyu_Click);

    for (int index = 1; index <= 4; ++index)
        addKeys(QStringLiteral("answerKey_%1").arg(index), drillaccess::answerKeys(index),
                [this, index] { cmdOption(index)->click(); });
    addKeys(QStringLiteral("speakKey"), {drillaccess::speakKey()}, [this] { lbWord_Click(); });
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
    QWidget *const order[] = {m_cmdBuhui, m_cmdShift, cmdOption(3), cmdOption(2), cmdOption(1),
                              cmdOption(4), m_flWords, m_ckDlt};
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

} // namespace mirvo
