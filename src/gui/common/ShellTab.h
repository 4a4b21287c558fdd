#pragma once

#include "gui/common/MainTab.h"
#include "gui/common/UserRole.h"

#include <QWidget>

#include <optional>

namespace morvex {

class ShellContext;

// A page of the main window's tab control. The main window only wires tabs: it tells a tab
// when it is shown or left and what the user's role is; the tab does the rest.
class ShellTab : public QWidget
{
    Q_OBJECT
public:
    ShellTab(ShellContext &shell, MainTab id, QWidget *parent = nullptr);

    MainTab id() const { return m_id; }
    ShellContext &shell() const { return m_shell; }

    // The caption the tab starts with ("\r\n" is a line break).
    virtual QString caption() const = 0;
    virtual void tabShown() { }
    virtual void tabHidden() { }
    // Shows or withdraws the columns the role decides (staff columns and the like).
    virtual void applyRole(const UserRole &) { }
    // The session now works for another customer account (a staff user chose one).
    virtual void sessionChanged() { }

private:
    ShellContext &m_shell;
    MainTab m_id;
};

// A tab whose content has not been built yet: its caption and a label that says so.
class PlaceholderTab : public ShellTab
{
    Q_OBJECT
public:
    PlaceholderTab(ShellContext &shell, MainTab id, QString caption, QWidget *parent = nullptr);
    QString caption() const override { return m_caption; }
    void applyRole(const UserRole &role) override;
    // The last role applied (what the tab's grids will show once they exist).
    std::optional<UserRole> appliedRole() const { return m_role; }

private:
    QString m_caption;
    std::optional<UserRole> m_role;
};

} // namespace morvex
