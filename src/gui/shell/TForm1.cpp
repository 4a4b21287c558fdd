#include "gui/shell/TForm1.h"

#include "gui/account/BalancesTab.h"
#include "gui/account/OrdersTab.h"
#include "gui/account/StatementTab.h"
#include "gui/basket/BasketTab.h"
#include "gui/catalogue/CampaignTab.h"
#include "gui/catalogue/GenuinePricesTab.h"
#include "gui/catalogue/NewStockTab.h"
#include "gui/catalogue/StockTab.h"
#include "gui/common/BackgroundLoad.h"
#include "gui/common/BusyIndicator.h"
#include "gui/common/MessageBoxes.h"
#include "gui/common/ShellIcons.h"
#include "gui/shell/AnnouncementsTab.h"
#include "gui/shell/BadgeTabWidget.h"
#include "gui/shell/CardPaymentTab.h"
#include "gui/shell/FilesTab.h"
#include "gui/shell/MainWindowTexts.h"
#include "gui/shell/StartupNotices.h"
#include "gui/shell/StatusLegend.h"
#include "gui/shell/Ticker.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace morvex {

namespace {

    QToolButton *toolbarButton(const QIcon &icon, const QString &hint, QWidget *parent)
    {
        auto *b = new QToolButton(parent);
        b->setObjectName(u"toolbarButton"_s);
        b->setIcon(icon);
        b->setIconSize(QSize(20, 20));
        b->setToolTip(hint);
        b->setFixedSize(32, 29);
        b->setCursor(Qt::PointingHandCursor);
        return b;
    }

} // namespace

TForm1::TForm1(ShellEnvironment env, QWidget *parent)
    : QMainWindow(parent)
    , m_env(std::move(env))
{
    m_env.completeWithDefaults();
    setObjectName(u"Form1"_s);
    m_theme = themeForDate(m_env.today());
    setStyleSheet(themeStyleSheet(m_theme));
    QFont base(u"Tahoma"_s);
    base.setPixelSize(13);
    base.setBold(true);
    setFont(base);

    auto *body = new QWidget(this);
    body->setObjectName(u"mainWindowBody"_s);
    auto *layout = new QVBoxLayout(body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildHeader());
    layout->addWidget(buildToolbar());
    m_tabs = new BadgeTabWidget(body);
    layout->addWidget(m_tabs, 1);
    layout->addWidget(new StatusLegend(body));
    layout->addWidget(buildTickerPanel());
    setCentralWidget(body);
    buildTabs();
    buildGeneralMenu();

    m_startupLoad = new BackgroundLoad(*m_env.messages, this);
    m_startupLoad->setReportsFailure(false); // its loaders report for themselves
    if (m_env.windows.startupNotices)
        m_notices = m_env.windows.startupNotices(*this);

    _indirmeyapiliyormu = false;
    _acilisadet = 0;
    // On this desktop the application title has no place of its own (Qt would append it to
    // every window's caption), so it is the title of plain message boxes only.
    MessageTexts::setApplicationTitle(MainWindowTexts::applicationTitle());
    setWindowTitle(MainWindowTexts::caption());
    _USDKUR = 1.0;
    _EURKUR = 1.0;
}

TForm1::~TForm1()
{
    // The start-up load's worker may use the notices; wait for it before they go.
    delete m_startupLoad;
    m_startupLoad = nullptr;
}

