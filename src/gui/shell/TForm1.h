#pragma once

#include "core/records/TSonucBilgisi.h"
#include "core/wire/DataSnapConnection.h"
#include "gui/common/ShellContext.h"
#include "gui/shell/ShellEnvironment.h"
#include "gui/shell/Tgirisform.h"
#include "gui/shell/Theme.h"

#include <QMainWindow>

#include <array>
#include <memory>

class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolButton;

namespace morvex {

class BackgroundLoad;
class BadgeTabWidget;
class ShellTab;
class StartupNotices;
class StockTab;
class Ticker;

// The main window. Owns the session record `sbilgi` and the main connection `bagc`; its
// start-up runs the login, adapts the window to the user's role and starts the start-up load.
// It only wires the tabs; each tab fills itself.
class TForm1 : public QMainWindow, public ShellContext, public LoginHost
{
    Q_OBJECT
public:
    explicit TForm1(ShellEnvironment env, QWidget *parent = nullptr);
    ~TForm1() override;

    // The start-up after the window is built: the session's local part, the connection's
    // address, the login (modal) and the role adjustment, then the start-up load. Returns
    // false when the process is to end (it has then been asked to end).
    bool startUp();
    // Shows or hides what the session's role decides: staff columns and "Başka Cari Seç",
    // the basket's status column (type 3), the "Kampanyalı" tab and column (type 4).
    void adjustToRole();
    // "Kullanıcı", "Firma" and "Temsilci" from the session.
    void setSellerLabels();
    // The start-up load: seller labels, then the start-up notices on a worker.
    void startStartupLoad();
    void setStartupNotices(std::unique_ptr<StartupNotices> notices);

    Theme theme() const { return m_theme; }
    const ShellEnvironment &environment() const { return m_env; }
    BadgeTabWidget *tabs() const { return m_tabs; }
    ShellTab *tab(MainTab id) const { return m_pages[static_cast<std::size_t>(id)]; }
    StockTab *stockTab() const;
    QPushButton *baskaCariSec() const { return m_baskaCariSec; }
    QToolButton *araButton() const { return m_ara; }
    QToolButton *temizleButton() const { return m_temizle; }
    QToolButton *menuButton() const { return m_menuButton; }
    QMenu *generalMenu() const { return m_generalMenu; }
    QLabel *kurlar() const { return m_kurlar; }
    QLabel *banner() const { return m_banner; }
    QLabel *userValue() const { return m_userValue; }
    QLabel *companyValue() const { return m_companyValue; }
    QLabel *representativeValue() const { return m_representativeValue; }
    Ticker *upperTicker() const { return m_upperTicker; }
    Ticker *lowerTicker() const { return m_lowerTicker; }
    BackgroundLoad *startupLoad() const { return m_startupLoad; }

    // State the start-up notices and downloads keep here.
    bool _indirmeyapiliyormu = false;
    qint32 _acilisadet = 0;
    double _USDKUR = 1.0;
    double _EURKUR = 1.0;

    // ShellContext
    QWidget *mainWindow() override { return this; }
    TSonucBilgisi &session() override { return m_sbilgi; }
    DataSnapConnection &mainConnection() override { return m_bagc; }
    MessageBoxes &messages() override { return *m_env.messages; }
    PauseFunction openerPause() const override { return m_env.openerPause; }
    UserRole role() const override;
    void setTabBadge(MainTab tab, int value) override;
    int tabBadge(MainTab tab) const override;
    void setTabCaption(MainTab tab, const QString &caption) override;
    QString tabCaption(MainTab tab) const override;
    void showTab(MainTab tab) override;
    MainTab currentTab() const override;
    BusyIndicator *busyIndicator(BusySlot slot) override;
    QLineEdit *searchBox() override { return m_araedit; }
    void runSearchAction() override;

    // LoginHost
    bool openProgramUpdate(QWidget *parent, int version) override;
    bool openNewAccountRequest(QWidget *parent) override;
    std::optional<bool> selectCustomerAfterLogin(QWidget *parent) override;

    // The close question; true when the user chose to end the program (which has then been
    // asked to end).
    bool confirmClose();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *buildHeader();
    QWidget *buildToolbar();
    QWidget *buildTickerPanel();
    void buildTabs();
    void buildGeneralMenu();
    void tabChanged(int index, int previous);
    void otherCustomer();
    void clearSearch();
    bool missing(const QString &window);

    ShellEnvironment m_env;
    Theme m_theme = Theme::Standard;
    TSonucBilgisi m_sbilgi;
    DataSnapConnection m_bagc;

    QLabel *m_userValue = nullptr;
    QLabel *m_companyValue = nullptr;
    QLabel *m_representativeValue = nullptr;
    QLabel *m_banner = nullptr;
    QToolButton *m_menuButton = nullptr;
    QMenu *m_generalMenu = nullptr;
    QLineEdit *m_araedit = nullptr;
    QToolButton *m_ara = nullptr;
    QToolButton *m_temizle = nullptr;
    QPushButton *m_baskaCariSec = nullptr;
    QLabel *m_kurlar = nullptr;
    std::array<BusyIndicator *, kBusySlotCount> m_busy {};
    BadgeTabWidget *m_tabs = nullptr;
    std::array<ShellTab *, kMainTabCount> m_pages {};
    Ticker *m_upperTicker = nullptr;
    Ticker *m_lowerTicker = nullptr;
    BackgroundLoad *m_startupLoad = nullptr;
    std::unique_ptr<StartupNotices> m_notices;
};

} // namespace morvex
