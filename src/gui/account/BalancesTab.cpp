#include "gui/account/BalancesTab.h"

namespace morvex {

BalancesTab::BalancesTab(ShellContext &shell, QWidget *parent)
    : PlaceholderTab(shell, MainTab::Bakiyeler, QStringLiteral("Bakiyeler"), parent)
{
}

} // namespace morvex
