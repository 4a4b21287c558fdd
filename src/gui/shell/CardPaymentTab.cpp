#include "gui/shell/CardPaymentTab.h"

namespace morvex {

CardPaymentTab::CardPaymentTab(ShellContext &shell, QWidget *parent)
    : PlaceholderTab(shell, MainTab::SanalPos, QStringLiteral("Sanal Pos"), parent)
{
}

} // namespace morvex
