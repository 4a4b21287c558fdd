#pragma once

#include "gui/grid/ColumnSizing.h"

#include <QFont>
#include <QString>
#include <Qt>

#include <cstdint>
#include <optional>

namespace morvex {

// How a column shows its field. Every kind reads one field of the record set, except Button.
enum class ColumnKind : std::uint8_t {
    Text, // the value as the record set displays it (Double fields through their pattern)
    Number, // the same, right-aligned unless the column says otherwise
    MultiLine, // wrapped text
    StockStatus, // icon for 0..5; "Yok", "Var", ... as tool tips
    YesNo, // icon for 0 ("Hayır") and for 1 ("Evet")
    Campaign, // icon for 0 (no description) and for 1 ("Evet")
    FileType, // icon for the file-type codes 0..6
    Check, // check box: 1 checked, anything else unchecked
    Button, // a push button in every row; the grid signals the row
    Progress, // progress bar, 0..100 percent
    Picture, // image bytes (JPEG, PNG, GIF ...) scaled into the cell
};

// Readable flags for column tables: {u"Barkod"_s, u"BARKOD"_s, 2, col::Shown, col::Offered}.
namespace col {
    inline constexpr bool Shown = true;
    inline constexpr bool Hidden = false;
    inline constexpr bool Offered = true;
    inline constexpr bool NotOffered = false;
} // namespace col

// One column as a screen declares it; a grid takes an array of these in display order.
struct GridColumn
{
    QString caption; // empty: the header shows the field name
    QString field; // empty only for a Button column
    int weight = 1; // share of the width for the weight-based sizing rules
    bool shown = true; // visible at start
    bool offered = true; // listed in the column chooser
    ColumnKind kind = ColumnKind::Text;
    Qt::Alignment alignment = {}; // empty: numbers right, everything else left
    int width = 0; // starting width in pixels; 0 = the grid's default
    bool blankHeader = false; // the header shows nothing at all
    QString buttonText; // Button: the text on every button; empty = the caption

    QString headerText() const
    {
        if (blankHeader)
            return {};
        return caption.isEmpty() ? field : caption;
    }
};

// Grid-wide appearance and behaviour.
struct GridOptions
{
    int rowHeight = 40;
    int headerHeight = 40;
    std::optional<QFont> font;
    bool reverseTints = false; // even rows take the second tint
    bool focusRectangle = true;
    bool headerFilters = true; // a filter drop-down in every header
    bool userSorting = true; // a header click sorts
    bool incrementalSearch = true;
    sizing::Rule sizing = sizing::Rule::Manual;
};

} // namespace morvex
