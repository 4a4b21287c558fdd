#pragma once

#include "gui/common/ShellTab.h"

namespace morvex {

// Tab "Bakiyeler": open order balances, loaded on the UI thread each time it is shown.
class BalancesTab : public PlaceholderTab
{
    Q_OBJECT
public:
    explicit BalancesTab(ShellContext &shell, QWidget *parent = nullptr);
};

} // namespace morvex
