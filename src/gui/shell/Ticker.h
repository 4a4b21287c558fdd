#pragma once

#include <QPixmap>
#include <QTimer>
#include <QWidget>

namespace morvex {

// A line that scrolls its items from right to left, 5 pixels apart, over and over. Items are
// pictures; text items are rendered once (as simple HTML, so plain text scrolls unchanged).
class Ticker : public QWidget
{
    Q_OBJECT
public:
    explicit Ticker(int height, QWidget *parent = nullptr);

    void clear();
    void addPixmap(const QPixmap &pixmap);
    void addText(const QString &html);
    int itemCount() const { return int(m_items.size()); }
    QString text(int index) const { return m_texts.value(index); }

    void start();
    void stop();
    bool isRunning() const { return m_running; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    int cycleWidth() const;

    QList<QPixmap> m_items;
    QStringList m_texts;
    QTimer m_timer;
    bool m_running = false;
    int m_offset = 0;
};

} // namespace morvex
