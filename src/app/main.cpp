#include <QApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTextStream(stdout) << "morvex: the client windows are not built yet.\n";
    return 0;
}
