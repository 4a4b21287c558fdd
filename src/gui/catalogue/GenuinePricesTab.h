#pragma once

#include "core/data/RecordSet.h"
#include "gui/common/ShellTab.h"

#include <memory>

class QLineEdit;
class QToolButton;

namespace morvex {

class BackgroundLoad;
class DataGrid;
class WidgetLoadView;

// Tab "Orjinal Fiyatlar": the search in the distributor's list of genuine-part prices, with its
// own search box `orvexedit` (upper case, no letter mapping) and clear button.
class GenuinePricesTab : public ShellTab
{
    Q_OBJECT
public:
    explicit GenuinePricesTab(ShellContext &shell, QWidget *parent = nullptr);
    ~GenuinePricesTab() override;

    QString caption() const override;
    void tabShown() override;

    // Enter in `orvexedit`: a text that trims to nothing does nothing; any other starts the
    // search in the background (the operation OrvexOrjinalAra). Nothing while one runs.
    void startSearch();
    // The clear button: empties the list and the box. Nothing while a search runs.
    void clearSearch();
    bool isSearching() const;

    QLineEdit *orvexedit() const { return m_orvexedit; }
    QToolButton *clearButton() const { return m_clear; }
    DataGrid *grid() const { return m_grid; }
    RecordSet &orvexListe() { return m_liste; }
    BackgroundLoad *searchLoad() const { return m_load.get(); }

Q_SIGNALS:
    void searchFinished(bool succeeded);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void finishSearch(bool succeeded);

    RecordSet m_liste; // ORVEXLISTE
    bool m_listeOpen = false;
    QLineEdit *m_orvexedit = nullptr;
    QToolButton *m_clear = nullptr;
    DataGrid *m_grid = nullptr;
    std::unique_ptr<WidgetLoadView> m_view;
    // Declared last: its destructor waits for a running worker, which fills m_liste.
    std::unique_ptr<BackgroundLoad> m_load;
};

} // namespace morvex
