#include "DrillFixture.h"
#include "FaultyFolders.h"
#include "app/Startup.h"
#include "core/store/WordListImport.h"
#include "platform/InstanceGuard.h"
#include "platform/QtSettingsStore.h"
#include "widgets/FileListBox.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>

#include <sys/file.h>

using namespace mirvo;
using namespace mirvo::test;

namespace {

const QString program = QStringLiteral("/opt/mirvo/mirvo");
const QString settingsFolderName = QStringLiteral("Mirvo");
const QString settingsFileName = QStringLiteral("Velko.conf"); // where the delete option lives

QStringList hiddenFiles(const WordStore &store)
{
    return QDir(store.folder()).entryList({QStringLiteral(".*")}, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

/// The answer button that shows the asked word's meaning.
int rightButton(const DrillFixture &fixture)
{
    for (int index = 1; index <= 4; ++index) {
        if (fixture.window->question().isRight(index))
            return index;
    }
    return 0;
}

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

class TestFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void readOnlyStoreFolder();
    void storePathIsAFile();
    void entryReplacedByAFolder();
    void unreadableEntry();
    void diskFillsDuringImport();
    void settingsFileFaults_data();
    void settingsFileFaults();
    void lockCannotBeCreated_data();
    void lockCannotBeCreated();

private:
    /// Runs the import command of the window on a list written beside the store.
    void importThroughMenu(const QByteArray &list);

    QTemporaryDir m_config;
    std::unique_ptr<DrillFixture> m_fixture;
};

void TestFaults::initTestCase()
{
    QVERIFY(m_config.isValid());
    // Before any settings are read: QSettings keeps the folder it first finds.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
}

void TestFaults::cleanup()
{
    if (m_fixture) {
        QVERIFY2(m_fixture->fakes.dialogs.leftovers().isEmpty(), qPrintable(m_fixture->fakes.dialogs.leftovers()));
        m_fixture->window.reset();
    }
    m_fixture.reset();
}

void TestFaults::importThroughMenu(const QByteArray &list)
{
    const QString path = m_fixture->dir.filePath(QStringLiteral("list.txt"));
    QVERIFY(writeBytes(path, list));
    m_fixture->fakes.dialogs.chooseFileNext(path);
    m_fixture->window->DaoRu_Click();
}

void TestFaults::readOnlyStoreFolder()
{
    m_fixture = std::make_unique<DrillFixture>();
    const WordStore &store = *m_fixture->store;
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
    const int right = rightButton(*m_fixture);
    QVERIFY(right > 0);
    const QString word = m_fixture->text("lbWord");
    m_fixture->fakes.dialogs.reset();
    m_fixture->fakes.dialogs.answerNext(MessageAnswer::Ok);
    m_fixture->fakes.dialogs.answerNext(MessageAnswer::Ok);
    m_fixture->window->cmdOption_Click(right);
    QCOMPARE(m_fixture->fakes.dialogs.shownTexts().size(), 2);
    QVERIFY(m_fixture->fakes.dialogs.shownTexts().at(0).startsWith(QStringLiteral("无法删除单词“%1”：").arg(word)));
    QCOMPARE(m_fixture->fakes.dialogs.shownTexts().at(1), QStringLiteral("恭喜！正确。"));
    QCOMPARE(m_fixture->text("Rema"), QStringLiteral("2"));
    QCOMPARE(storedEntries(store), before);
    QCOMPARE(m_fixture->fakes.programEnd.ends, 0);
}

void TestFaults::storePathIsAFile()
{
    m_fixture = std::make_unique<DrillFixture>();
    const WordStore &store = *m_fixture->store;
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
    m_fixture->window->cmdShift_Click();
    QCOMPARE(m_fixture->text("Rema"), QStringLiteral("0"));
    QCOMPARE(m_fixture->fakes.programEnd.ends, 0);
}

void TestFaults::entryReplacedByAFolder()
{
    m_fixture = std::make_unique<DrillFixture>();
    const WordStore &store = *m_fixture->store;
    m_fixture->addWords({{QStringLiteral("a"), QStringLiteral("一")}, {QStringLiteral("b"), QStringLiteral("二")}});
    FrmMain &window = m_fixture->open();
    QCOMPARE(m_fixture->text("lbWord"), QStringLiteral("a"));

    // "b" becomes a folder with a file of its own after the list was read.
    const QString inner = store.entryPath(QStringLiteral("b")) + QStringLiteral("/inner.txt");
    QVERIFY(QFile::remove(store.entryPath(QStringLiteral("b"))));
    QVERIFY(QDir().mkdir(store.entryPath(QStringLiteral("b"))));
    QVERIFY(writeBytes(inner, "keep\n"));
    m_fixture->fakes.dialogs.answerNext(MessageAnswer::Ok);
    window.flWords()->select(1);
    window.flWords_Click();
    QCOMPARE(m_fixture->fakes.dialogs.shownTexts(),
             QStringList{QStringLiteral("出题失败。无法读取单词“b”：它是一个文件夹。")});
    QCOMPARE(m_fixture->store->words().count(), 1);

    // Now "a" turns into a folder while it is asked: the right answer must not touch its files.
    window.cmdShift_Click();
    QCOMPARE(m_fixture->text("lbWord"), QStringLiteral("a"));
    const int right = rightButton(*m_fixture);
    QVERIFY(QFile::remove(store.entryPath(QStringLiteral("a"))));
    QVERIFY(QDir().mkpath(store.entryPath(QStringLiteral("a")) + QStringLiteral("/sub")));
    m_fixture->fakes.dialogs.reset();
    for (int i = 0; i < 3; ++i)
        m_fixture->fakes.dialogs.answerNext(MessageAnswer::Ok);
    window.cmdOption_Click(right);
    const QStringList shown = m_fixture->fakes.dialogs.shownTexts();
    QCOMPARE(shown.size(), 3);
    QVERIFY(shown.at(0).startsWith(QStringLiteral("无法删除单词“a”：")));
    QCOMPARE(shown.at(1), QStringLiteral("恭喜你，全部背掉了！"));
    QVERIFY(shown.at(2).startsWith(QStringLiteral("无法删除词库文件夹")));
    QCOMPARE(readBytes(inner), QByteArray("keep\n"));
    QVERIFY(QFileInfo(store.entryPath(QStringLiteral("a")) + QStringLiteral("/sub")).isDir());
}

void TestFaults::unreadableEntry()
{
    m_fixture = std::make_unique<DrillFixture>();
    const WordStore &store = *m_fixture->store;
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
        window.flWords()->select(1);
        window.flWords_Click();
        QCOMPARE(m_fixture->fakes.dialogs.shownTexts(),
                 QStringList{QStringLiteral("出题失败。无法读取单词“b”：") + osText(EACCES)});
        // The other word is still asked.
        window.cmdShift_Click();
        QCOMPARE(m_fixture->text("lbWord"), QStringLiteral("a"));
        QCOMPARE(window.question().meaning, QStringLiteral("一"));
    }
    QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner));
    QCOMPARE(readBytes(locked), lockedBytes);
}

