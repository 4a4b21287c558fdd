#pragma once

#include "gui/common/ShellTab.h"

namespace morvex {

// Tab "Kampanyalı": campaign products, loaded in the background each time it is shown.
class CampaignTab : public PlaceholderTab
{
    Q_OBJECT
public:
    explicit CampaignTab(ShellContext &shell, QWidget *parent = nullptr);
};

} // namespace morvex
