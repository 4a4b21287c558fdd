#include "gui/shell/StatusLegend.h"

#include "gui/common/ShellIcons.h"

#include <QHBoxLayout>
#include <QLabel>

using namespace Qt::StringLiterals;

namespace morvex {

StatusLegend::StatusLegend(QWidget *parent)
    : QFrame(parent)
{
    setObjectName(u"legend"_s);
    setFixedHeight(27);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 0, 8, 0);
    layout->setSpacing(2);
    layout->addWidget(new QLabel(u"Durum A\u00e7\u0131klamas\u0131:    "_s, this));
    // Status values in legend order, with their captions (the blanks are part of the layout).
    const std::pair<int, QString> entries[] = {
        { 1, u" Stok mevcut  "_s },
        { 2, u" Telefon A\u00e7\u0131n\u0131z  "_s },
        { 3, u" Yolda  "_s },
        { 5, u" Tedarik S\u00fcrecinde "_s },
        { 4, u" \u00d6zel Sipari\u015f  "_s },
        { 0, u" Yok  "_s },
    };
    for (const auto &[status, caption] : entries) {
        auto *icon = new QLabel(this);
        icon->setPixmap(ShellIcons::stockStatusIcon(status).pixmap(18, 18));
        icon->setObjectName(u"legendIcon%1"_s.arg(status));
        layout->addWidget(icon);
        auto *label = new QLabel(caption, this);
        label->setObjectName(u"legendText%1"_s.arg(status));
        layout->addWidget(label);
    }
    layout->addStretch();
}

} // namespace morvex
