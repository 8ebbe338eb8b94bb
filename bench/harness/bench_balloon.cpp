// Click to balloon painted: the harness window with the reference component,
// a click on a message button, and the time until the balloon's first paint,
// for the sample text and for 10,000 labels. Each run is paired with a plain
// Qt window showing the same text (a word-wrapped label) or the same list,
// from its creation to its first paint; prints the medians and the median of
// the pairs' ratios with its spread (25th..75th percentile).
#include "balloon/ballooncomponent.h"
#include "balloon/balloonwidget.h"
#include "harness/window/frmmain.h"
#include "paintwatch.h"
#include "pairedtimes.h"
#include "platform/platformclasses.h"
#include "quietplatform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace
{

// Waits until `window` or a child of it has been painted; returns the ms since `timer` started.
double untilPainted(PaintWatch &paint, QWidget *window, const QElapsedTimer &timer)
{
    paint.watched = window;
    return msUntil(timer, [&] { return !paint.watched || paint.painted; });
}

// The baseline: a plain top-level window showing `content`, from creation to first paint.
double plainWindowToPaint(PaintWatch &paint, const std::function<QWidget *()> &makeContent)
{
    paint.painted = false;
    QElapsedTimer timer;
    timer.start();
    auto *window = new QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint);
    auto *layout = new QVBoxLayout(window);
    layout->addWidget(makeContent());
    window->show();
    const double ms = untilPainted(paint, window, timer);
    delete window;
    QCoreApplication::processEvents();
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 9;

    Cancelling dialogs;
    Silent boxes;
    harness::Trace off;
    std::shared_ptr<balloon::BalloonComponent> component;
    hosting::ClassRegistry registry;
    registry.addBuiltin(
        QStringLiteral("pVellix.Vellix"), [&](const component::NamedValues &stored, QString *) {
            component = std::make_shared<balloon::BalloonComponent>(component::VellixMethods, stored);
            return component;
        });
    platform::registerPlatformClasses(registry, dialogs);
    harness::FrmMain window(harness::fennick(), {registry, boxes, off, [](int) { std::exit(1); }, {}});
    if (!window.createControls() || !window.load()) return 1;
    window.show();
    window.controls().check("chkModal").setValue(0); // the call returns at once

    PaintWatch paint;
    app.installEventFilter(&paint);
    auto clickToPaint = [&](const char *button) {
        paint.painted = false;
        paint.watched = nullptr;
        QElapsedTimer timer;
        timer.start();
        window.controls().button(button).click();
        const double ms = untilPainted(paint, component->activeBalloon(), timer);
        if (paint.watched) paint.watched->close();
        QCoreApplication::processEvents();
        return ms;
    };

    const QString sample = window.controls().txtText->text();
    std::vector<double> sampleTimes, samplePlain, labelTimes, labelPlain;
    for (int i = 0; i < runs; ++i) {
        sampleTimes.push_back(clickToPaint("cmbMsgShow"));
        samplePlain.push_back(plainWindowToPaint(paint, [&] {
            auto *label = new QLabel(sample);
            label->setWordWrap(true);
            return label;
        }));
    }
    QStringList labels;
    for (int i = 0; i < 10000; ++i)
        labels << QStringLiteral("Label number %1").arg(i);
    window.controls().txtText->setText(labels.join(QStringLiteral("\r\n")));
    for (int i = 0; i < runs; ++i) {
        labelTimes.push_back(clickToPaint("cmbLabelsShow"));
        labelPlain.push_back(plainWindowToPaint(paint, [&] {
            auto *list = new QListWidget;
            list->addItems(labels);
            return list;
        }));
    }
    // name, ours ms, plain ms, ratio, spread low, spread high
    printPairedTimes("sample ", sampleTimes, samplePlain);
    printPairedTimes("labels ", labelTimes, labelPlain);
    return 0;
}
