#include "gui/grid/GridHeader.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionHeader>
#include <QTextBoundaryFinder>

#include <limits>
#include <vector>

using namespace Qt::StringLiterals;

namespace morvex {

namespace {
    constexpr int kButtonWidth = 16;
    constexpr int kArrowWidth = 12;
    constexpr int kMaxCaptionLines = 2;
} // namespace

GridHeader::GridHeader(QWidget *parent)
    : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsClickable(true);
    setHighlightSections(false);
    viewport()->setMouseTracking(true);
}

void GridHeader::setFiltersEnabled(bool enabled)
{
    m_filtersEnabled = enabled;
    viewport()->update();
}

void GridHeader::setOpenFilter(int logicalIndex)
{
    if (m_openFilter == logicalIndex)
        return;
    m_openFilter = logicalIndex;
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
    if (logicalIndex < 0 || logicalIndex >= count() || isSectionHidden(logicalIndex))
        return {};
    const QRect section(sectionViewportPosition(logicalIndex), 0, sectionSize(logicalIndex), height());
    return buttonRectIn(section, logicalIndex);
}

int GridHeader::hoveredSection() const
{
    return m_hoverPos ? logicalIndexAt(*m_hoverPos) : -1;
}

bool GridHeader::buttonShown(int logicalIndex) const
{
    return logicalIndex == m_openFilter || logicalIndex == hoveredSection()
        || (m_isActive && m_isActive(logicalIndex));
}

bool GridHeader::isFilterButtonShown(int logicalIndex) const
{
    return filterButtonRect(logicalIndex).isValid() && buttonShown(logicalIndex);
}

void GridHeader::setHoverPos(std::optional<QPoint> pos)
{
    const int before = hoveredSection();
    m_hoverPos = pos;
    if (hoveredSection() != before)
        viewport()->update();
}

