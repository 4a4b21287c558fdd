#include "gui/grid/GridFooter.h"

#include "gui/grid/GridFilterModel.h"
#include "gui/grid/RecordSetModel.h"

#include <QHeaderView>
#include <QPainter>

namespace morvex {

int FooterValues::count() const
{
    return m_rows->rowCount();
}

double FooterValues::sum(QStringView field) const
{
    const QString key = field.toString().toUpper();
    if (const auto it = m_sums.constFind(key); it != m_sums.constEnd())
        return *it;
    const RecordSetModel *model = m_rows->recordSetModel();
    const RecordSet *set = model->recordSet();
    double total = 0;
    const int index = set ? set->fieldIndex(field) : -1;
    if (index >= 0) {
        const FieldType type = set->field(index).type;
        auto add = [&](int row) {
            if (set->isNull(row, index))
                return;
            switch (type) {
            case FieldType::Double:
                total += set->real(row, index);
                break;
            case FieldType::Int32:
                total += set->int32(row, index);
                break;
            case FieldType::Int64:
                total += static_cast<double>(set->int64(row, index));
                break;
            default:
                break;
            }
        };
        if (!m_rows->hasAnyFilter()) {
            for (int row = 0, rows = set->rowCount(); row < rows; ++row)
                add(row);
        } else {
            for (int row = 0, rows = m_rows->rowCount(); row < rows; ++row)
                add(m_rows->mapToSource(m_rows->index(row, 0)).row());
        }
    }
    m_sums.insert(key, total);
    return total;
}

GridFooter::GridFooter(QHeaderView *header, QWidget *parent)
    : QWidget(parent)
    , m_header(header)
{
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
}

void GridFooter::setTexts(QHash<int, QString> texts, QHash<int, Qt::Alignment> alignments)
{
    m_texts = std::move(texts);
    m_alignments = std::move(alignments);
    update();
}

int GridFooter::preferredHeight() const
{
    return fontMetrics().height() + 14;
}

void GridFooter::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(0, 0, width(), 0);
    for (auto it = m_texts.constBegin(); it != m_texts.constEnd(); ++it) {
        const int logical = it.key();
        if (m_header->isSectionHidden(logical) || m_header->sectionSize(logical) <= 4)
            continue;
        const QRect cell(
            m_header->sectionViewportPosition(logical), 0, m_header->sectionSize(logical), height());
        const QRect box = cell.adjusted(2, 4, -2, -4);
        painter.setPen(palette().color(QPalette::Mid));
        painter.setBrush(palette().color(QPalette::Base));
        painter.drawRect(box.adjusted(0, 0, -1, -1));
        painter.setPen(palette().color(QPalette::Text));
        const Qt::Alignment alignment = m_alignments.value(logical, Qt::AlignLeft) | Qt::AlignVCenter;
        const QRect textBox = box.adjusted(4, 0, -4, 0);
        painter.drawText(textBox, static_cast<int>(alignment),
            fontMetrics().elidedText(it.value(), Qt::ElideRight, textBox.width()));
    }
}

} // namespace morvex
