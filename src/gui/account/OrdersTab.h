#pragma once

#include "gui/common/ShellTab.h"

namespace morvex {

// Tab "Sipariş Durumları": the orders, loaded in the background each time it is shown.
class OrdersTab : public PlaceholderTab
{
    Q_OBJECT
public:
    explicit OrdersTab(ShellContext &shell, QWidget *parent = nullptr);
};

} // namespace morvex
