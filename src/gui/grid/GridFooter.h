#pragma once

#include <QHash>
#include <QString>
#include <QWidget>

#include <functional>

class QHeaderView;

namespace morvex {

class GridFilterModel;

// Counts and sums over the rows the grid shows (every row while no filter is set).
class FooterValues
{
public:
    explicit FooterValues(const GridFilterModel *rows)
        : m_rows(rows)
    {
    }
    int count() const;
    // Nulls count as 0; a field the set lacks, or a text field, sums to 0.
    double sum(QStringView field) const;

private:
    const GridFilterModel *m_rows;
    mutable QHash<QString, double> m_sums;
};

enum class SummaryKind { Count, Sum, Custom };

// One footer cell, under the first column that shows `field`.
struct FooterSummary
{
    QString field;
    SummaryKind kind = SummaryKind::Count;
    // Custom: the text to show, computed from the grid's counts and sums. Give the lambda the
    // return type QString when it concatenates: with QStringBuilder a deduced return type
    // would refer to temporaries that are gone when the text is used.
    std::function<QString(const FooterValues &)> custom;
};

// The footer row under the data rows, kept aligned with the header's sections.
class GridFooter : public QWidget
{
    Q_OBJECT

public:
    GridFooter(QHeaderView *header, QWidget *parent);

    void setTexts(QHash<int, QString> texts, QHash<int, Qt::Alignment> alignments);
    QString text(int logicalColumn) const { return m_texts.value(logicalColumn); }
    int preferredHeight() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QHeaderView *m_header;
    QHash<int, QString> m_texts;
    QHash<int, Qt::Alignment> m_alignments;
};

} // namespace morvex
