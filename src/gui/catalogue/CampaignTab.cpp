#include "gui/catalogue/CampaignTab.h"

namespace morvex {

CampaignTab::CampaignTab(ShellContext &shell, QWidget *parent)
    : PlaceholderTab(shell, MainTab::Kampanyali, QStringLiteral("Kampanyal\u0131"), parent)
{
}

} // namespace morvex
