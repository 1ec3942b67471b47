#include "widgets/ProgramIcon.h"

// Resources linked from a static library are only registered when referenced by name,
// and Q_INIT_RESOURCE must be used outside any namespace.
static void initIconResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(icons);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace mirvo {

namespace {

const QString small = QStringLiteral(":/icons/mirvo-16.png");
const QString large = QStringLiteral(":/icons/mirvo-32.png");

} // namespace

QIcon programIcon()
{
    initIconResources();
    QIcon icon;
    icon.addFile(small, QSize(16, 16));
    icon.addFile(large, QSize(32, 32));
    return icon;
}

QPixmap programIconPixmap()
{
    initIconResources();
    return QPixmap(large);
}

} // namespace mirvo
