#pragma once

#include "FaultyFolders.h"
#include "TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QTest>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace mirvo::test {

/// One change made to a store folder behind the program's back.
struct Step
{
    enum Kind { File, Hidden, Folder, Fifo, Link, Mark, Remove, Rename, Renew, Reread } kind;
    QString name;
    QString other; ///< a link's target, a new name, the marks set ("hidden", "system" or none)
};
using Steps = QList<Step>;

inline Step file(const QString &name) { return {Step::File, name, {}}; }
/// Names written one after another, separated by blanks.
inline QStringList names(const char *spaced) { return QString::fromUtf8(spaced).split(QLatin1Char(' '), Qt::SkipEmptyParts); }
inline Step remove(const QString &name) { return {Step::Remove, name, {}}; }

/// Makes the steps in a folder as another program would; a folder made anew (Renew) is held
/// open meanwhile, as a shell in it would, until this object goes. A step that fails fails
/// the test (QTest::currentTestFailed()).
class FolderSteps
{
public:
    explicit FolderSteps(const QString &folder) : m_folder(folder) {}
    FolderSteps(const FolderSteps &) = delete;
    FolderSteps &operator=(const FolderSteps &) = delete;
    ~FolderSteps()
    {
#ifdef Q_OS_UNIX
        if (m_held >= 0)
            ::close(m_held);
#endif
    }

    void make(const Step &step)
    {
        QDir folder(m_folder);
        const QString path = folder.filePath(step.name);
        switch (step.kind) {
        case Step::File: QVERIFY(writeBytes(path, "x\r\n")); break;
        case Step::Hidden: QVERIFY(writeHiddenFile(path, "x\r\n")); break;
        case Step::Folder: QVERIFY(folder.mkdir(step.name)); break;
        case Step::Link: QVERIFY(QFile::link(step.other, path)); break;
        case Step::Fifo: QVERIFY(makeNamedPipe(path)); break;
        case Step::Mark:
            QVERIFY(setFileMarks(path, step.other == QLatin1String("hidden"), step.other == QLatin1String("system")));
            break;
        case Step::Remove: QVERIFY(QFile::remove(path) || folder.rmdir(step.name)); break;
        case Step::Rename: QVERIFY(folder.rename(step.name, step.other)); break;
        case Step::Reread: break;
        case Step::Renew:
#ifdef Q_OS_UNIX
            // Held open elsewhere, the removed folder is not gone for good yet.
            m_held = ::open(QFile::encodeName(m_folder).constData(), O_RDONLY | O_DIRECTORY);
            QVERIFY(m_held >= 0);
            QVERIFY(QDir(m_folder).removeRecursively() && QDir().mkpath(m_folder));
#else
            // Windows removes a folder only once the last handle on it closes, the list's own
            // watch's included: the old one is moved away, as to the recycle bin.
            QVERIFY(QDir().rename(m_folder, QFileInfo(m_folder).path() + QStringLiteral("/recycled")) && QDir().mkpath(m_folder));
#endif
            break;
        }
    }

private:
    QString m_folder;
    int m_held = -1;
};

} // namespace mirvo::test

Q_DECLARE_METATYPE(mirvo::test::Step)
