// A long session with the reference component: 1,000 modeless show-and-close
// cycles of each balloon kind, then 1,000 modal ones answered through the
// accessibility interface (a screen reader's press on Ok). After each phase
// prints the peak and current resident memory against the figures after the
// first 50 cycles, and the open windows and running timers before and after.
// The baseline, measured first in the same run, is the same cycles of a plain
// Qt window with a label and a button.
//
//   bench_balloon_session [CYCLES [MODAL_CYCLES]]
#include "balloon/ballooncomponent.h"
#include "balloon/balloonwidget.h"
#include "platform/balloondriver/balloondriver.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdio>
#include <functional>

namespace
{

using namespace component;

// Resident set figures of this process, in kB: peak (VmHWM) and now (VmRSS).
struct Memory {
    long peak = 0;
    long now = 0;
};

Memory memory()
{
    QFile status(QStringLiteral("/proc/self/status"));
    Memory m;
    if (!status.open(QIODevice::ReadOnly)) return m;
    for (const QByteArray &line : status.readAll().split('\n')) {
        const auto value = [&] { return line.mid(6).trimmed().split(' ').value(0).toLong(); };
        if (line.startsWith("VmHWM:")) m.peak = value();
        if (line.startsWith("VmRSS:")) m.now = value();
    }
    return m;
}

int openWindows()
{
    return int(QApplication::topLevelWidgets().size());
}

// Timers registered by the application object, every window and everything
// they own.
int runningTimers()
{
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
    QList<QObject *> objects{QCoreApplication::instance()};
    objects += QCoreApplication::instance()->findChildren<QObject *>();
    for (QWidget *w : QApplication::topLevelWidgets()) {
        objects.append(w);
        objects += w->findChildren<QObject *>();
    }
    int timers = 0;
    for (QObject *o : std::as_const(objects))
        timers += int(dispatcher->registeredTimers(o).size());
    return timers;
}

void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void runPhase(const char *name, int cycles, const std::function<void()> &cycle)
{
    const int windowsBefore = openWindows();
    const int timersBefore = runningTimers();
    Memory after50;
    for (int i = 0; i < cycles; ++i) {
        cycle();
        settle();
        if (i + 1 == std::min(50, cycles)) after50 = memory();
    }
    const Memory end = memory();
    std::printf("%-34s %6d %10.2f %10.2f %10.2f %10.2f %5d -> %-5d %5d -> %d\n", name, cycles,
                double(after50.peak) / 1024, double(end.peak - after50.peak) / 1024,
                double(after50.now) / 1024, double(end.now - after50.now) / 1024, windowsBefore,
                openWindows(), timersBefore, runningTimers());
    std::fflush(stdout);
}

// The baseline: a plain window with a label and a button, shown then closed
// and deleted.
void plainCycle()
{
    auto *window = new QWidget;
    window->setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(window);
    layout->addWidget(new QLabel(QStringLiteral("Some text for the window."), window));
    layout->addWidget(new QPushButton(QStringLiteral("Ok"), window));
    window->show();
    QCoreApplication::processEvents();
    window->close();
}

Result callBalloon(balloon::BalloonComponent &component, Method method, bool modal)
{
    Value second = method == Method::MsgLabels
                       ? Value(QStringList{QStringLiteral("first"), QStringLiteral("second")})
                       : Value(QStringLiteral("Some text for the balloon."));
    Value icon = int32_t(2), shape = int32_t(0), buttons = int32_t(8), modalFlag = Bool::of(modal),
          onTop = Bool::of(true);
    Args args{Arg(QStringLiteral("Heading")),
              Arg::byRef(second),
              Arg::byRef(icon),
              Arg::byRef(shape),
              Arg::byRef(buttons),
              Arg::byRef(modalFlag),
              Arg::byRef(onTop)};
    return component.invoke(VellixMethods.of(method), CallKind::Method, args);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int cycles = argc > 1 ? std::max(50, atoi(argv[1])) : 1000;
    const int modalCycles = argc > 2 ? std::max(50, atoi(argv[2])) : 1000;
    auto component = std::make_shared<balloon::BalloonComponent>(VellixMethods, NamedValues{});

    std::printf("%-34s %6s %10s %10s %10s %10s %14s %14s\n", "phase", "cycles", "peak@50 MB", "peak grew",
                "rss@50 MB", "rss grew", "windows", "timers");
    runPhase("plain window, modeless (baseline)", cycles, plainCycle);
    const struct {
        const char *name;
        Method method;
    } kinds[] = {{"balloon ShowVellix, modeless", Method::ShowVellix},
                 {"balloon MsgInput, modeless", Method::MsgInput},
                 {"balloon MsgLabels, modeless", Method::MsgLabels}};
    for (const auto &kind : kinds)
        runPhase(kind.name, cycles, [&] {
            callBalloon(*component, kind.method, false);
            QCoreApplication::processEvents();
            if (QWidget *b = component->activeBalloon()) b->close();
        });

    int failures = 0;
    int turn = 0;
    runPhase("balloon, all kinds, modal, AT press", modalCycles, [&] {
        const Method method = kinds[turn++ % 3].method;
        balloondriver::BalloonDriver driver;
        balloondriver::ModalAnswerer answerer(driver, [](QWidget *balloon) {
            return balloondriver::BalloonDriver::pressButtonCaptioned(
                balloon, {QStringLiteral("Ok"), QStringLiteral("ОК")});
        });
        const Result r = callBalloon(*component, method, true);
        const MsgResult *answer = r.ok() ? std::get_if<MsgResult>(&r.value()) : nullptr;
        if (!answer || answer->Button != 1 || answerer.forcedClose() || !answerer.answerError().isEmpty())
            ++failures;
    });
    std::printf("modal answers other than Ok: %d\n", failures);
    return failures == 0 ? 0 : 1;
}
