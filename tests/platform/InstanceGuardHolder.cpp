// Another instance, as the guard's test needs one: holds this platform's single-instance guard
// for the program path it is given, says whether it got it, and keeps it until its standard
// input closes or it is killed.
#include "platform/InstanceGuard.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char *argv[])
{
    const QCoreApplication app(argc, argv);
    if (QCoreApplication::arguments().size() != 2)
        return 2;
    const auto guard = mirvo::makeInstanceGuard(QCoreApplication::arguments().at(1));
    std::fputs(guard->acquire() ? "held\n" : "refused\n", stdout);
    std::fflush(stdout);
    QFile input;
    if (input.open(stdin, QIODevice::ReadOnly))
        input.readAll();
    return 0;
}
