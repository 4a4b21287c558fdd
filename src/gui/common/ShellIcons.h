#pragma once

#include "gui/common/MainTab.h"

#include <QIcon>
#include <QPixmap>

namespace morvex {

// The program's pictures, drawn at run time: tab icons, stock-status icons, the general-menu
// icon, the ticker strip and the login window's background.
namespace ShellIcons {

    QIcon tabIcon(MainTab tab);
    // Stock status 0 "Yok", 1 "Var", 2 "Telefon Açınız", 3 "Yolda", 4 "Özel Sipariş",
    // 5 "Tedarik Sürecinde"; other values give an empty icon.
    QIcon stockStatusIcon(int status);
    QIcon menuIcon();
    QIcon searchIcon();
    QIcon clearIcon();
    QIcon customerIcon();
    // The upper ticker's picture: a strip 5000 by 100 pixels.
    QPixmap tickerStrip();
    // The header's banner until the server sends one: 405 by 70 pixels.
    QPixmap defaultBanner();

} // namespace ShellIcons
} // namespace morvex
