#include "gui/account/OrdersTab.h"

namespace morvex {

OrdersTab::OrdersTab(ShellContext &shell, QWidget *parent)
    : PlaceholderTab(
        shell, MainTab::SiparisDurumlari, QStringLiteral("Sipari\u015f\r\nDurumlar\u0131"), parent)
{
}

} // namespace morvex
