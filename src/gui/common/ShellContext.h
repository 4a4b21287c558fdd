#pragma once

#include "core/local/RetryingOpener.h"
#include "gui/common/MainTab.h"
#include "gui/common/UserRole.h"

#include <QString>

class QLineEdit;
class QWidget;

namespace morvex {

class BusyIndicator;
class DataSnapConnection;
class MessageBoxes;
class TSonucBilgisi;

// The busy animations in the main window's toolbar, one per background load.
enum class BusySlot {
    StockSearch,
    NewStock,
    CampaignStock,
    Announcements,
    Statement,
    Orders,
    Files,
    GenuinePrices
};
inline constexpr int kBusySlotCount = 8;

// What the main window offers the tabs and the windows they open. Everything here belongs to
// the UI thread; a worker gets copies (a session copy, a connection clone) before it starts.
class ShellContext
{
public:
    virtual ~ShellContext() = default;

    virtual QWidget *mainWindow() = 0;
    virtual TSonucBilgisi &session() = 0;
    virtual DataSnapConnection &mainConnection() = 0;
    virtual MessageBoxes &messages() = 0;
    // The retrying opener's pause (empty: the real 500 ms sleep); tests make it instant.
    virtual PauseFunction openerPause() const = 0;
    virtual UserRole role() const = 0;

    virtual void setTabBadge(MainTab tab, int value) = 0;
    virtual int tabBadge(MainTab tab) const = 0;
    virtual void setTabCaption(MainTab tab, const QString &caption) = 0;
    virtual QString tabCaption(MainTab tab) const = 0;
    virtual void showTab(MainTab tab) = 0;
    virtual MainTab currentTab() const = 0;

    virtual BusyIndicator *busyIndicator(BusySlot slot) = 0;

    // The search bar: the box `araedit`, and the action of its "Ara" button.
    virtual QLineEdit *searchBox() = 0;
    virtual void runSearchAction() = 0;
};

} // namespace morvex
