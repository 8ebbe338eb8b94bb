// Character file chosen to first frame: the agent control loads a character
// file and shows it, until the character's window has been painted; paired
// with a plain Qt window that reads the same first frame from a PNG file and
// shows it, until its first paint. Both in one process, interleaved; prints
// the medians (ms) and the median of the pairs' ratios with its spread.
//   bench_character FILE.acs [runs]
#include "component/contract.h"
#include "paintwatch.h"
#include "pairedtimes.h"
#include "platform/agent/agentcontrol.h"
#include "platform/agent/characterwindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace
{

using component::Args;
using component::CallKind;
using component::Value;

// Catches the first paint of any character window.
class CharacterPaintWatch : public QObject
{
  public:
    agent::CharacterWindow *painted = nullptr;
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !painted)
            if (auto *window = qobject_cast<agent::CharacterWindow *>(object)) painted = window;
        return false;
    }
};

// Loads and shows the character; returns ms to its first paint and, when
// asked, the frame painted.
double characterToFirstFrame(const QString &file, QImage *frame = nullptr)
{
    CharacterPaintWatch watch;
    qApp->installEventFilter(&watch);
    QElapsedTimer timer;
    timer.start();
    const auto control = agent::createAgentControl({.soundOn = false});
    Args load{Value(QStringLiteral("Bench")), Value(file)};
    const component::Result loaded =
        component::safeInvoke(*control, agent::member::CharactersLoad, CallKind::Method, load);
    Args id{Value(QStringLiteral("Bench"))};
    const component::Result got =
        component::safeInvoke(*control, agent::member::CharactersCharacter, CallKind::Method, id);
    if (!loaded.ok() || !got.ok()) {
        std::fprintf(stderr, "cannot load %s\n", qPrintable(file));
        std::exit(1);
    }
    const auto character = std::get<component::ObjectRef>(got.value());
    Args fast{Value(component::Bool::of(true))};
    (void)component::safeInvoke(*character, component::character::Show, CallKind::Method, fast);
    const double ms = msUntil(timer, [&] { return watch.painted != nullptr; });
    if (frame && watch.painted) *frame = watch.painted->frame();
    qApp->removeEventFilter(&watch);
    return ms;
}

double plainWindowToFirstPaint(const QString &png)
{
    PaintWatch paint;
    qApp->installEventFilter(&paint);
    QElapsedTimer timer;
    timer.start();
    auto *window = new QLabel(nullptr, Qt::Tool | Qt::FramelessWindowHint);
    window->setPixmap(QPixmap(png));
    window->show();
    paint.watched = window;
    const double ms = msUntil(timer, [&] { return paint.painted; });
    delete window;
    qApp->removeEventFilter(&paint);
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_character FILE.acs [runs]\n");
        return 2;
    }
    const QString file = QString::fromLocal8Bit(argv[1]);
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 21;
    QTemporaryDir dir;
    const QString png = QDir(dir.path()).filePath(QStringLiteral("first.png"));
    QImage first;
    (void)characterToFirstFrame(file, &first); // warm-up, and the frame for the baseline
    QCoreApplication::processEvents();
    if (first.isNull() || !first.save(png)) return 1;
    (void)plainWindowToFirstPaint(png);

    std::vector<double> ours, plain;
    for (int i = 0; i < runs; ++i) {
        ours.push_back(characterToFirstFrame(file));
        QCoreApplication::processEvents();
        plain.push_back(plainWindowToFirstPaint(png));
    }
    // ours ms, plain ms, ratio, spread low, spread high
    printPairedTimes("", ours, plain);
    return 0;
}
