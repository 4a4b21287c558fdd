#include "gui/shell/AnnouncementsTab.h"

namespace morvex {

AnnouncementsTab::AnnouncementsTab(ShellContext &shell, QWidget *parent)
    : PlaceholderTab(shell, MainTab::Duyurular, QStringLiteral("Duyurular"), parent)
{
}

} // namespace morvex
