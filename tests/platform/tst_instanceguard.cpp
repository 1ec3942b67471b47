#include "platform/InstanceGuard.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace mirvo;

namespace {

enum class HolderEnd { Running, Ended, Killed };

QStringList homeEntries()
{
    return QDir::home().entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

} // namespace

Q_DECLARE_METATYPE(HolderEnd)

class TestInstanceGuard : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void oneInstancePerProgram_data();
    void oneInstancePerProgram();

private:
    QString m_holder;
    QTemporaryDir m_dir;
};

void TestInstanceGuard::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_holder = QStandardPaths::findExecutable(QStringLiteral("instance_guard_holder"),
                                              {QCoreApplication::applicationDirPath()});
    QVERIFY(!m_holder.isEmpty());
}

void TestInstanceGuard::oneInstancePerProgram_data()
{
    QTest::addColumn<QString>("held");
    QTest::addColumn<QString>("started");
    QTest::addColumn<HolderEnd>("holderEnd");
    QTest::addColumn<bool>("alone");
    const QString copy = QStringLiteral("/copy/mirvo.exe");
    QTest::newRow("running instance") << copy << copy << HolderEnd::Running << false;
    QTest::newRow("running instance, path through ..") << copy << QStringLiteral("/copy/../copy/mirvo.exe")
                                                       << HolderEnd::Running << false;
    QTest::newRow("another copy") << copy << QStringLiteral("/other/mirvo.exe") << HolderEnd::Running << true;
    QTest::newRow("instance ended") << copy << copy << HolderEnd::Ended << true;
    // Nothing a killed instance leaves behind may block the next start.
    QTest::newRow("instance killed") << copy << copy << HolderEnd::Killed << true;
#ifdef Q_OS_WIN
    QTest::newRow("running instance, spelled otherwise") << copy << QStringLiteral("\\COPY\\Mirvo.EXE")
                                                         << HolderEnd::Running << false;
#endif
}

void TestInstanceGuard::oneInstancePerProgram()
{
    QFETCH(QString, held);
    QFETCH(QString, started);
    QFETCH(HolderEnd, holderEnd);
    QFETCH(bool, alone);
    const QStringList homeBefore = homeEntries();
    QProcess holder;
    holder.start(m_holder, {m_dir.path() + held});
    QVERIFY2(holder.waitForStarted(), qPrintable(holder.errorString()));
    while (!holder.canReadLine() && holder.waitForReadyRead(60000)) {
    }
    QCOMPARE(holder.readLine().trimmed(), QByteArray("held"));
    if (holderEnd == HolderEnd::Ended)
        holder.closeWriteChannel();
    else if (holderEnd == HolderEnd::Killed)
        holder.kill();
    if (holderEnd != HolderEnd::Running)
        QVERIFY(holder.waitForFinished());

    const auto guard = makeInstanceGuard(m_dir.path() + started);
    QCOMPARE(guard->acquire(), alone);
    // The guard of a running program leaves nothing in the user's home folder.
    QCOMPARE(homeEntries(), homeBefore);
    holder.closeWriteChannel();
    QVERIFY(holder.state() == QProcess::NotRunning || holder.waitForFinished());
}

QTEST_GUILESS_MAIN(TestInstanceGuard)
#include "tst_instanceguard.moc"
