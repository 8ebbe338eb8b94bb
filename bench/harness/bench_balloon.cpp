// Click to balloon painted: the harness window with the reference component,
// a click on a message button, and the time until the balloon's first paint.
// Prints the median of several runs for the sample text and for 10,000 labels.
#include "balloon/ballooncomponent.h"
#include "balloon/balloonwidget.h"
#include "harness/frmmain.h"
#include "paintwatch.h"
#include "platform/agent/agentcontrol.h"
#include "platform/dialogs/commondialog.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>

namespace
{

class Cancelling final : public dialogs::DialogProvider
{
  public:
    std::optional<QString> openFile(const QString &, const QString &, const QString &) override { return {}; }
    std::optional<QColor> pickColor(const QColor &) override { return {}; }
};

class Silent final : public dialogs::MessageBoxService
{
  public:
    int show(const QString &, int, const std::optional<QString> &) override { return 1; }
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
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
    registry.addBuiltin(QStringLiteral("MSComDlg.CommonDialog"),
                        [&](const component::NamedValues &, QString *) {
                            return std::make_shared<dialogs::CommonDialog>(dialogs);
                        });
    registry.addBuiltin(
        QStringLiteral("AgentObjectsCtl.Agent"),
        [](const component::NamedValues &, QString *) { return agent::createAgentControl(); });
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
        paint.watched = component->activeBalloon();
        while (paint.watched && !paint.painted && timer.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        if (paint.watched) paint.watched->close();
        QCoreApplication::processEvents();
        return ms;
    };

    const QString sample = window.controls().txtText->text();
    std::vector<double> sampleTimes, labelTimes;
    for (int i = 0; i < runs; ++i)
        sampleTimes.push_back(clickToPaint("cmbMsgShow"));
    QStringList labels;
    for (int i = 0; i < 10000; ++i)
        labels << QStringLiteral("Label number %1").arg(i);
    window.controls().txtText->setText(labels.join(QStringLiteral("\r\n")));
    for (int i = 0; i < runs; ++i)
        labelTimes.push_back(clickToPaint("cmbLabelsShow"));
    std::printf("click_to_paint_sample_ms %.2f\nclick_to_paint_10000_labels_ms %.2f\n", median(sampleTimes),
                median(labelTimes));
    return 0;
}
