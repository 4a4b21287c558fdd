#pragma once

#include <QHeaderView>

#include <functional>

namespace morvex {

// The column header: captions, the sort arrow and, when filters are on, a drop-down button at
// the right of every section (filled while the column has a filter).
class GridHeader : public QHeaderView
{
    Q_OBJECT

public:
    explicit GridHeader(QWidget *parent = nullptr);

    void setFiltersEnabled(bool enabled);
    bool filtersEnabled() const { return m_filtersEnabled; }
    void setFilterActive(std::function<bool(int logicalIndex)> isActive) { m_isActive = std::move(isActive); }
    void setFilterable(std::function<bool(int logicalIndex)> isFilterable)
    {
        m_isFilterable = std::move(isFilterable);
    }
    // The filter button of a section, in header coordinates (empty when filters are off).
    QRect filterButtonRect(int logicalIndex) const;

Q_SIGNALS:
    void filterButtonClicked(int logicalIndex);

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QRect buttonRectIn(const QRect &section, int logicalIndex) const;

    bool m_filtersEnabled = true;
    bool m_pressOnButton = false;
    std::function<bool(int)> m_isActive;
    std::function<bool(int)> m_isFilterable;
};

} // namespace morvex
