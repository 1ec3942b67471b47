#include "FakeDialogs.h"
#include "FaultyFolders.h"
#include "TestSupport.h"
#include "app/Startup.h"
#include "core/store/WordStore.h"
#include "platform/LockFileInstanceGuard.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <sys/file.h>

using namespace mirvo;
using namespace mirvo::test;

namespace {
const QString program = QStringLiteral("/opt/mirvo/mirvo");
}

/// The single-instance lock file where it cannot be made, or was left broken by a crash: the
/// program runs, unguarded if need be.
class TestLockFaults : public QObject
{
    Q_OBJECT

private slots:
    void lockCannotBeCreated_data();
    void lockCannotBeCreated();
};

void TestLockFaults::lockCannotBeCreated_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("runs");
    QTest::addColumn<bool>("guarded"); // the lock is held, so a second start is refused

    QTest::newRow("lock folder is a file") << QStringLiteral("folder is a file") << true << false;
    QTest::newRow("lock folder is read-only") << QStringLiteral("read-only folder") << true << false;
    QTest::newRow("lock path is a folder") << QStringLiteral("lock is a folder") << true << false;
    QTest::newRow("empty lock left by a crash") << QStringLiteral("empty lock") << true << true;
    QTest::newRow("lock holding no owner") << QStringLiteral("garbage lock") << true << true;
    // A running instance's lock is the guard's own test.
    QTest::newRow("lock being written by another start") << QStringLiteral("lock in use") << false << false;
}

void TestLockFaults::lockCannotBeCreated()
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
    }

    WordStore store(runtime.filePath(QStringLiteral("words")));
    QVERIFY(store.create(nullptr));
    FakeDialogs dialogs;
    if (!runs)
        dialogs.answerNext(MessageAnswer::Ok);
    LockFileInstanceGuard guard(program, lockFolder);
    QCOMPARE(prepareStartup(guard, dialogs, store, QString()), runs);
    QCOMPARE(dialogs.shownTexts(), runs ? QStringList() : QStringList{QStringLiteral("该程序已经打开。")});
    QCOMPARE(guard.problem().isEmpty(), guarded || !runs);
    if (!guard.problem().isEmpty())
        QCOMPARE(guard.problem(), QStringLiteral("无法创建单实例锁文件：%1").arg(guard.lockFilePath()));
    if (runs) {
        LockFileInstanceGuard second(program, lockFolder);
        QCOMPARE(second.acquire(), !guarded);
    }
}

QTEST_MAIN(TestLockFaults)
#include "tst_lockfaults.moc"