QWidget *TForm1::buildHeader()
{
    auto *header = new QFrame(this);
    header->setObjectName(u"header"_s);
    header->setFixedHeight(72);
    auto *row = new QHBoxLayout(header);
    row->setContentsMargins(10, 1, 6, 1);

    auto *labels = new QGridLayout;
    labels->setVerticalSpacing(2);
    const QString captions[] = { MainWindowTexts::userCaption(), MainWindowTexts::companyCaption(),
        MainWindowTexts::representativeCaption() };
    QLabel **values[] = { &m_userValue, &m_companyValue, &m_representativeValue };
    for (int i = 0; i < 3; ++i) {
        auto *caption = new QLabel(captions[i], header);
        caption->setObjectName(u"headerCaption"_s);
        *values[i] = new QLabel(header);
        (*values[i])->setObjectName(u"headerValue"_s);
        (*values[i])->setTextInteractionFlags(Qt::TextSelectableByMouse);
        labels->addWidget(caption, i, 0);
        labels->addWidget(*values[i], i, 1);
    }
    labels->setColumnStretch(1, 1);
    row->addLayout(labels, 1);

    m_banner = new QLabel(header);
    m_banner->setObjectName(u"banner"_s);
    m_banner->setFixedSize(405, 70);
    m_banner->setScaledContents(true);
    m_banner->setPixmap(ShellIcons::defaultBanner());
    row->addWidget(m_banner);

    m_menuButton = new QToolButton(header);
    m_menuButton->setObjectName(u"menuButton"_s);
    m_menuButton->setIcon(ShellIcons::menuIcon());
    m_menuButton->setIconSize(QSize(28, 28));
    m_menuButton->setFixedSize(56, 56);
    m_menuButton->setToolTip(MainWindowTexts::generalMenuHint());
    m_menuButton->setPopupMode(QToolButton::InstantPopup);
    row->addWidget(m_menuButton);
    return header;
}

QWidget *TForm1::buildToolbar()
{
    auto *toolbar = new QFrame(this);
    toolbar->setObjectName(u"toolbar"_s);
    toolbar->setFixedHeight(35);
    auto *row = new QHBoxLayout(toolbar);
    row->setContentsMargins(6, 2, 6, 2);
    row->setSpacing(4);

    m_araedit = new QLineEdit(toolbar);
    m_araedit->setObjectName(u"araedit"_s);
    // The stock list gives the box its upper case and letter mapping.
    QFont big = m_araedit->font();
    big.setPixelSize(20);
    m_araedit->setFont(big);
    m_araedit->setFixedSize(320, 30);
    row->addWidget(m_araedit);
    connect(m_araedit, &QLineEdit::returnPressed, this, [this] { stockTab()->startSearch(); });

    m_ara = toolbarButton(ShellIcons::searchIcon(), MainWindowTexts::searchHint(), toolbar);
    m_ara->setObjectName(u"ara"_s);
    connect(m_ara, &QToolButton::clicked, this, &TForm1::runSearchAction);
    row->addWidget(m_ara);
    m_temizle = toolbarButton(ShellIcons::clearIcon(), MainWindowTexts::clearHint(), toolbar);
    m_temizle->setObjectName(u"temizle"_s);
    connect(m_temizle, &QToolButton::clicked, this, &TForm1::clearSearch);
    row->addWidget(m_temizle);

    m_baskaCariSec = new QPushButton(ShellIcons::customerIcon(), MainWindowTexts::otherCustomer(), toolbar);
    m_baskaCariSec->setObjectName(u"toolbarButton"_s);
    m_baskaCariSec->setFixedHeight(29);
    m_baskaCariSec->hide();
    connect(m_baskaCariSec, &QPushButton::clicked, this, &TForm1::otherCustomer);
    row->addWidget(m_baskaCariSec);

    m_kurlar = new QLabel(MainWindowTexts::rates(), toolbar);
    m_kurlar->setObjectName(u"kurlar"_s);
    row->addWidget(m_kurlar);
    row->addStretch(1);
    for (auto &busy : m_busy) {
        busy = new BusyIndicator(24, toolbar);
        row->addWidget(busy);
    }
    return toolbar;
}

QWidget *TForm1::buildTickerPanel()
{
    auto *panel = new QFrame(this);
    panel->setObjectName(u"tickerPanel"_s);
    panel->setFixedHeight(125);
    auto *column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 1, 0, 1);
    column->setSpacing(1);
    m_upperTicker = new Ticker(72, panel);
    m_upperTicker->setObjectName(u"upperTicker"_s);
    m_upperTicker->addPixmap(ShellIcons::tickerStrip().scaledToHeight(72, Qt::SmoothTransformation));
    m_upperTicker->start();
    m_lowerTicker = new Ticker(51, panel);
    m_lowerTicker->setObjectName(u"lowerTicker"_s);
    column->addWidget(m_upperTicker);
    column->addWidget(m_lowerTicker);
    return panel;
}

