#include "gui/grid/GridDelegate.h"

#include "gui/grid/GridIcons.h"
#include "gui/grid/RecordSetModel.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

namespace morvex {

using namespace Qt::StringLiterals;

namespace {

    ColumnKind kindOf(const QModelIndex &index)
    {
        return static_cast<ColumnKind>(index.data(GridRole::Kind).toInt());
    }

    std::optional<int> intValue(const QModelIndex &index)
    {
        const QVariant raw = index.data(GridRole::Raw);
        bool ok = false;
        const int value = raw.toInt(&ok);
        if (!raw.isValid() || !ok)
            return std::nullopt;
        return value;
    }

    void paintIcon(QPainter *painter, const QStyleOptionViewItem &option, gridicons::IconSet set, int value)
    {
        const QRect &cell = option.rect;
        const int side = std::min({ cell.height() - 8, cell.width() - 4, 30 });
        if (side <= 0)
            return;
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        const QPixmap icon = gridicons::cachedIcon(set, value, side, ratio);
        QRect box(0, 0, side, side);
        box.moveCenter(cell.center());
        painter->drawPixmap(box, icon);
    }

} // namespace

GridDelegate::GridDelegate(const RecordSetModel *source, QObject *parent)
    : QStyledItemDelegate(parent)
    , m_source(source)
{
}

void GridDelegate::setSearchMatch(const QModelIndex &index, qsizetype length)
{
    m_searchIndex = index;
    m_searchLength = index.isValid() ? length : 0;
}

QRect GridDelegate::buttonRect(const QRect &cell)
{
    const int margin = std::min(6, std::max(0, (cell.height() - 20) / 2));
    return cell.adjusted(4, margin, -4, -margin);
}

QString GridDelegate::buttonText(int column) const
{
    const GridColumn &spec = m_source->column(column);
    return spec.buttonText.isEmpty() ? spec.caption : spec.buttonText;
}

const QImage *GridDelegate::picture(const QByteArray &bytes) const
{
    if (bytes.isEmpty())
        return nullptr;
    if (const QImage *cached = m_pictures.object(bytes))
        return cached;
    auto *image = new QImage(QImage::fromData(bytes));
    if (image->isNull()) {
        delete image;
        return nullptr;
    }
    const QImage *result = image;
    m_pictures.insert(bytes, image, 1);
    return result;
}

void GridDelegate::paintBackground(
    QPainter *painter, QStyleOptionViewItem option, const QWidget *widget) const
{
    option.text.clear();
    option.features &= ~QStyleOptionViewItem::HasDisplay;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &option, painter, widget);
}

void GridDelegate::paintSearchMatch(
    QPainter *painter, const QStyleOptionViewItem &option, const QWidget *widget) const
{
    const qsizetype length = std::min(m_searchLength, option.text.size());
    if (length <= 0)
        return;
    QStyle *style = widget ? widget->style() : QApplication::style();
    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &option, widget);
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QFontMetrics metrics(option.font);
    const int fullWidth = std::min(metrics.horizontalAdvance(option.text), textRect.width() - 2 * margin);
    const QString prefix = option.text.left(length);
    const int prefixWidth = std::min(metrics.horizontalAdvance(prefix), fullWidth);
    int left = textRect.left() + margin;
    if (option.displayAlignment & Qt::AlignRight)
        left = textRect.right() - margin - fullWidth + 1;
    else if (option.displayAlignment & Qt::AlignHCenter)
        left = textRect.center().x() - fullWidth / 2;
    const QRect mark(left, textRect.center().y() - metrics.height() / 2, prefixWidth, metrics.height());
    painter->save();
    painter->fillRect(mark, QColor(255, 190, 40));
    painter->setPen(Qt::black);
    painter->setFont(option.font);
    painter->drawText(mark, Qt::AlignLeft | Qt::AlignVCenter, prefix);
    painter->restore();
}

