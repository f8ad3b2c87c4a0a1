// Preloaded (LD_PRELOAD) into petcalc and into the reference windows by the
// start-up benchmark. All are timed by this same code, and none carries a
// measuring hook of its own.
//
// With PETCALC_BENCH_FIRST_FRAME=<fd> it writes three lines to that file
// descriptor, each a CLOCK_MONOTONIC time in nanoseconds:
//   app <ns>    QApplication is being constructed (libraries are loaded)
//   expose <ns> the first window is exposed (mapped by the X server)
//   frame <ns>  that exposure has been painted, flushed and synced with the
//               X server, and the event loop is idle: the first frame is on
//               screen
#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QWindow>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <unistd.h>

namespace petcalc::bench {
namespace {

int g_fd = -1;

void report(const char* what) {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    char line[64];
    const int n = std::snprintf(line, sizeof line, "%s %lld\n", what,
                                static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec);
    // A lost line would pass for a program that never drew.
    if (n > 0 && ::write(g_fd, line, static_cast<size_t>(n)) != n) {
        std::fprintf(stderr, "first_frame_probe: cannot write to the bench: %s\n", std::strerror(errno));
        std::_Exit(1);
    }
}

class FirstFrame : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* o, QEvent* e) override {
        // QGuiApplication marks the window exposed before it sends the event.
        auto* window = e->type() == QEvent::Expose ? qobject_cast<QWindow*>(o) : nullptr;
        if (!window || !window->isExposed()) return false;
        report("expose");
        qApp->removeEventFilter(this);
        // Widgets paint and flush the exposed region while they handle this
        // very event; when the loop next runs dry, that work is done.
        auto* dispatcher = QAbstractEventDispatcher::instance();
        m_idle = connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this] {
            disconnect(m_idle);
            QGuiApplication::sync();  // a round trip: the X server has drawn it
            report("frame");
        }, Qt::DirectConnection);
        return false;
    }

private:
    QMetaObject::Connection m_idle;
};

void install() {
    const char* fd = std::getenv("PETCALC_BENCH_FIRST_FRAME");
    if (!fd || !*fd) return;
    g_fd = std::atoi(fd);
    report("app");
    qApp->installEventFilter(new FirstFrame(qApp));
}

// Runs inside the QApplication constructor, before any window exists.
Q_COREAPP_STARTUP_FUNCTION(install)

}  // namespace
}  // namespace petcalc::bench
