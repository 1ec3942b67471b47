#include "FolderSteps.h"
#include "core/store/FolderWatch.h"

#include <QTemporaryDir>

using namespace mirvo;
using namespace mirvo::test;

/// The folder's change notices: each name told, listed or not, or a whole reading asked for
/// where the notices cannot say what changed.
class TestFolderWatch : public QObject
{
    Q_OBJECT

private slots:
    void watchTellsChanges_data();
    void watchTellsChanges();
};

void TestFolderWatch::watchTellsChanges_data()
{
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<QStringList>("told"); // each name, + listed now, - not; or "whole": read it whole
    const QString a = QStringLiteral("a"), b = QStringLiteral("b");
    QTest::newRow("nothing") << Steps{} << names("");
    QTest::newRow("made, deleted, renamed")
        << Steps{file(a), file(b), remove(b), {Step::Rename, a, QStringLiteral("c")}} << names("a- b- c+");
    QTest::newRow("a folder") << Steps{{Step::Folder, a, {}}} << names("a-");
    QTest::newRow("a dot name") << Steps{file(QStringLiteral(".x"))} << (dotNamesHidden ? names("") : names(".x+"));
#ifdef Q_OS_WIN
    QTest::newRow("marked hidden or system")
        << Steps{file(a), {Step::Mark, a, QStringLiteral("hidden")}, file(b), {Step::Mark, b, QStringLiteral("system")}}
        << names("a- b-");
    QTest::newRow("a mark cleared") << Steps{{Step::Hidden, a, {}}, {Step::Mark, a, {}}} << names("a+");
    // Perhaps the short name of a file whose long name the list holds.
    QTest::newRow("a short name gone") << Steps{file(QStringLiteral("ABC~1")), remove(QStringLiteral("ABC~1"))} << names("whole");
#endif
    QTest::newRow("the folder replaced") << Steps{file(a), {Step::Renew, {}, {}}} << names("whole");
    Steps twenty;
    for (int i = 0; i < 20; ++i)
        twenty.append(file(QStringLiteral("w%1").arg(i)));
    QTest::newRow("more than the limit") << twenty << names("whole");
}

void TestFolderWatch::watchTellsChanges()
{
    QFETCH(Steps, steps);
    QFETCH(QStringList, told);
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("words"));
    QVERIFY(QDir().mkdir(folder));
    FolderWatch watch;
    watch.follow(folder);
    FolderSteps made(folder);
    for (const Step &step : steps) {
        made.make(step);
        if (QTest::currentTestFailed())
            return;
    }
    const auto changes = watch.takeChanges(16);
    QStringList seen{QStringLiteral("whole")};
    if (changes) {
        seen.clear();
        for (const FolderWatch::Change &change : *changes)
            seen.append(QString::fromStdString(change.bytes) + QLatin1Char(change.listed ? '+' : '-'));
    }
    seen.sort();
    QCOMPARE(seen, told);
}

QTEST_GUILESS_MAIN(TestFolderWatch)
#include "tst_folderwatch.moc"