void TForm1::buildTabs()
{
    QWidget *host = m_tabs;
    const std::array<ShellTab *, kMainTabCount> pages = {
        new StockTab(*this, host),
        new BasketTab(*this, host),
        new OrdersTab(*this, host),
        new StatementTab(*this, host),
        new NewStockTab(*this, host),
        new CampaignTab(*this, host),
        new AnnouncementsTab(*this, host),
        new BalancesTab(*this, host),
        new GenuinePricesTab(*this, host),
        new FilesTab(*this, host),
        new CardPaymentTab(*this, host),
    };
    for (std::size_t i = 0; i < pages.size(); ++i) {
        Q_ASSERT(static_cast<std::size_t>(pages[i]->id()) == i);
        m_pages[i] = pages[i];
        m_tabs->addTab(pages[i], pages[i]->caption(), ShellIcons::tabIcon(pages[i]->id()));
    }
    connect(m_tabs, &BadgeTabWidget::currentChanged, this, &TForm1::tabChanged);
}

void TForm1::buildGeneralMenu()
{
    m_generalMenu = new QMenu(this);
    m_generalMenu->setObjectName(u"generalMenu"_s);
    m_generalMenu->addAction(MainWindowTexts::mail(), this, [this] {
        if (m_env.windows.mail)
            m_env.windows.mail(this, m_sbilgi, m_bagc);
        else
            missing(MainWindowTexts::mailWindow());
    });
    m_generalMenu->addSeparator();
    m_generalMenu->addAction(MainWindowTexts::passwordRequest(), this, [this] {
        if (m_env.windows.passwordChangeRequest)
            m_env.windows.passwordChangeRequest(this, m_sbilgi, m_bagc);
        else
            missing(MainWindowTexts::accountRequestWindow());
    });
    m_generalMenu->addSeparator();
    m_generalMenu->addAction(m_env.webSiteHost, this, [this] {
        m_env.openUrl(m_env.webSiteUrl);
        m_araedit->selectAll();
        m_araedit->setFocus();
    });
    m_generalMenu->addSeparator();
    m_generalMenu->addAction(MainWindowTexts::quit(), this, &QWidget::close);
    m_menuButton->setMenu(m_generalMenu);
}

bool TForm1::startUp()
{
    m_sbilgi.setBilgiSayarAdi(m_env.local.computerName());
    m_sbilgi.setBilgisayarKullanici(m_env.local.userName());
    m_sbilgi.setIcip(m_env.local.ipv4Address());
    m_sbilgi.setBILGISAYARID(m_env.local.computerIdentity());
    m_bagc.setHostName(m_env.portalHost);
    m_bagc.setPort(m_env.portalPort);

    {
        Tgirisform login(m_bagc, m_sbilgi, *this, m_env);
        if (login.exec() != QDialog::Accepted) {
            m_env.exitProcess(0);
            return false;
        }
    }
    if (m_sbilgi.Disip().trimmed().isEmpty()) {
        m_env.exitProcess(0);
        return false;
    }
    adjustToRole();
    startStartupLoad();
    // The stock tab is the active one and the search box has the focus once the window shows.
    showTab(MainTab::StokListesi);
    m_araedit->setFocus();
    return true;
}

UserRole TForm1::role() const
{
    return userRoleFor(m_sbilgi);
}

void TForm1::adjustToRole()
{
    const UserRole r = role();
    m_baskaCariSec->setVisible(r.staff);
    m_tabs->setTabVisible(static_cast<int>(MainTab::Kampanyali), !r.campaignHidden);
    for (ShellTab *page : m_pages)
        page->applyRole(r);
}

void TForm1::setSellerLabels()
{
    m_userValue->setText(m_sbilgi.ADI());
    m_companyValue->setText(m_sbilgi.CariAdi());
    m_representativeValue->setText(m_sbilgi.SaticiAdi() + MainWindowTexts::representativePhone()
        + m_sbilgi.SaticiTelefon() + MainWindowTexts::representativeMail() + m_sbilgi.SaticiMail());
}

