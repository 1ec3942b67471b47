#include "drill/FrmMain.h"

#include "about/AboutWindowHost.h"
#include "AppInfo.h"
#include "drill/DrillAccess.h"
#include "platform/ClickLabel.h"
#include "platform/ElidedLabel.h"
#include "platform/FileListBox.h"
#include "platform/OptionCheckBox.h"
#include "platform/ProgramEnd.h"
#include "platform/ProgramIcon.h"
#include "platform/RandomSource.h"
#include "platform/Speech.h"
#include "platform/Twips.h"
#include "settings/DeleteOption.h"
#include "store/WordStore.h"
#include "update/UpdateCheck.h"

#include <QAccessible>
#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>

namespace mirvo {

namespace {

const QColor lightGreen(192, 255, 192);

// What the question controls show before the first question.
const QString noWordText = QStringLiteral("单词");
const QString noMeaningText = QStringLiteral("意思");
const QString noOptionTexts[] = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                                 QStringLiteral("D")};

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
    m_cmdOption[3] = button(m_picture1, "cmdOption_4", noOptionTexts[3], twipsRect(2160, 5760, 7815, 615));
    m_cmdOption[0] = button(m_picture1, "cmdOption_1", noOptionTexts[0], twipsRect(2160, 3600, 7815, 615));
    m_cmdOption[1] = button(m_picture1, "cmdOption_2", noOptionTexts[1], twipsRect(2160, 4320, 7815, 615));
    m_cmdOption[2] = button(m_picture1, "cmdOption_3", noOptionTexts[2], twipsRect(2160, 5040, 7815, 615));
    m_cmdShift = button(m_picture1, "cmdShift", QStringLiteral("换一个"), twipsRect(2160, 2520, 2415, 615));
    m_cmdBuhui = button(m_picture1, "cmdBuhui", QStringLiteral("不会"), twipsRect(4680, 2520, 2295, 615));

    m_Label3 = place(new ClickLabel(QStringLiteral("新版本"), m_picture1), "Label3",
                     twipsRect(2040, 120, 855, 285));
    m_Label3->setFont(drillFont());
    m_Label3->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_Label3->setTextFormat(Qt::PlainText);
    m_lbBanBen = label(m_picture1, "lbBanBen", QString(), twipsRect(120, 120, 1935, 375));
    m_lbWord = place(new ElidedLabel(noWordText, m_picture1), "lbWord", twipsRect(2040, 840, 7695, 975));
    m_lbWord->setFont(wordFont());
    m_lbWord->setAlignment(Qt::AlignCenter);
    QPalette blue = m_lbWord->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    m_lbWord->setPalette(blue);
    m_lbYiSi = label(m_picture1, "lbYiSi", noMeaningText, twipsRect(3840, 1920, 615, 375));
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
    for (int index = 1; index <= 4; ++index)
        cmdOption(index)->setAccessibleName(drillaccess::answerName(index, noOptionTexts[index - 1]));
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

void FrmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_loaded)
        return;
    m_loaded = true;
    Form_Load();
}

void FrmMain::Form_Load()
{
    m_lbBanBen->setText(QStringLiteral("版本：%1.%2").arg(appinfo::versionMajor).arg(appinfo::versionMinor));
    m_flWords->setFolder(m_store.folder());
    if (m_flWords->count() > 0)
        cmdShift_Click();
    m_ckDlt->setValue(deleteoption::restore(m_services.settings, m_ckDlt->value()));
    m_updateCheck->start();
}

void FrmMain::cmdShift_Click()
{
    Huan();
}

void FrmMain::Huan()
{
    m_services.random.reseed();
    const int count = m_flWords->count();
    if (count == 0)
        return;
    // Selecting from code does not raise the list's own signal: the question is built once.
    m_flWords->select(randomPosition(m_services.random.next(), count));
    flWords_Click();
}

