#pragma once

#include <QString>
#include <QStringList>

namespace mirvo::commands {

/// The open-file dialog offers text files only.
inline const QString importFilter = QStringLiteral("*.txt");

inline const QString formatHelpText =
    QStringLiteral("txt格式，每行一个单词，单词与释义之间用空格分隔。暂不支持词组");
inline const QString formatHelpCaption = QStringLiteral("词库格式");

struct ProgramCall
{
    QString program;
    QStringList arguments;
};

/// The desktop's file manager opened on a folder; the folder is one argument, never parsed.
ProgramCall fileManagerCall(const QString &folder);

} // namespace mirvo::commands
