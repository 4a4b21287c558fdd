#include "gui/grid/RecordSetModel.h"

#include "gui/grid/GridTexts.h"

namespace morvex {

namespace {

    bool isIconKind(ColumnKind kind)
    {
        return kind == ColumnKind::StockStatus || kind == ColumnKind::YesNo || kind == ColumnKind::Campaign
            || kind == ColumnKind::FileType;
    }

    // Kinds whose cell shows the value as text.
    bool showsText(ColumnKind kind)
    {
        return kind == ColumnKind::Text || kind == ColumnKind::Number || kind == ColumnKind::MultiLine;
    }

} // namespace

RecordSetModel::RecordSetModel(std::vector<GridColumn> columns, QObject *parent)
    : QAbstractTableModel(parent)
    , m_columns(std::move(columns))
    , m_fields(m_columns.size(), -1)
{
}

void RecordSetModel::setRecordSet(const RecordSet *set)
{
    beginResetModel();
    m_set = set;
    resolveFields();
    endResetModel();
}

void RecordSetModel::resolveFields()
{
    for (std::size_t c = 0; c < m_columns.size(); ++c)
        m_fields[c] = (m_set && !m_columns[c].field.isEmpty()) ? m_set->fieldIndex(m_columns[c].field) : -1;
}

int RecordSetModel::columnOf(QStringView field) const
{
    for (std::size_t c = 0; c < m_columns.size(); ++c) {
        if (m_columns[c].field.compare(field, Qt::CaseInsensitive) == 0)
            return static_cast<int>(c);
    }
    return -1;
}

int RecordSetModel::fieldOf(int column) const
{
    if (column < 0 || column >= static_cast<int>(m_fields.size()))
        return -1;
    return m_fields[static_cast<std::size_t>(column)];
}

void RecordSetModel::rowChanged(int row)
{
    if (row < 0 || row >= rowCount() || m_columns.empty())
        return;
    Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1));
}

bool RecordSetModel::isNumeric(int column) const
{
    const int field = fieldOf(column);
    if (field < 0)
        return false;
    switch (m_set->field(field).type) {
    case FieldType::Int32:
    case FieldType::Int64:
    case FieldType::Double:
        return true;
    default:
        return false;
    }
}

bool RecordSetModel::holdsValue(int column) const
{
    const ColumnKind kind = this->column(column).kind;
    return kind != ColumnKind::Button && kind != ColumnKind::Picture;
}

QVariant RecordSetModel::rawValue(int row, int column) const
{
    const int field = fieldOf(column);
    if (field < 0 || m_set->isNull(row, field))
        return {};
    return m_set->value(row, field);
}

QString RecordSetModel::displayText(int row, int column) const
{
    const int field = fieldOf(column);
    if (field < 0 || m_set->isNull(row, field))
        return {};
    return m_set->displayText(row, field);
}

QString RecordSetModel::iconDescription(int row, int column) const
{
    const QVariant raw = rawValue(row, column);
    bool ok = false;
    const int value = raw.toInt(&ok);
    if (!raw.isValid() || !ok)
        return {};
    switch (this->column(column).kind) {
    case ColumnKind::StockStatus:
        return gridtexts::stockStatus(value);
    case ColumnKind::YesNo:
        return value == 1 ? gridtexts::yes() : value == 0 ? gridtexts::no() : QString();
    case ColumnKind::Campaign:
        return value == 1 ? gridtexts::yes() : QString();
    default:
        return {};
    }
}

QString RecordSetModel::filterKey(int row, int column) const
{
    const ColumnKind kind = this->column(column).kind;
    if (showsText(kind))
        return displayText(row, column);
    if (isIconKind(kind)) {
        QString description = iconDescription(row, column);
        if (!description.isEmpty())
            return description;
    }
    const QVariant raw = rawValue(row, column);
    return raw.typeId() == QMetaType::QByteArray ? QString() : raw.toString();
}

Qt::Alignment RecordSetModel::alignment(int column) const
{
    const GridColumn &spec = this->column(column);
    Qt::Alignment horizontal = spec.alignment & Qt::AlignHorizontal_Mask;
    if (!horizontal) {
        if (isIconKind(spec.kind) || spec.kind == ColumnKind::Check)
            horizontal = Qt::AlignHCenter;
        else if (spec.kind == ColumnKind::Number || isNumeric(column))
            horizontal = Qt::AlignRight;
        else
            horizontal = Qt::AlignLeft;
    }
    return horizontal | Qt::AlignVCenter;
}

int RecordSetModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_set)
        return 0;
    return m_set->rowCount();
}

int RecordSetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant RecordSetModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.model() != this || !m_set)
        return {};
    const int row = index.row();
    const int column = index.column();
    const ColumnKind kind = this->column(column).kind;
    switch (role) {
    case Qt::DisplayRole:
        return showsText(kind) ? QVariant(displayText(row, column)) : QVariant();
    case Qt::ToolTipRole: {
        if (isIconKind(kind)) {
            const QString description = iconDescription(row, column);
            return description.isEmpty() ? QVariant() : QVariant(description);
        }
        if (kind == ColumnKind::MultiLine)
            return displayText(row, column);
        return {};
    }
    case Qt::TextAlignmentRole:
        return static_cast<int>(alignment(column).toInt());
    case GridRole::Raw:
        return rawValue(row, column);
    case GridRole::FilterKey:
        return filterKey(row, column);
    case GridRole::Kind:
        return static_cast<int>(kind);
    default:
        return {};
    }
}

QVariant RecordSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical) {
        if (role == Qt::DisplayRole && section >= 0 && section < rowCount())
            return section + 1;
        return {};
    }
    if (section < 0 || section >= columnCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return column(section).headerText();
    case Qt::ToolTipRole: {
        // The full caption, for a section too narrow to show it.
        const QString text = column(section).headerText();
        return text.isEmpty() ? QVariant() : QVariant(text);
    }
    case Qt::TextAlignmentRole:
        return static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter);
    case GridRole::Kind:
        return static_cast<int>(column(section).kind);
    default:
        return {};
    }
}

Qt::ItemFlags RecordSetModel::flags(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != this)
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

} // namespace morvex
