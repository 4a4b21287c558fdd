#include "gui/shell/ClientMain.h"

#include "gui/shell/TForm1.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLocale>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace morvex {

int runClient(int argc, char *argv[], const QString &defaultHost, const QString &defaultPort)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"morvex"_s);
    // Amounts follow the system's separators; a machine with no locale configured (the C
    // locale) gets the Turkish ones the dealers read, not "1,234.50".
    if (QLocale::system().language() == QLocale::C)
        QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));

    QCommandLineParser parser;
    parser.setApplicationDescription(u"Dealer ordering client"_s);
    parser.addHelpOption();
    const QCommandLineOption hostOption(
        u"host"_s, u"Portal server host (default %1)."_s.arg(defaultHost), u"host"_s, defaultHost);
    const QCommandLineOption portOption(
        u"port"_s, u"Portal server port (default %1)."_s.arg(defaultPort), u"port"_s, defaultPort);
    parser.addOption(hostOption);
    parser.addOption(portOption);
    parser.process(app);

    bool portOk = false;
    const int port = parser.value(portOption).toInt(&portOk);
    if (!portOk || port < 1 || port > 65535) {
        QTextStream(stderr) << u"morvex: --port needs a number from 1 to 65535, not \""_s
                            << parser.value(portOption) << u"\"\n"_s;
        return 2;
    }

    ShellEnvironment env;
    env.portalHost = parser.value(hostOption);
    env.portalPort = QString::number(port);
    TForm1 mainWindow(std::move(env));
    if (!mainWindow.startUp())
        return 0;
    mainWindow.showMaximized();
    return QApplication::exec();
}

} // namespace morvex
