#include "DrillFixture.h"
#include "FaultyFolders.h"

#include <cerrno>

using namespace mirvo;
using namespace mirvo::test;

namespace {

/// The reason the user reads for a system error.
QString osText(int error)
{
    switch (error) {
    case ENOTDIR: return QStringLiteral("路径中有一项不是文件夹");
    case EACCES: return QStringLiteral("没有权限");
    case ENOSPC: return QStringLiteral("磁盘空间不足");
    default: return QStringLiteral("<no text for %1>").arg(error);
    }
}

} // namespace

/// The store's faults made for real (a read-only or full disk, a file in the store's place,
/// an entry no one may read), as the drill window meets them.
class TestStoreFaults : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture = std::make_unique<DrillFixture>(); }
    void cleanup();
    void readOnlyStoreFolder();
    void storePathIsAFile();
    void unreadableEntry();
    void diskFillsDuringImport();

private:
    /// Runs the import command of the window on a list written beside the store.
    void importThroughMenu(const QByteArray &list);

    std::unique_ptr<DrillFixture> m_fixture;
};

void TestStoreFaults::cleanup()
{
    // Which word is asked does not matter here: the draws are not scripted.
    const QString left = m_fixture->fakes.dialogs.leftovers();
    m_fixture.reset();
    QVERIFY2(left.isEmpty(), qPrintable(left));
}

void TestStoreFaults::importThroughMenu(const QByteArray &list)
{
    const QString path = m_fixture->dir.filePath(QStringLiteral("list.txt"));
    QVERIFY(writeBytes(path, list));
    m_fixture->fakes.dialogs.chooseFileNext(path);
    m_fixture->window->importList();
}

void TestStoreFaults::readOnlyStoreFolder()
{
    WordStore &store = *m_fixture->store;
    ReadOnlyFolder readOnly(store.folder());
    if (!readOnly.prepare())
        QSKIP(qPrintable(QStringLiteral("cannot make a read-only folder here: ") + readOnly.problem()));
    m_fixture->addWords({{QStringLiteral("one"), QStringLiteral("一")}, {QStringLiteral("two"), QStringLiteral("二")}});
    const Entries before = storedEntries(store);
    QVERIFY(readOnly.seal());

    m_fixture->open();
    m_fixture->fakes.dialogs.answerNext(MessageAnswer::Ok);
    importThroughMenu("three 三\none 新\n");
    QCOMPARE(m_fixture->fakes.dialogs.shown.size(), 1);
    QVERIFY2(m_fixture->fakes.dialogs.shown.at(0).text.startsWith(QStringLiteral("无法写入单词“three”：")),
             qPrintable(m_fixture->fakes.dialogs.shown.at(0).text));
    QCOMPARE(m_fixture->fakes.dialogs.shown.at(0).icon, MessageIcon::Exclamation);
    QCOMPARE(storedEntries(store), before);

    // A right answer cannot delete the word: the drill says so and goes on with both words.
    int right = 1;
    while (!m_fixture->window->drill().question().isRight(right))
        ++right;
    const QString word = m_fixture->text("lbWord");
    m_fixture->fakes.dialogs.reset();
    m_fixture->fakes.dialogs.answerNext(MessageAnswer::Ok);
    m_fixture->fakes.dialogs.answerNext(MessageAnswer::Ok);
    m_fixture->window->answerButton(right)->click();
    QCOMPARE(m_fixture->fakes.dialogs.shownTexts().size(), 2);
    QVERIFY(m_fixture->fakes.dialogs.shownTexts().at(0).startsWith(QStringLiteral("无法删除单词“%1”：").arg(word)));
    QCOMPARE(m_fixture->fakes.dialogs.shownTexts().at(1), QStringLiteral("恭喜！正确。"));
    QCOMPARE(m_fixture->text("Rema"), QStringLiteral("2"));
    QCOMPARE(storedEntries(store), before);
    QCOMPARE(m_fixture->fakes.programEnd.ends, 0);
}

void TestStoreFaults::storePathIsAFile()
{
    WordStore &store = *m_fixture->store;
    QVERIFY(QDir().rmdir(store.folder()));
    QVERIFY(writeBytes(store.folder(), "the user's own file\n"));

    QString error;
    QVERIFY(!store.create(&error));
    QCOMPARE(error, QStringLiteral("无法创建词库文件夹“%1”：同名的文件已经存在。").arg(store.folder()));

    // The store cannot be read: said at load, and again at each look, never an empty store.
    const QString unreadable = QStringLiteral("无法读取词库文件夹“%1”：").arg(store.folder()) + osText(ENOTDIR);
    m_fixture->fakes.dialogs.answerNext(MessageAnswer::Ok);
    m_fixture->open();
    QCOMPARE(m_fixture->fakes.dialogs.shownTexts(), QStringList{unreadable});
    QCOMPARE(m_fixture->store->words().count(), 0);
    m_fixture->fakes.dialogs.reset();
    m_fixture->fakes.dialogs.answerNext(MessageAnswer::Ok);
    m_fixture->fakes.dialogs.answerNext(MessageAnswer::Ok);
    importThroughMenu("one 一\n");
    QCOMPARE(m_fixture->fakes.dialogs.shownTexts(),
             (QStringList{QStringLiteral("无法写入单词“one”：") + osText(ENOTDIR), unreadable}));
    QCOMPARE(readBytes(store.folder()), QByteArray("the user's own file\n"));
    m_fixture->fakes.dialogs.answerNext(MessageAnswer::Ok);
    m_fixture->window->drill().askAnotherWord();
    QCOMPARE(m_fixture->text("Rema"), QStringLiteral("0"));
    QCOMPARE(m_fixture->fakes.programEnd.ends, 0);
}

