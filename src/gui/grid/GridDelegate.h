#pragma once

#include <QCache>
#include <QImage>
#include <QPersistentModelIndex>
#include <QStyledItemDelegate>

namespace morvex {

class RecordSetModel;

// Paints every column kind: texts through the style, icons, check boxes, buttons, progress bars
// and pictures by hand. Cells are never edited; a click on a button cell is reported instead.
class GridDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    GridDelegate(const RecordSetModel *source, QObject *parent = nullptr);

    void setFocusRectangle(bool shown) { m_focusRectangle = shown; }
    // Marks the first `length` characters of the cell's text, where an incremental search matched.
    void setSearchMatch(const QModelIndex &index, qsizetype length);
    void clearSearchMatch() { setSearchMatch({}, 0); }

    void paint(
        QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *, const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        return nullptr;
    }

    static QRect buttonRect(const QRect &cell);

Q_SIGNALS:
    void buttonClicked(const QModelIndex &index);

protected:
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
        const QModelIndex &index) override;

private:
    void paintBackground(QPainter *painter, QStyleOptionViewItem option, const QWidget *widget) const;
    void paintSearchMatch(QPainter *painter, const QStyleOptionViewItem &option, const QWidget *widget) const;
    QString buttonText(int column) const;
    const QImage *picture(const QByteArray &bytes) const;

    const RecordSetModel *m_source;
    bool m_focusRectangle = true;
    QPersistentModelIndex m_pressed;
    QPersistentModelIndex m_searchIndex;
    qsizetype m_searchLength = 0;
    mutable QCache<QByteArray, QImage> m_pictures { 64 };
};

} // namespace morvex
