#include "gui/catalogue/NewStockTab.h"

namespace morvex {

NewStockTab::NewStockTab(ShellContext &shell, QWidget *parent)
    : PlaceholderTab(shell, MainTab::YeniStoklar, QStringLiteral("Yeni\r\nStoklar"), parent)
{
}

} // namespace morvex