void TestFaults::diskFillsDuringImport()
{
    if (!runningAsRoot())
        QSKIP("filling a disk needs root to mount a small tmpfs");
    m_fixture = std::make_unique<DrillFixture>();
    const WordStore &store = *m_fixture->store;
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
    QCOMPARE(hiddenFiles(store), QStringList());

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

void TestFaults::settingsFileFaults_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("why"); // %1 stands for the settings file

    QTest::newRow("corrupt file") << QStringLiteral("corrupt") << QStringLiteral("设置文件已损坏：%1");
    QTest::newRow("settings folder is a file") << QStringLiteral("folder is a file") << QStringLiteral("无法写入设置文件：%1");
    QTest::newRow("settings file is a folder") << QStringLiteral("file is a folder") << QStringLiteral("无法写入设置文件：%1");
}

void TestFaults::settingsFileFaults()
{
    QFETCH(QString, fault);
    QFETCH(QString, why);
    const QString folder = m_config.filePath(settingsFolderName);
    const QString file = folder + QLatin1Char('/') + settingsFileName;
    QFile::remove(folder);
    QDir(folder).removeRecursively();
    QString keep; // the path whose bytes must survive
    if (fault == QLatin1String("corrupt")) {
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(writeBytes(file, "[Mirvo\xE8\x83\x8C\nshanchu=0\n[broken\n\x01\x02"));
        keep = file;
    } else if (fault == QLatin1String("folder is a file")) {
        QVERIFY(writeBytes(folder, "not a folder"));
        keep = folder;
    } else {
        QVERIFY(QDir().mkpath(file));
    }
    const QByteArray kept = keep.isEmpty() ? QByteArray() : readBytes(keep);

    m_fixture = std::make_unique<DrillFixture>();
    m_fixture->addWords({{QStringLiteral("a"), QStringLiteral("一")}});
    QtSettingsStore settings;
    FakeServices &fakes = m_fixture->fakes;
    const Services services{fakes.dialogs, fakes.shell, settings, fakes.random, fakes.programEnd,
                            fakes.pageLoader, fakes.registry, fakes.speech};
    m_fixture->window = std::make_unique<FrmMain>(services, *m_fixture->store, QStringLiteral("http://mirvo.test"));
    m_fixture->window->show();

    // The option falls back to the window's own value, and the drill works.
    auto *ckDlt = m_fixture->window->findChild<QCheckBox *>(QStringLiteral("ckDlt"));
    QVERIFY(ckDlt->isChecked());
    QCOMPARE(m_fixture->text("lbWord"), QStringLiteral("a"));

    ckDlt->setChecked(false);
    fakes.dialogs.answerNext(MessageAnswer::Yes);
    fakes.dialogs.answerNext(MessageAnswer::Ok);
    QVERIFY(m_fixture->window->close());
    const QStringList shown = fakes.dialogs.shownTexts();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown.at(1), QStringLiteral("“自动删除正确单词”的设置没有保存：") + why.arg(file));
    QCOMPARE(fakes.programEnd.quits, 1);
    if (!keep.isEmpty())
        QCOMPARE(readBytes(keep), kept);
    QCOMPARE(storedEntries(*m_fixture->store), (Entries{{QStringLiteral("a"), QStringLiteral("一")}}));
}

