// The floor of a Qt Widgets start-up: a main window holding eleven tabs with a table each, shown
// and quit right after its first paint. What the client's start-up costs beyond this is ours.

#include <QApplication>
#include <QHeaderView>
#include <QMainWindow>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>

namespace {

class FloorWindow : public QMainWindow
{
public:
    FloorWindow()
    {
        auto *tabs = new QTabWidget(this);
        for (int t = 1; t <= 11; ++t) {
            auto *table = new QTableWidget(0, 12, tabs);
            QStringList headers;
            for (int c = 1; c <= 12; ++c)
                headers << QStringLiteral("Sütun %1").arg(c);
            table->setHorizontalHeaderLabels(headers);
            tabs->addTab(table, QStringLiteral("Sekme %1").arg(t));
        }
        setCentralWidget(tabs);
        resize(1024, 700);
    }

protected:
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_painted) {
            m_painted = true;
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QMainWindow::event(event);
    }

private:
    bool m_painted = false;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    FloorWindow window;
    window.show();
    return app.exec();
}
