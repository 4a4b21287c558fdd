#pragma once

#include "core/data/RecordSet.h"
#include "gui/catalogue/CatalogueWindows.h"
#include "gui/common/ShellTab.h"

#include <memory>

class QLineEdit;
class QMenu;

namespace morvex {

class BackgroundLoad;
class DataGrid;
class StockGridLoadView;

// Tab "Stok Listesi": the stock search and its results. The search bar above the tabs
// (`araedit`, "Ara", "Temizle") belongs to the main window, which passes its actions here.
//
// A search runs in the background: the grid is detached from `stok` while a worker fills it over
// its own connection clone, and `araedit` stays disabled until the continuation has re-attached
// the grid, so at most one search runs at a time.
class StockTab : public ShellTab
{
    Q_OBJECT
public:
    explicit StockTab(ShellContext &shell, QWidget *parent = nullptr);
    ~StockTab() override;

    QString caption() const override;
    void tabShown() override;
    void applyRole(const UserRole &role) override;
    void sessionChanged() override;

    // Enter in the search box, or "Ara" while the box is enabled: makes this tab the active one,
    // checks the text and starts the search. Nothing happens while a search runs.
    virtual void startSearch();
    // "Temizle": empties the list, its filters, the box and the badge. Nothing while a search runs.
    virtual void clearSearch();
    // For other screens: puts `text` into the search box and runs the search button's action.
    // Nothing happens while a search runs.
    void searchFor(const QString &text);
    bool isSearching() const;

    // Double-click and "Sepete Ekle": the stock detail window for the focused row.
    void openStockDetail();
    // "Sipariş Bakiyeleriniz".
    void openOrderBalances();
    // "Siparişleri Göster": the order lines of the focused item.
    void showItemOrders();
    void setWindows(CatalogueWindows windows) { m_windows = std::move(windows); }

    // Positions `stok` on the focused row's item (the grid does not follow the set's cursor).
    // False when no row is focused.
    bool positionOnFocusedRow();

    RecordSet &stok() { return m_stok; }
    DataGrid *grid() const { return m_grid; }
    QMenu *popstok() const { return m_popstok; }
    BackgroundLoad *searchLoad() const { return m_load.get(); }

Q_SIGNALS:
    // After a search's continuation has run.
    void searchFinished(bool succeeded);

private:
    QLineEdit *box() const;
    void finishSearch(bool succeeded);
    void emptyList();
    bool missing(const QString &window);

    RecordSet m_stok;
    bool m_stokOpen = false; // a search has filled (or emptied) the set
    bool m_discardResult = false;
    DataGrid *m_grid = nullptr;
    QMenu *m_popstok = nullptr;
    CatalogueWindows m_windows;
    std::unique_ptr<StockGridLoadView> m_view;
    // Declared last: its destructor waits for a running worker, which fills m_stok.
    std::unique_ptr<BackgroundLoad> m_load;
};

} // namespace morvex