QStringList GridHeader::captionLines(const QString &caption, const QFont &font, int width, int maxLines)
{
    const QFontMetrics metrics(font);
    const QString text = caption.simplified();
    if (text.isEmpty() || width <= 0)
        return {};
    const auto fits = [&](const QString &line) { return metrics.horizontalAdvance(line) <= width; };
    // elidedText() may shorten a line that horizontalAdvance() says fits exactly.
    const auto elided = [&](const QString &line) {
        return fits(line) ? line : metrics.elidedText(line, Qt::ElideRight, width);
    };
    if (maxLines <= 1 || fits(text))
        return { elided(text) };
    // Lines are gathered whole and elided at the end. The last line takes the rest; when nothing
    // but the ellipsis would be left of it, the line before ends in the ellipsis instead, if that
    // still keeps a letter.
    const auto endLines = [&](QStringList lines, const QString &rest, const QString &joint) {
        const auto bare = [](const QString &line) { return line.isEmpty() || line == u"\u2026"_s; };
        if (!rest.isEmpty()) {
            if (!lines.isEmpty() && bare(elided(rest)) && !bare(elided(lines.back() + joint + rest)))
                lines.back() += joint + rest;
            else
                lines << rest;
        }
        for (QString &line : lines)
            line = elided(line);
        return lines;
    };

    QStringList lines;
    const QStringList words = text.split(u' ');
    if (words.size() == 1) {
        // One long word ("Kampanyalı", a field name): split it at a character boundary rather
        // than show three letters and an ellipsis. When the rest fits on the next line, cut near
        // the middle ("Dur" "um", not "Duru" "m"); otherwise fill the line and elide the rest.
        QString rest = text;
        while (lines.size() < maxLines - 1 && !fits(rest)) {
            QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, rest);
            std::vector<qsizetype> cuts;
            for (qsizetype next = graphemes.toNextBoundary(); next > 0 && next < rest.size();
                 next = graphemes.toNextBoundary()) {
                if (!fits(rest.left(next)))
                    break;
                cuts.push_back(next);
            }
            if (cuts.empty())
                break;
            qsizetype cut = cuts.back();
            const bool lastSplit = lines.size() == maxLines - 2;
            if (lastSplit && fits(rest.mid(cut))) {
                int best = std::numeric_limits<int>::max();
                for (qsizetype c : cuts) {
                    const int right = metrics.horizontalAdvance(rest.mid(c));
                    const int wider = std::max(metrics.horizontalAdvance(rest.left(c)), right);
                    if (right <= width && wider < best) {
                        best = wider;
                        cut = c;
                    }
                }
            }
            lines << rest.left(cut);
            rest = rest.mid(cut);
        }
        return endLines(lines, rest, QString());
    }

    // Several words: fill each line with whole words; a word too long for a line of its own is
    // elided there, and whatever is left after the last line is elided into it.
    qsizetype word = 0;
    while (word < words.size() && lines.size() < maxLines - 1) {
        QString line = words[word++];
        while (word < words.size() && fits(line + u' ' + words[word]))
            line += u' ' + words[word++];
        lines << line;
    }
    return endLines(lines, words.mid(word).join(u' '), u" "_s);
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
    if (logicalIndex == hoveredSection())
        opt.state |= QStyle::State_MouseOver;
    opt.position = QStyleOptionHeader::Middle;
    const bool sorted = isSortIndicatorShown() && sortIndicatorSection() == logicalIndex;
    opt.sortIndicator = !sorted                      ? QStyleOptionHeader::None
        : sortIndicatorOrder() == Qt::AscendingOrder ? QStyleOptionHeader::SortDown
                                                     : QStyleOptionHeader::SortUp;
    style()->drawControl(QStyle::CE_HeaderSection, &opt, painter, this);

    QRect button = buttonRectIn(rect, logicalIndex);
    if (!buttonShown(logicalIndex))
        button = QRect();
    int right = button.isValid() ? button.left() - 2 : rect.right() - 2;
    if (sorted) {
        QStyleOptionHeader arrow = opt;
        arrow.rect = QRect(right - kArrowWidth, rect.top(), kArrowWidth, rect.height());
        style()->drawPrimitive(QStyle::PE_IndicatorHeaderArrow, &arrow, painter, this);
        right -= kArrowWidth + 2;
    }

    QStyleOptionHeader label = opt;
    label.rect = QRect(rect.left() + 4, rect.top(), std::max(0, right - rect.left() - 3), rect.height());
    label.sortIndicator = QStyleOptionHeader::None;
    label.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    const int lineRoom = std::max(1, (rect.height() - 4) / std::max(1, opt.fontMetrics.lineSpacing()));
    const QString caption = model() ? model()->headerData(logicalIndex, orientation()).toString() : QString();
    label.text
        = captionLines(caption, font(), label.rect.width(), std::min(lineRoom, kMaxCaptionLines)).join(u'\n');
    style()->drawControl(QStyle::CE_HeaderLabel, &label, painter, this);

    if (button.isValid())
        paintFilterButton(painter, button, m_isActive && m_isActive(logicalIndex));
}

void GridHeader::paintFilterButton(QPainter *painter, const QRect &button, bool active) const
{
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

void GridHeader::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    // A press is where the mouse is, even when no move came before it (a touch, a test).
    setHoverPos(pos);
    const int logical = logicalIndexAt(pos);
    m_pressOnButton
        = event->button() == Qt::LeftButton && logical >= 0 && filterButtonRect(logical).contains(pos);
    if (m_pressOnButton) {
        event->accept();
        Q_EMIT filterButtonClicked(logical);
        return;
    }
    QHeaderView::mousePressEvent(event);
}

void GridHeader::mouseMoveEvent(QMouseEvent *event)
{
    setHoverPos(event->position().toPoint());
    QHeaderView::mouseMoveEvent(event);
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

bool GridHeader::viewportEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::Leave:
    case QEvent::HoverLeave:
        setHoverPos(std::nullopt);
        break;
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
        setHoverPos(static_cast<QHoverEvent *>(event)->position().toPoint());
        break;
    default:
        break;
    }
    return QHeaderView::viewportEvent(event);
}

} // namespace morvex
