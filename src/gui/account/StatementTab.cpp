#include "gui/account/StatementTab.h"

namespace morvex {

StatementTab::StatementTab(ShellContext &shell, QWidget *parent)
    : PlaceholderTab(shell, MainTab::CariEkstre, QStringLiteral("Cari Ekstre"), parent)
{
}

} // namespace morvex
