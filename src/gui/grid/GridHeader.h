#pragma once

#include <QHeaderView>
#include <QStringList>

#include <functional>
#include <optional>

namespace morvex {

// The column header: captions, the sort arrow and, when filters are on, a drop-down button at
// the right of a section. The button shows while the mouse is over the section, while its
// drop-down is open and, filled, for as long as the column has a filter; otherwise the caption
// has the whole section. A caption too wide for one line takes two when the header is high
// enough, and every section's tool tip gives the full caption.
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
    // The section whose drop-down is open (-1: none) keeps its button.
    void setOpenFilter(int logicalIndex);
    int openFilter() const { return m_openFilter; }

    // Where the filter button of a section sits, in header coordinates (empty when the section
    // cannot be filtered or filters are off); a press there opens the drop-down.
    QRect filterButtonRect(int logicalIndex) const;
    // Whether that button is drawn now.
    bool isFilterButtonShown(int logicalIndex) const;
    int hoveredSection() const;

    // The lines a caption is drawn in: at most maxLines, each no wider than width. Words go to
    // the next line; a single word too long for a line is split inside, and what still does not
    // fit is elided on the last line.
    static QStringList captionLines(const QString &caption, const QFont &font, int width, int maxLines);

Q_SIGNALS:
    void filterButtonClicked(int logicalIndex);

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool viewportEvent(QEvent *event) override;

private:
    QRect buttonRectIn(const QRect &section, int logicalIndex) const;
    bool buttonShown(int logicalIndex) const;
    void setHoverPos(std::optional<QPoint> pos);
    void paintFilterButton(QPainter *painter, const QRect &button, bool active) const;

    bool m_filtersEnabled = true;
    bool m_pressOnButton = false;
    int m_openFilter = -1;
    std::optional<QPoint> m_hoverPos; // viewport coordinates; the section is looked up when painting
    std::function<bool(int)> m_isActive;
    std::function<bool(int)> m_isFilterable;
};

} // namespace morvex
