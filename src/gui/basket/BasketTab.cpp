#include "gui/basket/BasketTab.h"

namespace morvex {

BasketTab::BasketTab(ShellContext &shell, QWidget *parent)
    : PlaceholderTab(shell, MainTab::Sepet, QStringLiteral("Sepet"), parent)
{
}

} // namespace morvex
