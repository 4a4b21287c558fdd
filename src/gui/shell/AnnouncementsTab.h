#pragma once

#include "gui/common/ShellTab.h"

namespace morvex {

// Tab "Duyurular": the announcements, loaded in the background each time it is shown.
class AnnouncementsTab : public PlaceholderTab
{
    Q_OBJECT
public:
    explicit AnnouncementsTab(ShellContext &shell, QWidget *parent = nullptr);
};

} // namespace morvex
