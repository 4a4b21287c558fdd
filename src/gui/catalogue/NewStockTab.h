#pragma once

#include "gui/common/ShellTab.h"

namespace morvex {

// Tab "Yeni Stoklar": new products, loaded in the background each time it is shown.
class NewStockTab : public PlaceholderTab
{
    Q_OBJECT
public:
    explicit NewStockTab(ShellContext &shell, QWidget *parent = nullptr);
};

} // namespace morvex
