#include "gui/catalogue/StockColumns.h"

using namespace Qt::StringLiterals;

namespace morvex::stockgrid {

namespace {

std::vector<Column> makeColumns()
{
    using enum ColumnKind;
    using col::Hidden, col::NotOffered, col::Offered, col::Shown;
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    const auto column = [](QString caption, QString field, int weight, bool shown, bool offered,
                           ColumnKind kind = Text, Qt::Alignment alignment = {}) {
        GridColumn c;
        c.caption = std::move(caption);
        c.field = std::move(field);
        c.weight = weight;
        c.shown = shown;
        c.offered = offered;
        c.kind = kind;
        c.alignment = alignment;
        return c;
    };
    GridColumn pkod = column({}, u"PKOD"_s, 1, Hidden, NotOffered);
    pkod.blankHeader = true;

    // Note that "Fiyatı" is the caption of LISTEFIYATI and "Liste Fiyatı" that of FIYAT.
    return {
        { column(u"Barkod"_s, u"BARKOD"_s, 2, Shown, Offered) },
        { column(u"Kod"_s, u"FINISHKOD"_s, 2, Shown, Offered) },
        { column(u"Oem1"_s, u"OEM1"_s, 2, Hidden, NotOffered) },
        { column(u"Oem2"_s, u"OEM2"_s, 2, Hidden, NotOffered) },
        { column(u"Oem3"_s, u"OEM3"_s, 2, Hidden, NotOffered) },
        { column(u"Açıklama"_s, u"ADI"_s, 3, Shown, Offered) },
        { column(u"Oem4"_s, u"OEM4"_s, 2, Hidden, NotOffered) },
        { column({}, u"STOK_STOKNO"_s, 1, Hidden, NotOffered) }, // the key
        { column(u"Üretici Kod"_s, u"URETICIKODU"_s, 2, Hidden, Offered) },
        { column({}, u"BARKOD_BARKODNO"_s, 1, Hidden, NotOffered) },
        { column(u"Diğer Adı"_s, u"DIGERADI"_s, 3, Hidden, Offered) },
        { column({}, u"DPKOD"_s, 2, Hidden, NotOffered) },
        { column(u"Oem No"_s, u"OEMNO"_s, 2, Hidden, Offered) },
        { column(u"Birim"_s, u"BIRIM"_s, 1, Hidden, Offered) },
        { column(u"Marka"_s, u"MARKA"_s, 2, Shown, Offered) },
        { column(u"Model"_s, u"MODEL"_s, 2, Shown, Offered) },
        { column(u"Ana Grup"_s, u"ANAGRUP"_s, 2, Shown, Offered) },
        { column(u"Özel Kod"_s, u"OZELKOD"_s, 2, Shown, Offered) },
        { column({}, u"KALAN"_s, 1, Hidden, NotOffered, Number), RoleRule::Staff },
        { pkod },
        { column({}, u"KDV"_s, 1, Hidden, Offered, Number) }, // VAT rate in percent
        { column({}, u"ALINANSIPARIS"_s, 1, Hidden, NotOffered, Number), RoleRule::Staff },
        { column({}, u"VERILENSIPARIS"_s, 1, Hidden, NotOffered, Number), RoleRule::Staff },
        { column(u"Fiyatı"_s, u"LISTEFIYATI"_s, 2, Shown, Offered, Number, right) },
        // The cost travels as text; it is still an amount, so it lines up on the right.
        { column({}, u"MALIYET"_s, 1, Hidden, NotOffered, Text, right), RoleRule::Staff },
        { column(u"Liste Fiyatı"_s, u"FIYAT"_s, 2, Shown, Offered, Number) },
        { column(u"Yeni"_s, u"Y"_s, 1, Shown, Offered, YesNo) },
        { column(u"Kampanyalı"_s, u"K"_s, 1, Shown, Offered, Campaign), RoleRule::Campaign },
        { column(u"İndirim Oran"_s, u"INDIRIM"_s, 1, Shown, Offered, Number) },
        { column(u"Net Fiyatı"_s, u"NETFIYAT"_s, 2, Shown, Offered, Number) },
        { column(u"KDV Dahil Fiyat"_s, u"KDVDAHIL"_s, 2, Shown, Offered, Number) },
        { column(u"Durum"_s, u"DURUM"_s, 1, Shown, Offered, StockStatus) },
    };
}

} // namespace

std::span<const Column> columns()
{
    static const std::vector<Column> table = makeColumns();
    return table;
}

std::vector<GridColumn> gridColumns()
{
    std::vector<GridColumn> grid;
    for (const Column &c : columns())
        grid.push_back(c.grid);
    return grid;
}

std::optional<bool> availableFor(RoleRule rule, const UserRole &role)
{
    switch (rule) {
    case RoleRule::None: return std::nullopt;
    case RoleRule::Staff: return role.staff;
    case RoleRule::Campaign: return !role.campaignHidden;
    }
    return std::nullopt;
}

} // namespace morvex::stockgrid
