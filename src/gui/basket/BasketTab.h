#pragma once

#include "gui/common/ShellTab.h"

namespace morvex {

// Tab "Sepet": the server-side basket, loaded on the UI thread each time it is shown.
class BasketTab : public PlaceholderTab
{
    Q_OBJECT
public:
    explicit BasketTab(ShellContext &shell, QWidget *parent = nullptr);
};

} // namespace morvex
