#pragma once

#include "core/drill/Drill.h"
#include "forms/update/UpdateCheck.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "widgets/CommandButton.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QMenu;

namespace mirvo {

class AboutWindowHost;
class ClickLabel;
class ElidedLabel;
class FileListBox;
class OptionCheckBox;
class WordStore;

/// The drill window: shows what its Drill reports, hands it the user's clicks and keys, and
/// shows the messages it asks for. Controls keep their design names as object names.
class FrmMain : public QMainWindow
{
    Q_OBJECT

public:
    FrmMain(const Services &services, WordStore &store, const QString &site,
            UpdateCheckMode updateCheck = UpdateCheckMode::On, QWidget *parent = nullptr);
    ~FrmMain() override;

    // The menu commands, public so that tests can run them without the menu.
    void importList();
    void showFormatHelp();
    void openStoreFolder();
    void openWebSite();
    void showAbout();

    /// Answer button 1..4.
    CommandButton *answerButton(int index) const { return m_answerButtons.at(index - 1); }
    FileListBox *wordList() const { return m_wordList; }
    Drill &drill() { return m_drill; }
    AboutWindowHost &aboutHost() const { return *m_about; }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void load();
    void createControls();
    void bindDrill();
    void createActions();
    /// Keys that work from every control of the window, without a menu item.
    void addKeys(const QString &name, const QList<QKeySequence> &keys,
                 const std::function<void()> &handler);
    void setTabOrder();
    QAction *addMenuItem(QMenu *menu, const char *name, const QString &caption,
                         const QKeySequence &shortcut, void (FrmMain::*handler)());
    void answer(int index);
    void askSelectedWord();
    void speakWord();
    void showQuestion(const Question &question);
    void showCount(int count);
    void showOptions(const std::array<QString, 4> &meanings);
    void showWord(const QString &word);
    void offerSpeech();
    void showDrillMessage(const DrillMessage &message);
    void showFailure(const QString &message);
    MessageAnswer message(const QString &text, const QString &caption, MessageIcon icon,
                          MessageButtons buttons);

    Services m_services;
    WordStore &m_store;
    Drill m_drill;
    QString m_site;
    bool m_loaded = false;

    QWidget *m_panel = nullptr;
    OptionCheckBox *m_deleteOption = nullptr;
    FileListBox *m_wordList = nullptr;
    std::array<CommandButton *, 4> m_answerButtons{};
    CommandButton *m_anotherWordButton = nullptr;
    CommandButton *m_dontKnowButton = nullptr;
    ClickLabel *m_updateStatus = nullptr;
    QLabel *m_versionLabel = nullptr;
    ElidedLabel *m_wordLabel = nullptr;
    QLabel *m_meaningLabel = nullptr; ///< the design's hidden meaning label; it never holds one
    QLabel *m_countCaption = nullptr;
    QLabel *m_countLabel = nullptr;

    std::unique_ptr<UpdateCheck> m_updateCheck;
    std::unique_ptr<AboutWindowHost> m_about;
};

} // namespace mirvo
