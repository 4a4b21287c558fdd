#pragma once

#include "gui/common/UserRole.h"
#include "gui/grid/GridColumn.h"

#include <optional>
#include <span>
#include <vector>

// The stock grid's columns as one table: caption, field, weight, shown, offered, kind and which
// role rule, if any, switches the column.
namespace morvex::stockgrid {

enum class RoleRule {
    None,
    Staff,    // shown and offered to staff users only
    Campaign, // withdrawn for customer type 4
};

struct Column
{
    GridColumn grid;
    RoleRule rule = RoleRule::None;
};

std::span<const Column> columns();
// The columns as the grid starts with them, in display order.
std::vector<GridColumn> gridColumns();

// Whether a role-switched column is shown and offered; nullopt when the column keeps what the
// table says.
std::optional<bool> availableFor(RoleRule rule, const UserRole &role);

} // namespace morvex::stockgrid
