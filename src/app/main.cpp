#include "core/local/ComputerIdentity.h"
#include "gui/shell/ClientMain.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstring>

using namespace Qt::StringLiterals;

namespace {

bool hasFlag(int argc, char *argv[], const char *flag)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], flag) == 0)
            return true;
    }
    return false;
}

// Shows the identity this computer registers under; needs no display.
int printIdentity(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const morvex::IdentityResult identity = morvex::computerIdentityWithSource();
    QTextStream(stdout) << u"identity: "_s << identity.value << u" (source: "_s << identity.source << u")\n"_s;
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (hasFlag(argc, argv, "--print-identity"))
        return printIdentity(argc, argv);

    return morvex::runClient(argc, argv, QStringLiteral(MORVEX_DEFAULT_HOST), QString::number(MORVEX_DEFAULT_PORT));
}
