// A generic Qt plugin that times a program's first painted window without the program knowing:
//     QT_PLUGIN_PATH=<dir holding generic/> QT_QPA_GENERIC_PLUGINS=morvexpaintprobe:<file>[;<class>]
// It notes the clock when the application object loads it (every library loaded, the platform
// plugin up); when the first top-level widget (of the named class, when one is given) has received its
// paint event and the event loop comes back, it writes the monotonic clock, the peak and the
// current resident memory to <file> and ends the process at once.

#include <QCoreApplication>
#include <QEvent>
#include <QGenericPlugin>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

long long statusKiB(const char *name)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    const std::size_t length = std::strlen(name);
    while (std::getline(in, line)) {
        if (line.compare(0, length, name) == 0 && line.size() > length && line[length] == ':')
            return std::atoll(line.c_str() + length + 1);
    }
    return -1;
}

class PaintProbe : public QObject
{
public:
    PaintProbe(QString outputPath, QString windowClass)
        : m_outputPath(std::move(outputPath))
        , m_windowClass(std::move(windowClass))
        , m_initNs(monotonicNs())
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!m_fired && event->type() == QEvent::Paint && watched->isWidgetType()) {
            auto *widget = static_cast<QWidget *>(watched);
            QWidget *window = widget->window();
            if (m_windowClass.isEmpty()
                || QLatin1StringView(window->metaObject()->className()).contains(m_windowClass)) {
                m_fired = true;
                // The rest of the window is painted and flushed in this same pass; report after it.
                QTimer::singleShot(0, this, [this] { report(); });
            }
        }
        return false;
    }

private:
    static long long monotonicNs()
    {
        timespec now {};
        clock_gettime(CLOCK_MONOTONIC, &now);
        return (long long)now.tv_sec * 1000000000LL + now.tv_nsec;
    }

    void report()
    {
        const long long ns = monotonicNs();
        if (FILE *out = std::fopen(m_outputPath.toLocal8Bit().constData(), "w")) {
            std::fprintf(out, "init_ns %lld\npaint_ns %lld\nhwm_kib %lld\nrss_kib %lld\n", m_initNs, ns,
                statusKiB("VmHWM"), statusKiB("VmRSS"));
            std::fclose(out);
        }
        std::fflush(nullptr);
        _exit(0);
    }

    QString m_outputPath;
    QString m_windowClass;
    long long m_initNs; // the application object being built: libraries loaded, platform up
    bool m_fired = false;
};

} // namespace

class PaintProbePlugin : public QGenericPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "PaintProbe.json")
public:
    QObject *create(const QString &key, const QString &parameters) override
    {
        if (key.compare(QLatin1StringView("morvexpaintprobe"), Qt::CaseInsensitive) != 0)
            return nullptr;
        const qsizetype semicolon = parameters.indexOf(QLatin1Char(';'));
        auto *probe = new PaintProbe(
            parameters.left(semicolon), semicolon < 0 ? QString() : parameters.mid(semicolon + 1));
        QCoreApplication::instance()->installEventFilter(probe);
        return probe;
    }
};

#include "PaintProbe.moc"
