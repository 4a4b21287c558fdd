#pragma once

#include <QFrame>

namespace morvex {

// The strip under the tabs that explains the stock-status icons.
class StatusLegend : public QFrame
{
    Q_OBJECT
public:
    explicit StatusLegend(QWidget *parent = nullptr);
};

} // namespace morvex
