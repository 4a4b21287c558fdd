#pragma once

#include "gui/common/ShellTab.h"

namespace morvex {

// Tab "Cari Ekstre": the account statement, loaded in the background each time it is shown.
class StatementTab : public PlaceholderTab
{
    Q_OBJECT
public:
    explicit StatementTab(ShellContext &shell, QWidget *parent = nullptr);
};

} // namespace morvex
