#include "gui/grid/GridHeader.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionHeader>

namespace morvex {

namespace {
    constexpr int kButtonWidth = 16;
    constexpr int kArrowWidth = 12;
} // namespace

GridHeader::GridHeader(QWidget *parent)
    : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsClickable(true);
    setHighlightSections(false);
}

void GridHeader::setFiltersEnabled(bool enabled)
{
    m_filtersEnabled = enabled;
    viewport()->update();
}

QRect GridHeader::buttonRectIn(const QRect &section, int logicalIndex) const
{
    if (!m_filtersEnabled || section.width() < kButtonWidth + 8
        || (m_isFilterable && !m_isFilterable(logicalIndex)))
        return {};
    const int height = std::min(section.height() - 4, 18);
    return QRect(section.right() - kButtonWidth - 2, section.center().y() - height / 2, kButtonWidth, height);
}

QRect GridHeader::filterButtonRect(int logicalIndex) const
{
    if (logicalIndex < 0 || isSectionHidden(logicalIndex))
        return {};
    const QRect section(sectionViewportPosition(logicalIndex), 0, sectionSize(logicalIndex), height());
    return buttonRectIn(section, logicalIndex);
}

void GridHeader::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    if (!rect.isValid())
        return;
    QStyleOptionHeader opt;
    initStyleOption(&opt);
    opt.rect = rect;
    opt.section = logicalIndex;
    opt.state |= QStyle::State_Raised;
    if (isEnabled())
        opt.state |= QStyle::State_Enabled;
    if (window()->isActiveWindow())
        opt.state |= QStyle::State_Active;
    opt.position = QStyleOptionHeader::Middle;
    const bool sorted = isSortIndicatorShown() && sortIndicatorSection() == logicalIndex;
    opt.sortIndicator = !sorted                      ? QStyleOptionHeader::None
        : sortIndicatorOrder() == Qt::AscendingOrder ? QStyleOptionHeader::SortDown
                                                     : QStyleOptionHeader::SortUp;
    style()->drawControl(QStyle::CE_HeaderSection, &opt, painter, this);

    const QRect button = buttonRectIn(rect, logicalIndex);
    int right = button.isValid() ? button.left() - 2 : rect.right() - 2;
    if (sorted) {
        QStyleOptionHeader arrow = opt;
        arrow.rect = QRect(right - kArrowWidth, rect.top(), kArrowWidth, rect.height());
        style()->drawPrimitive(QStyle::PE_IndicatorHeaderArrow, &arrow, painter, this);
        right -= kArrowWidth + 2;
    }

    QStyleOptionHeader label = opt;
    label.rect = QRect(rect.left() + 4, rect.top(), std::max(0, right - rect.left() - 4), rect.height());
    label.sortIndicator = QStyleOptionHeader::None;
    label.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    label.text = opt.fontMetrics.elidedText(
        model() ? model()->headerData(logicalIndex, orientation()).toString() : QString(), Qt::ElideRight,
        label.rect.width());
    style()->drawControl(QStyle::CE_HeaderLabel, &label, painter, this);

    if (button.isValid()) {
        const bool active = m_isActive && m_isActive(logicalIndex);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(active ? QColor(30, 90, 170) : QColor(160, 170, 185)));
        painter->setBrush(active ? QColor(210, 225, 250) : QColor(250, 250, 252));
        painter->drawRoundedRect(QRectF(button).adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
        QPainterPath triangle;
        const QPointF c = QRectF(button).center();
        triangle.moveTo(c.x() - 4, c.y() - 2);
        triangle.lineTo(c.x() + 4, c.y() - 2);
        triangle.lineTo(c.x(), c.y() + 3);
        triangle.closeSubpath();
        painter->setPen(Qt::NoPen);
        painter->setBrush(active ? QColor(30, 90, 170) : QColor(90, 90, 90));
        painter->drawPath(triangle);
        painter->restore();
    }
}

void GridHeader::mousePressEvent(QMouseEvent *event)
{
    const int logical = logicalIndexAt(event->position().toPoint());
    m_pressOnButton = event->button() == Qt::LeftButton && logical >= 0
        && filterButtonRect(logical).contains(event->position().toPoint());
    if (m_pressOnButton) {
        event->accept();
        Q_EMIT filterButtonClicked(logical);
        return;
    }
    QHeaderView::mousePressEvent(event);
}

void GridHeader::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_pressOnButton) {
        // The press opened the drop-down; the release must not sort the column.
        m_pressOnButton = false;
        event->accept();
        return;
    }
    QHeaderView::mouseReleaseEvent(event);
}

} // namespace morvex
