// The start-up floor: a bare Qt Widgets window with a list of the store folder's names.
#include <QApplication>
#include <QDir>
#include <QListView>
#include <QStringListModel>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/words");
    QStringListModel model(QDir(folder).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase));
    QListView list;
    list.setUniformItemSizes(true);
    list.setModel(&model);
    list.resize(684, 463);
    list.show();
    return QApplication::exec();
}