void TestFaults::lockCannotBeCreated_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("runs");
    QTest::addColumn<bool>("guarded"); // the lock is held, so a second start is refused

    QTest::newRow("lock folder is a file") << QStringLiteral("folder is a file") << true << false;
    QTest::newRow("lock folder is read-only") << QStringLiteral("read-only folder") << true << false;
    QTest::newRow("lock path is a folder") << QStringLiteral("lock is a folder") << true << false;
    QTest::newRow("empty lock left by a crash") << QStringLiteral("empty lock") << true << true;
    QTest::newRow("lock holding no owner") << QStringLiteral("garbage lock") << true << true;
    QTest::newRow("lock being written by another start") << QStringLiteral("lock in use") << false << false;
    QTest::newRow("held by a running instance") << QStringLiteral("held") << false << false;
}

void TestFaults::lockCannotBeCreated()
{
    QFETCH(QString, fault);
    QFETCH(bool, runs);
    QFETCH(bool, guarded);
    QTemporaryDir runtime;
    QVERIFY(runtime.isValid());
    QString lockFolder = runtime.filePath(QStringLiteral("run"));
    QVERIFY(QDir().mkdir(lockFolder));
    const QString lockPath = LockFileInstanceGuard(program, lockFolder).lockFilePath();

    std::unique_ptr<ReadOnlyFolder> readOnly;
    std::unique_ptr<LockFileInstanceGuard> holder;
    QFile inUse(lockPath);
    if (fault == QLatin1String("folder is a file")) {
        lockFolder = runtime.filePath(QStringLiteral("file"));
        QVERIFY(writeBytes(lockFolder, "x"));
    } else if (fault == QLatin1String("read-only folder")) {
        readOnly = std::make_unique<ReadOnlyFolder>(lockFolder);
        if (!readOnly->prepare() || !readOnly->seal())
            QSKIP(qPrintable(QStringLiteral("cannot make a read-only folder here: ") + readOnly->problem()));
    } else if (fault == QLatin1String("lock is a folder")) {
        QVERIFY(QDir().mkdir(lockPath));
    } else if (fault == QLatin1String("empty lock")) {
        QVERIFY(writeBytes(lockPath, {}));
    } else if (fault == QLatin1String("garbage lock")) {
        QVERIFY(writeBytes(lockPath, "\xFF\xFEnot a lock\n"));
    } else if (fault == QLatin1String("lock in use")) {
        // Another start has created the lock and holds it, but not yet written its owner.
        QVERIFY(inUse.open(QIODevice::WriteOnly));
        QCOMPARE(::flock(inUse.handle(), LOCK_EX | LOCK_NB), 0);
    } else {
        holder = std::make_unique<LockFileInstanceGuard>(program, lockFolder);
        QVERIFY(holder->acquire());
    }

    m_fixture = std::make_unique<DrillFixture>();
    m_fixture->addWords({{QStringLiteral("a"), QStringLiteral("一")}});
    LockFileInstanceGuard guard(program, lockFolder);
    if (!runs)
        m_fixture->fakes.dialogs.answerNext(MessageAnswer::Ok);
    QCOMPARE(prepareStartup(guard, m_fixture->fakes.dialogs, *m_fixture->store, QString()), runs);
    QCOMPARE(m_fixture->fakes.dialogs.shownTexts(),
             runs ? QStringList() : QStringList{QStringLiteral("该程序已经打开。")});
    QCOMPARE(guard.problem().isEmpty(), guarded || !runs);
    if (!guard.problem().isEmpty())
        QCOMPARE(guard.problem(), QStringLiteral("无法创建单实例锁文件：%1").arg(guard.lockFilePath()));
    if (runs) {
        LockFileInstanceGuard second(program, lockFolder);
        QCOMPARE(second.acquire(), !guarded);
    }
    QCOMPARE(storedEntries(*m_fixture->store), (Entries{{QStringLiteral("a"), QStringLiteral("一")}}));
}

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"
