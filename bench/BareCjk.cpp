// The fair start-up floor: a bare Qt Widgets window with the drill window's Chinese widgets in
// the same fonts (the same face choices, sizes and texts) and a list of the store folder's
// names, but none of the program's own code.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QListView>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QStringListModel>

namespace {

QFont song()
{
    QFont font(QStringLiteral("宋体"));
    font.setPointSizeF(14.25);
    return font;
}

template<typename Widget>
Widget *at(Widget *widget, int x, int y, int width, int height, const QFont *font = nullptr)
{
    widget->setGeometry(x, y, width, height);
    if (font)
        widget->setFont(*font);
    return widget;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QFont interfaceFont = QApplication::font();
    interfaceFont.setFamilies({QStringLiteral("Noto Sans CJK SC"), interfaceFont.family()});
    QApplication::setFont(interfaceFont);
    QFont::insertSubstitutions(QStringLiteral("宋体"),
                               {QStringLiteral("Noto Serif CJK SC"), QStringLiteral("AR PL UMing CN"),
                                QStringLiteral("Noto Sans CJK SC")});
    QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans")});

    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/words");
    QStringListModel model(QDir(folder).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase));

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Mirvo背单词"));
    window.menuBar()->addMenu(QStringLiteral("文件"))->addAction(QStringLiteral("导入词库"));
    window.menuBar()->addMenu(QStringLiteral("程序"))->addAction(QStringLiteral("关于"));
    auto *client = new QWidget;
    client->setFixedSize(684, 463);
    QPalette green = client->palette();
    green.setColor(QPalette::Window, QColor(192, 255, 192));
    client->setPalette(green);
    client->setAutoFillBackground(true);
    window.setCentralWidget(client);

    const QFont drill = song();
    QFont word(QStringLiteral("Arial"));
    word.setPointSizeF(42);
    auto *list = at(new QListView(client), 8, 32, 121, 414);
    list->setUniformItemSizes(true);
    list->setModel(&model);
    at(new QCheckBox(QStringLiteral("自动删除正确单词    选择中文释义："), client), 144, 216, 529, 17)
        ->setChecked(true);
    const QStringList meanings = {QStringLiteral("adj. 特有的；特别的"), QStringLiteral("v. 确定；下定义"),
                                  QStringLiteral("n. 生命；一生；寿命"), QStringLiteral("n. 样本，标本，样品")};
    for (int i = 0; i < 4; ++i)
        at(new QPushButton(meanings.at(i), client), 144, 240 + 48 * i, 521, 41, &drill);
    at(new QPushButton(QStringLiteral("换一个"), client), 144, 168, 161, 41, &drill);
    at(new QPushButton(QStringLiteral("不会"), client), 312, 168, 153, 41, &drill);
    at(new QLabel(QStringLiteral("获取版本信息失败，请检查网络。"), client), 136, 8, 400, 19, &drill);
    at(new QLabel(QStringLiteral("版本：1.1"), client), 8, 8, 129, 25, &drill);
    auto *shown = at(new QLabel(QStringLiteral("life"), client), 136, 56, 513, 65, &word);
    shown->setAlignment(Qt::AlignCenter);
    QPalette blue = shown->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    shown->setPalette(blue);
    at(new QLabel(QStringLiteral("剩余单词数："), client), 472, 176, 121, 25, &drill);
    at(new QLabel(QString::number(model.rowCount()), client), 600, 176, 57, 25, &drill);
    window.show();
    return QApplication::exec();
}
