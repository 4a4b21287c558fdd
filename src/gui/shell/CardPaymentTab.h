#pragma once

#include "gui/common/ShellTab.h"

namespace morvex {

// Tab "Sanal Pos": opens the card-payment page.
class CardPaymentTab : public PlaceholderTab
{
    Q_OBJECT
public:
    explicit CardPaymentTab(ShellContext &shell, QWidget *parent = nullptr);
};

} // namespace morvex