void GridDelegate::paint(
    QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    if (!m_focusRectangle)
        opt.state &= ~QStyle::State_HasFocus;
    const QWidget *widget = opt.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    const ColumnKind kind = kindOf(index);

    switch (kind) {
    case ColumnKind::Text:
    case ColumnKind::Number:
    case ColumnKind::MultiLine:
        if (kind == ColumnKind::MultiLine)
            opt.features |= QStyleOptionViewItem::WrapText;
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
        if (m_searchLength > 0 && index == m_searchIndex && kind != ColumnKind::MultiLine)
            paintSearchMatch(painter, opt, widget);
        return;
    default:
        break;
    }

    paintBackground(painter, opt, widget);
    const std::optional<int> value = intValue(index);
    switch (kind) {
    case ColumnKind::StockStatus:
        if (value && *value >= 0 && *value <= 5)
            paintIcon(painter, opt, gridicons::IconSet::StockStatus, *value);
        break;
    case ColumnKind::YesNo:
        if (value == 0 || value == 1)
            paintIcon(painter, opt, gridicons::IconSet::YesNo, *value);
        break;
    case ColumnKind::Campaign:
        if (value == 0 || value == 1)
            paintIcon(painter, opt, gridicons::IconSet::Campaign, *value);
        break;
    case ColumnKind::FileType:
        if (value)
            paintIcon(painter, opt, gridicons::IconSet::FileType, *value);
        break;
    case ColumnKind::Check: {
        QStyleOptionViewItem check = opt;
        const int w = style->pixelMetric(QStyle::PM_IndicatorWidth, &opt, widget);
        const int h = style->pixelMetric(QStyle::PM_IndicatorHeight, &opt, widget);
        check.rect = QRect(0, 0, w, h);
        check.rect.moveCenter(opt.rect.center());
        check.state
            = (opt.state & QStyle::State_Enabled) | (value == 1 ? QStyle::State_On : QStyle::State_Off);
        style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &check, painter, widget);
        break;
    }
    case ColumnKind::Button: {
        QStyleOptionButton button;
        button.rect = buttonRect(opt.rect);
        button.text = buttonText(index.column());
        button.palette = opt.palette;
        button.fontMetrics = opt.fontMetrics;
        button.state = QStyle::State_Enabled
            | (m_pressed.isValid() && m_pressed == index ? QStyle::State_Sunken : QStyle::State_Raised);
        style->drawControl(QStyle::CE_PushButton, &button, painter, widget);
        break;
    }
    case ColumnKind::Progress: {
        QStyleOptionProgressBar bar;
        bar.rect = opt.rect.adjusted(
            4, std::min(8, opt.rect.height() / 5), -4, -std::min(8, opt.rect.height() / 5));
        bar.minimum = 0;
        bar.maximum = 100;
        bar.progress = std::clamp(value.value_or(0), 0, 100);
        bar.text = QString::number(bar.progress) + u"%"_s;
        bar.textVisible = true;
        bar.textAlignment = Qt::AlignCenter;
        bar.palette = opt.palette;
        bar.fontMetrics = opt.fontMetrics;
        bar.state = QStyle::State_Enabled | QStyle::State_Horizontal;
        style->drawControl(QStyle::CE_ProgressBar, &bar, painter, widget);
        break;
    }
    case ColumnKind::Picture: {
        if (const QImage *image = picture(index.data(GridRole::Raw).toByteArray())) {
            const QRect area = opt.rect.adjusted(2, 2, -2, -2);
            const QSize size = image->size().scaled(area.size(), Qt::KeepAspectRatio);
            QRect target(QPoint(0, 0), size);
            target.moveCenter(area.center());
            painter->save();
            painter->setRenderHint(QPainter::SmoothPixmapTransform);
            painter->drawImage(target, *image);
            painter->restore();
        }
        break;
    }
    default:
        break;
    }
}

QSize GridDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    switch (kindOf(index)) {
    case ColumnKind::StockStatus:
    case ColumnKind::YesNo:
    case ColumnKind::Campaign:
    case ColumnKind::FileType:
    case ColumnKind::Check:
        return { 36, 36 };
    case ColumnKind::Button: {
        const QFontMetrics metrics(option.font);
        return { metrics.horizontalAdvance(buttonText(index.column())) + 32, 30 };
    }
    case ColumnKind::Progress:
        return { 120, 30 };
    case ColumnKind::Picture:
        return { option.rect.height() > 0 ? option.rect.height() : 40, 40 };
    default:
        return QStyledItemDelegate::sizeHint(option, index);
    }
}

bool GridDelegate::editorEvent(
    QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option, const QModelIndex &index)
{
    if (kindOf(index) != ColumnKind::Button)
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonRelease
        && event->type() != QEvent::MouseButtonDblClick)
        return false;
    auto *mouse = static_cast<QMouseEvent *>(event);
    if (mouse->button() != Qt::LeftButton)
        return false;
    const bool inside = buttonRect(option.rect).contains(mouse->position().toPoint());
    if (event->type() == QEvent::MouseButtonPress) {
        // The press also focuses the row, as any click does.
        m_pressed = inside ? QPersistentModelIndex(index) : QPersistentModelIndex();
        return false;
    }
    if (event->type() == QEvent::MouseButtonDblClick)
        return inside; // a double-click on a button is not a row activation
    const bool clicked = inside && m_pressed.isValid() && m_pressed == index;
    m_pressed = QPersistentModelIndex();
    if (clicked)
        Q_EMIT buttonClicked(index);
    return clicked;
}

} // namespace morvex