void FrmMain::flWords_Click()
{
    const QString word = m_flWords->selectedName();
    if (word.isEmpty())
        return;
    const int count = m_flWords->count();
    m_Rema->setText(QString::number(count));
    showWord(word);
    const auto meaning = readMeaning(word);
    if (!meaning) {
        clearQuestion();
        return;
    }
    m_lbYiSi->setText(*meaning);

    m_services.random.reseed();
    const int right = randomPosition(m_services.random.next(), 4) + 1;
    cmdOption(right)->setCaption(*meaning);
    cmdOption(right)->setAccessibleName(drillaccess::answerName(right, *meaning));
    for (int index = 1; index <= 4; ++index) {
        if (index == right)
            continue;
        const QString other = m_flWords->nameAt(randomPosition(m_services.random.next(), count));
        const auto otherMeaning = readMeaning(other);
        if (!otherMeaning) {
            clearQuestion();
            return;
        }
        cmdOption(index)->setCaption(*otherMeaning);
        cmdOption(index)->setAccessibleName(drillaccess::answerName(index, *otherMeaning));
    }
}

void FrmMain::clearQuestion()
{
    // Half a question would judge one word's meaning against another: show none, and the
    // count of the listing that the failed read refreshed.
    m_Rema->setText(QString::number(m_flWords->count()));
    showWord(noWordText);
    m_lbYiSi->setText(noMeaningText);
    for (int index = 1; index <= 4; ++index) {
        cmdOption(index)->setCaption(noOptionTexts[index - 1]);
        cmdOption(index)->setAccessibleName(drillaccess::answerName(index, noOptionTexts[index - 1]));
    }
}

void FrmMain::showWord(const QString &word)
{
    m_services.speech.stop(); // the old word must not run on into the new question
    const bool sameWord = m_lbWord->text() == word;
    m_lbWord->setWholeText(word); // a changed text tells a screen reader
    offerSpeech();
    if (!sameWord)
        return;
    // The same word again is a new question too: announce it as a changed text would be.
    QAccessibleEvent event(m_lbWord, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

void FrmMain::offerSpeech()
{
    const bool cut = m_lbWord->shownText() != m_lbWord->text();
    m_lbWord->setToolTip(drillaccess::wordTip(cut ? m_lbWord->text() : QString(), m_services.speech.available()));
}

void FrmMain::lbWord_Click()
{
    if (m_lbWord->text() == noWordText || !m_services.speech.available())
        return;
    m_services.speech.say(m_lbWord->text());
}

void FrmMain::cmdOption_Click(int index)
{
    // The meaning itself, not what the button shows of it.
    if (cmdOption(index)->caption() != m_lbYiSi->text()) {
        cmdBuhui_Click();
        return;
    }
    QString error;
    if (m_ckDlt->value() == 1 && !m_store.deleteEntry(m_lbWord->text(), &error))
        showFailure(error);
    m_flWords->refresh();
    m_Rema->setText(QString::number(m_flWords->count()));
    if (m_flWords->count() == 0) {
        message(QStringLiteral("恭喜你，全部背掉了！"), MessageIcon::Information);
        if (!m_store.removeStore(&error))
            showFailure(error);
        m_services.programEnd.endNow();
        return;
    }
    message(QStringLiteral("恭喜！正确。"), MessageIcon::Information);
    Huan();
}

void FrmMain::cmdBuhui_Click()
{
    message(m_lbWord->text() + QLatin1Char(' ') + m_lbYiSi->text(), MessageIcon::Exclamation);
    Huan();
}

void FrmMain::Label3_Click()
{
    m_updateCheck->label3Click();
}

void FrmMain::closeEvent(QCloseEvent *event)
{
    const MessageAnswer answer =
        m_services.dialogs.message(this, QStringLiteral("确定要退出？感谢使用。"), appinfo::title,
                                   MessageIcon::Question, MessageButtons::YesNo);
    if (answer != MessageAnswer::Yes) {
        event->ignore();
        return;
    }
    QString error;
    if (!deleteoption::save(m_services.settings, m_ckDlt->value(), &error))
        showFailure(QStringLiteral("“自动删除正确单词”的设置没有保存：%1").arg(error));
    event->accept();
    m_services.programEnd.quit();
}

std::optional<QString> FrmMain::readMeaning(const QString &word)
{
    QString error;
    auto meaning = m_store.readMeaning(word, &error);
    if (!meaning) {
        // The entry changed on disk since the last listing: show the disk as it is now.
        m_flWords->refresh();
        showFailure(QStringLiteral("出题失败。%1").arg(error));
    }
    return meaning;
}

void FrmMain::showFailure(const QString &text)
{
    message(text, MessageIcon::Exclamation);
}

void FrmMain::message(const QString &text, MessageIcon icon)
{
    m_services.dialogs.message(this, text, appinfo::title, icon, MessageButtons::Ok);
}

} // namespace mirvo