void TestStoreFaults::unreadableEntry()
{
    WordStore &store = *m_fixture->store;
    m_fixture->addWords({{QStringLiteral("a"), QStringLiteral("一")}, {QStringLiteral("b"), QStringLiteral("二")}});
    const QString locked = store.entryPath(QStringLiteral("b"));
    const QByteArray lockedBytes = readBytes(locked);
    QVERIFY(QFile::setPermissions(locked, {}));
    QVERIFY(openForOthers(store.folder()));
    {
        UnprivilegedFiles asNobody;
        if (runningAsRoot() && !asNobody.active())
            QSKIP("cannot give up root's file access here (setfsuid)");
        QFile probe(locked);
        if (probe.open(QIODevice::ReadOnly))
            QSKIP("the entry stays readable whatever its mode on this system");

        FrmMain &window = m_fixture->open();
        QCOMPARE(m_fixture->text("lbWord"), QStringLiteral("a"));
        m_fixture->fakes.dialogs.answerNext(MessageAnswer::Ok);
        window.drill().askWordAt(1);
        QCOMPARE(m_fixture->fakes.dialogs.shownTexts(),
                 QStringList{QStringLiteral("出题失败。无法读取单词“b”：") + osText(EACCES)});
        // The other word is still asked.
        window.drill().askAnotherWord();
        QCOMPARE(m_fixture->text("lbWord"), QStringLiteral("a"));
        QCOMPARE(window.drill().question().meaning, QStringLiteral("一"));
    }
    QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner));
    QCOMPARE(readBytes(locked), lockedBytes);
}

void TestStoreFaults::diskFillsDuringImport()
{
    if (!runningAsRoot())
        QSKIP("filling a disk needs root to mount a small tmpfs");
    WordStore &store = *m_fixture->store;
    ScratchMount disk(store.folder(), "size=64k");
    if (!disk.mounted())
        QSKIP(qPrintable(disk.problem()));
    m_fixture->addWords({{QStringLiteral("kept"), QStringLiteral("旧的")}, {QStringLiteral("also"), QStringLiteral("也")}});
    Entries expected = storedEntries(store);

    // Forty meanings of 4 KB, then a new meaning for a word already stored.
    QByteArray list;
    for (int i = 0; i < 40; ++i) {
        const QString meaning = QStringLiteral("意思%1").arg(i).repeated(700);
        list += QStringLiteral("w%1 %2\n").arg(i, 2, 10, QLatin1Char('0')).arg(meaning).toUtf8();
        expected.insert(QStringLiteral("w%1").arg(i, 2, 10, QLatin1Char('0')), meaning);
    }
    list += "kept 新的\n";
    m_fixture->open();
    m_fixture->fakes.dialogs.answerNext(MessageAnswer::Ok);
    importThroughMenu(list);

    const QStringList shown = m_fixture->fakes.dialogs.shownTexts();
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown.at(0).startsWith(QStringLiteral("无法写入单词“w")) && shown.at(0).endsWith(osText(ENOSPC)),
             qPrintable(shown.at(0)));
    // Whatever was written is whole; the rest is not there; nothing was lost.
    const Entries after = storedEntries(store);
    QVERIFY(after.size() > 2 && after.size() < 42);
    for (auto it = after.cbegin(); it != after.cend(); ++it)
        QCOMPARE(it.value(), expected.value(it.key()));
    QVERIFY(after.contains(QStringLiteral("kept")) && after.contains(QStringLiteral("also")));
    QCOMPARE(QDir(store.folder()).entryList({QStringLiteral(".*")}, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList());

    // Replacing an entry on the full disk keeps the old one whole.
    QString error;
    QVERIFY(!store.writeEntry(QStringLiteral("kept"), QStringLiteral("新").repeated(5000), &error));
    QCOMPARE(store.readMeaning(QStringLiteral("kept"), nullptr), std::optional<QString>(QStringLiteral("旧的")));

    // Room made, the store takes words again.
    for (const QString &word : after.keys()) {
        if (word.startsWith(QLatin1Char('w')))
            QVERIFY(store.deleteEntry(word, nullptr));
    }
    QVERIFY2(store.writeEntry(QStringLiteral("kept"), QStringLiteral("新的"), &error), qPrintable(error));
    QCOMPARE(storedEntries(store), (Entries{{QStringLiteral("kept"), QStringLiteral("新的")},
                                        {QStringLiteral("also"), QStringLiteral("也")}}));
    m_fixture->window.reset();
}

QTEST_MAIN(TestStoreFaults)
#include "tst_storefaults.moc"
