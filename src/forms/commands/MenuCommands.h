#pragma once

#include "core/store/WordListImport.h"

#include <QString>
#include <QStringList>

class QWidget;

namespace mirvo {
class Dialogs;
}

namespace mirvo::commands {

/// The open-file dialog offers text files only.
inline const QString importFilter = QStringLiteral("*.txt");

/// The import's progress, its lines done of the list's lines.
inline const QString importProgressLabel = QStringLiteral("正在导入词库……\n已完成 %1 / %2 行");

/// An import's progress shown in a dialog over parent once the import takes a while (the
/// dialog is made at the first line, when the count of lines is known, and goes with the
/// function); its cancel button cancels the import.
ImportProgress importProgress(Dialogs &dialogs, QWidget *parent);

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
