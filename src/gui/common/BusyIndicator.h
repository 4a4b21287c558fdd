#pragma once

#include <QTimer>
#include <QWidget>

namespace morvex {

// The busy animation: a ring of dots that turns while the widget is visible.
class BusyIndicator : public QWidget
{
    Q_OBJECT
public:
    explicit BusyIndicator(int size, QWidget *parent = nullptr);

    QSize sizeHint() const override { return QSize(m_size, m_size); }
    bool isSpinning() const { return m_timer.isActive(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    int m_size;
    int m_step = 0;
    QTimer m_timer;
};

} // namespace morvex