void TForm1::setStartupNotices(std::unique_ptr<StartupNotices> notices)
{
    m_notices = std::move(notices);
}

void TForm1::startStartupLoad()
{
    // The labels come from the session the UI thread owns, so they are set here rather than
    // from the worker.
    setSellerLabels();
    StartupNotices *notices = m_notices.get();
    m_startupLoad->start(
        [notices] {
            if (notices)
                notices->runLoaders();
            return true;
        },
        [this](bool) {
            if (m_notices)
                m_notices->afterStartupLoad();
        });
}

StockTab *TForm1::stockTab() const
{
    return static_cast<StockTab *>(tab(MainTab::StokListesi));
}

void TForm1::setTabBadge(MainTab tab, int value)
{
    m_tabs->setBadge(static_cast<int>(tab), value);
}

int TForm1::tabBadge(MainTab tab) const
{
    return m_tabs->badge(static_cast<int>(tab));
}

void TForm1::setTabCaption(MainTab tab, const QString &caption)
{
    m_tabs->setTabText(static_cast<int>(tab), caption);
}

QString TForm1::tabCaption(MainTab tab) const
{
    return m_tabs->tabText(static_cast<int>(tab));
}

void TForm1::showTab(MainTab tab)
{
    m_tabs->setCurrentIndex(static_cast<int>(tab));
}

MainTab TForm1::currentTab() const
{
    return static_cast<MainTab>(m_tabs->currentIndex());
}

BusyIndicator *TForm1::busyIndicator(BusySlot slot)
{
    return m_busy[static_cast<std::size_t>(slot)];
}

void TForm1::tabChanged(int index, int previous)
{
    if (previous >= 0)
        m_pages[static_cast<std::size_t>(previous)]->tabHidden();
    m_pages[static_cast<std::size_t>(index)]->tabShown();
}

void TForm1::runSearchAction()
{
    if (m_araedit->isEnabled())
        stockTab()->startSearch();
}

void TForm1::clearSearch()
{
    if (m_araedit->isEnabled())
        stockTab()->clearSearch();
}

void TForm1::otherCustomer()
{
    if (!m_env.windows.customerSelection) {
        missing(MainWindowTexts::customerSelectionWindow());
        return;
    }
    m_env.windows.customerSelection(this, m_bagc, m_sbilgi, false);
    // Whether or not an account was chosen: new labels, basket reloaded, stock list emptied.
    setSellerLabels();
    for (ShellTab *page : m_pages)
        page->sessionChanged();
    showTab(MainTab::StokListesi);
    m_araedit->selectAll();
    m_araedit->setFocus();
}

bool TForm1::missing(const QString &window)
{
    showError(*m_env.messages, MainWindowTexts::missingWindow(window));
    return false;
}

bool TForm1::openProgramUpdate(QWidget *parent, int version)
{
    if (!m_env.windows.programUpdate)
        return missing(MainWindowTexts::programUpdateWindow());
    m_env.windows.programUpdate(parent, version, m_bagc);
    return true;
}

bool TForm1::openNewAccountRequest(QWidget *parent)
{
    if (!m_env.windows.newAccountRequest)
        return missing(MainWindowTexts::accountRequestWindow());
    m_env.windows.newAccountRequest(parent, m_sbilgi, m_bagc);
    return true;
}

std::optional<bool> TForm1::selectCustomerAfterLogin(QWidget *parent)
{
    if (!m_env.windows.customerSelection) {
        missing(MainWindowTexts::customerSelectionWindow());
        return std::nullopt;
    }
    return m_env.windows.customerSelection(parent, m_bagc, m_sbilgi, true);
}

bool TForm1::confirmClose()
{
    if (!askYesNo(*m_env.messages, MainWindowTexts::closeQuestion()))
        return false;
    // At once: running loads are not waited for and nothing is saved.
    m_env.exitProcess(0);
    return true;
}

void TForm1::closeEvent(QCloseEvent *event)
{
    if (confirmClose())
        event->accept();
    else
        event->ignore();
}

} // namespace morvex
