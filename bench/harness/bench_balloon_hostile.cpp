// Hostile calls to the reference component: arguments of about a million
// characters each (text without a break opportunity, nothing but line breaks,
// one huge word, huge and many labels, a huge heading). For each case a
// modeless call and the time until the balloon has been painted, against a
// plain Qt view of the same text shown and painted, in interleaved pairs.
// Prints the medians, the median ratio and its spread (lowest..highest).
//
//   bench_balloon_hostile [PAIRS [CASES]]   CASES: a regular expression that
//                                           matches the names of the cases to run
// With CASE given and PAIRS 0, it only makes the calls, once, for profiling.
#include "balloon/ballooncomponent.h"
#include "balloon/balloonwidget.h"
#include "paintwatch.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QStringListModel>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>

namespace
{

using namespace component;

constexpr qsizetype megabyte = 1 << 20;

struct Timing {
    double callMs = 0;
    double callCpuMs = 0; // this thread's processor time: what the call costs without other load
    double paintMs = 0;
};

double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Times show() up to its return and up to the end of the event pass that
// painted the window; then closes and deletes it.
Timing timeShown(PaintWatch &watch, const std::function<QWidget *()> &show)
{
    watch.painted = false;
    watch.watched = nullptr;
    QElapsedTimer timer;
    const double cpuStart = threadCpuMs();
    timer.start();
    QWidget *window = show();
    Timing t;
    t.callMs = double(timer.nsecsElapsed()) / 1e6;
    t.callCpuMs = threadCpuMs() - cpuStart;
    watch.watched = window;
    while (window && !watch.painted && timer.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    t.paintMs = double(timer.nsecsElapsed()) / 1e6;
    watch.watched = nullptr;
    if (window) window->close();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return t;
}

struct Case {
    const char *name;
    Method method;
    QString heading;
    Value second; // text or labels
};

QWidget *showBalloon(const std::shared_ptr<balloon::BalloonComponent> &component, const Case &c)
{
    Value icon = int32_t(2), shape = int32_t(0), buttons = int32_t(8), modal = Bool::of(false),
          onTop = Bool::of(true), second = c.second;
    Args args{Arg(c.heading),      Arg::byRef(second), Arg::byRef(icon), Arg::byRef(shape),
              Arg::byRef(buttons), Arg::byRef(modal),  Arg::byRef(onTop)};
    const Result r = component->invoke(VellixMethods.of(c.method), CallKind::Method, args);
    if (!r.ok()) std::fprintf(stderr, "call failed: %s\n", qPrintable(r.error().description));
    return component->activeBalloon();
}

// The same content in plain Qt views: the text in a read-only text view, the
// labels in a list view, the heading in a label.
QWidget *showPlain(const Case &c)
{
    auto *window = new QWidget;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->resize(420, 360);
    auto *heading = new QLabel(c.heading, window);
    heading->setWordWrap(true);
    heading->setGeometry(8, 8, 404, 40);
    if (const QStringList *labels = std::get_if<QStringList>(&c.second)) {
        auto *view = new QListView(window);
        view->setModel(new QStringListModel(*labels, view));
        view->setGeometry(8, 56, 404, 296);
    } else {
        auto *view = new QPlainTextEdit(window);
        view->setReadOnly(true);
        view->setLineWrapMode(QPlainTextEdit::NoWrap);
        view->setPlainText(std::get<QString>(c.second));
        view->setGeometry(8, 56, 404, 296);
    }
    window->show();
    return window;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

std::vector<Case> cases()
{
    const QString heading = QStringLiteral("Heading");
    QStringList tenHuge;
    for (int i = 0; i < 10; ++i)
        tenHuge << QString(megabyte, QChar(u'a' + i));
    QStringList many;
    for (qsizetype n = 0; n < megabyte; n += 8)
        many << QStringLiteral("lbl%1").arg(n / 8, 4, 10, QLatin1Char('0'));
    QString sentence = QStringLiteral("Lorem ipsum dolor sit amet. ").repeated(megabyte / 28);
    return {
        {"text without a break opportunity", Method::ShowVellix, heading,
         QString(megabyte, QLatin1Char('x'))},
        {"nothing but line breaks", Method::ShowVellix, heading, QString(megabyte, QLatin1Char('\n'))},
        {"one huge word in a sentence", Method::ShowVellix, heading,
         QStringLiteral("Before ") + QString(megabyte, QLatin1Char('w')) + QStringLiteral(" after.")},
        {"ordinary words", Method::ShowVellix, heading, sentence},
        {"ten labels of a million characters", Method::MsgLabels, heading, tenHuge},
        {"labels totalling a million characters", Method::MsgLabels, heading, many},
        {"huge heading", Method::ShowVellix, QString(megabyte, QLatin1Char('h')), QStringLiteral("Text.")},
        {"huge heading of line breaks", Method::MsgInput, QStringLiteral("a\r\n").repeated(megabyte / 3),
         QStringLiteral("Text.")},
    };
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int pairs = argc > 1 ? std::max(0, atoi(argv[1])) : 5;
    const QRegularExpression only(argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString());
    auto component = std::make_shared<balloon::BalloonComponent>(VellixMethods, NamedValues{});
    PaintWatch watch;
    app.installEventFilter(&watch);

    std::printf("%-40s %8s %8s %9s %9s %7s %13s   goal: call <= 50 ms, painted <= 200 ms\n", "case",
                "call ms", "cpu ms", "paint ms", "plain ms", "ratio", "ratio spread");
    for (const Case &c : cases()) {
        if (!QString::fromLatin1(c.name).contains(only)) continue;
        if (pairs == 0) {
            const Timing ours = timeShown(watch, [&] { return showBalloon(component, c); });
            std::printf("%-40s %8.1f %8.1f %9.1f\n", c.name, ours.callMs, ours.callCpuMs, ours.paintMs);
            continue;
        }
        std::vector<double> calls, cpus, paints, plains, ratios;
        for (int i = 0; i < pairs; ++i) {
            const Timing ours = timeShown(watch, [&] { return showBalloon(component, c); });
            const Timing plain = timeShown(watch, [&] { return showPlain(c); });
            calls.push_back(ours.callMs);
            cpus.push_back(ours.callCpuMs);
            paints.push_back(ours.paintMs);
            plains.push_back(plain.paintMs);
            ratios.push_back(ours.paintMs / plain.paintMs);
        }
        const auto [low, high] = std::minmax_element(ratios.begin(), ratios.end());
        std::printf("%-40s %8.1f %8.1f %9.1f %9.1f %7.3f %6.3f..%-6.3f\n", c.name, median(calls),
                    median(cpus), median(paints), median(plains), median(ratios), *low, *high);
        std::fflush(stdout);
    }
    return 0;
}
