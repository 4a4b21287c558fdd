#include "server/app/ServerCommand.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    return morvex::server::runServerCommand(QCoreApplication::arguments());
}
