#pragma once

#include "forms/drill/Question.h"
#include "forms/update/UpdateCheck.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "widgets/CommandButton.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>
#include <optional>

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

/// The drill window. Controls keep their design names (also their object names);
/// handlers are named after control and event and call each other as the drill needs.
class FrmMain : public QMainWindow
{
    Q_OBJECT

public:
    FrmMain(const Services &services, const WordStore &store, const QString &site,
            UpdateCheckMode updateCheck = UpdateCheckMode::On, QWidget *parent = nullptr);
    ~FrmMain() override;

    // Handlers, public so the drill can be driven step by step.
    void Form_Load();
    void Huan();
    void flWords_Click();
    void cmdShift_Click();
    void cmdBuhui_Click();
    void cmdOption_Click(int index);
    void Label3_Click();
    void lbWord_Click();

    void DaoRu_Click();
    void cikugeshishuoming_Click();
    void zengshan_Click();
    void fangwenwangzhan_Click();
    void guanyu_Click();

    /// Answer button 1..4.
    CommandButton *cmdOption(int index) const { return m_cmdOption.at(index - 1); }
    FileListBox *flWords() const { return m_flWords; }
    /// The question asked now; its meaning is not in any control until it is shown.
    const Question &question() const { return m_question; }
    AboutWindowHost &aboutHost() const { return *m_about; }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();
    void createActions();
    /// Keys that work from every control of the window, without a menu item.
    void addKeys(const QString &name, const QList<QKeySequence> &keys,
                 const std::function<void()> &handler);
    void setTabOrder();
    QAction *addMenuItem(QMenu *menu, const char *name, const QString &caption,
                         const QKeySequence &shortcut, void (FrmMain::*handler)());
    enum class Reading { Changes, Whole };
    /// Brings the word list up to date with the store; when the store cannot be read, says
    /// why and shows no question.
    bool readWords(Reading reading);
    void showQuestion(const Question &question);
    void clearQuestion();
    void showOptions(const std::array<QString, 4> &meanings);
    void showWord(const QString &word);
    void offerSpeech();
    void showFailure(const QString &message);
    void message(const QString &text, MessageIcon icon);

    Services m_services;
    const WordStore &m_store;
    QString m_site;
    bool m_loaded = false;

    QWidget *m_picture1 = nullptr;
    OptionCheckBox *m_ckDlt = nullptr;
    FileListBox *m_flWords = nullptr;
    std::array<CommandButton *, 4> m_cmdOption{};
    CommandButton *m_cmdShift = nullptr;
    CommandButton *m_cmdBuhui = nullptr;
    ClickLabel *m_Label3 = nullptr;
    QLabel *m_lbBanBen = nullptr;
    ElidedLabel *m_lbWord = nullptr;
    QLabel *m_lbYiSi = nullptr; ///< the design's hidden meaning label; it never holds one
    QLabel *m_lbRem = nullptr;
    QLabel *m_Rema = nullptr;
    Question m_question = unaskedQuestion();

    std::unique_ptr<UpdateCheck> m_updateCheck;
    std::unique_ptr<AboutWindowHost> m_about;
};

} // namespace mirvo
