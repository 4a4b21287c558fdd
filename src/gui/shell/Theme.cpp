#include "gui/shell/Theme.h"

using namespace Qt::StringLiterals;

namespace morvex {

Theme themeForDate(const QDate &day)
{
    const bool holiday = (day.month() == 12 && day.day() > 25) || (day.month() == 1 && day.day() < 6);
    return holiday ? Theme::Winter : Theme::Standard;
}

QString themeName(Theme theme)
{
    return theme == Theme::Winter ? u"Winter2011 (internal)"_s : u"Office2010 Blue (internal)"_s;
}

namespace {

    struct Palette
    {
        QString window, panelTop, panelBottom, text, accent, accentText, tabTop, tabBottom, tabChecked,
            border, badge, ticker;
    };

    QString sheet(const Palette &p)
    {
        // Object names are set by the windows: header, toolbar, tabStrip, legend, tickerPanel.
        QString s = uR"(
QWidget#mainWindowBody { background: %window%; color: %text%; }
QFrame#header, QFrame#toolbar, QFrame#legend {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %panelTop%, stop:1 %panelBottom%);
    border-bottom: 1px solid %border%; color: %text%; }
QFrame#tickerPanel { background: %ticker%; border-top: 1px solid %border%; }
QFrame#tabStrip { background: %window%; border-bottom: 2px solid %accent%; }
QToolButton#tabButton {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %tabTop%, stop:1 %tabBottom%);
    border: 1px solid %border%; border-radius: 5px; color: %text%; font-weight: bold; padding: 2px; }
QToolButton#tabButton:hover { border-color: %accent%; }
QToolButton#tabButton:checked { background: %tabChecked%; color: %accentText%; border-color: %accent%; }
QToolButton#menuButton, QPushButton#toolbarButton, QToolButton#toolbarButton {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %tabTop%, stop:1 %tabBottom%);
    border: 1px solid %border%; border-radius: 4px; color: %text%; padding: 3px 8px; font-weight: bold; }
QToolButton#menuButton:hover, QPushButton#toolbarButton:hover, QToolButton#toolbarButton:hover { border-color: %accent%; }
QLineEdit#araedit { border: 1px solid %border%; border-radius: 3px; background: white; padding: 0 4px; }
QLabel#headerCaption { color: %accent%; }
QLabel#headerValue, QLabel#kurlar { color: %text%; }
QMenu { background: white; border: 1px solid %border%; }
QMenu::item:selected { background: %tabChecked%; color: %accentText%; }
QStackedWidget#tabPages { background: white; border: 1px solid %border%; border-top: none; }
)"_s;
        const std::pair<const char16_t *, const QString *> keys[] = {
            { u"%window%", &p.window },
            { u"%panelTop%", &p.panelTop },
            { u"%panelBottom%", &p.panelBottom },
            { u"%text%", &p.text },
            { u"%accent%", &p.accent },
            { u"%accentText%", &p.accentText },
            { u"%tabTop%", &p.tabTop },
            { u"%tabBottom%", &p.tabBottom },
            { u"%tabChecked%", &p.tabChecked },
            { u"%border%", &p.border },
            { u"%badge%", &p.badge },
            { u"%ticker%", &p.ticker },
        };
        for (const auto &[key, value] : keys)
            s.replace(QString::fromUtf16(key), *value);
        return s;
    }

} // namespace

QString themeStyleSheet(Theme theme)
{
    if (theme == Theme::Winter) {
        // Snowy white panels on a deep night blue, with holiday red for the active tab.
        return sheet({ u"#1f3550"_s, u"#ffffff"_s, u"#d9e6f2"_s, u"#12263d"_s, u"#b3202a"_s, u"#ffffff"_s,
            u"#f7fbff"_s, u"#cfdeec"_s, u"#b3202a"_s, u"#7f98b3"_s, u"#b3202a"_s, u"#e9f1f9"_s });
    }
    // Light office blue.
    return sheet({ u"#cfddee"_s, u"#e4edf8"_s, u"#c2d5ec"_s, u"#15428b"_s, u"#2b63b3"_s, u"#ffffff"_s,
        u"#f3f7fc"_s, u"#d5e3f3"_s, u"#3d7bd0"_s, u"#8ba9d0"_s, u"#d83b01"_s, u"#f4f8fd"_s });
}

} // namespace morvex
