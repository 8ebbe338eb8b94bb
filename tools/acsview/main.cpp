// The character viewer.
//
//   acsview [--mute] [--measure] [file.acs]
//
// With a file: a window that lists and plays every animation of the
// character and exports its frames. Without one: the built-in character,
// shown the way the harness shows it (loaded under "Default", placed at
// (400, 300)). --measure shows the character the harness's way, prints how
// long it took from loading to the first frame on the screen, then quits.
// --mute keeps the sounds off.
#include "agentcharacter.h"
#include "agentcontrol.h"
#include "component/contract.h"
#include "viewerwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFileDialog>
#include <QRandomGenerator>
#include <QTextStream>

#include <cstdio>

namespace
{

using namespace component;

// Quits the application on the first paint of the watched window.
class FirstPaintWatch : public QObject
{
  public:
    explicit FirstPaintWatch(const QElapsedTimer &clock) : clock_(clock) {}

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            const qint64 ns = clock_.nsecsElapsed();
            std::printf("first frame painted %.2f ms after the file was chosen\n", double(ns) / 1e6);
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    const QElapsedTimer &clock_;
    bool seen_ = false;
};

bool report(const Result &result, const char *what)
{
    if (result.ok()) return true;
    QTextStream(stderr) << what << ": " << result.error().description << '\n';
    return false;
}

int showThroughControl(const QString &file, bool measure, bool soundOn)
{
    std::shared_ptr<DispatchObject> control = agent::createAgentControl({.soundOn = soundOn});
    QElapsedTimer clock;
    clock.start();

    Args load{Value(QStringLiteral("Default"))};
    if (!file.isEmpty()) load.emplace_back(Value(file));
    if (!report(control->invoke(agent::member::CharactersLoad, CallKind::Method, load), "CharactersLoad"))
        return 1;
    Args id{Value(QStringLiteral("Default"))};
    const Result got = control->invoke(agent::member::CharactersCharacter, CallKind::Method, id);
    if (!report(got, "CharactersCharacter")) return 1;
    const ObjectRef character = std::get<ObjectRef>(got.value());

    FirstPaintWatch watch(clock);
    if (measure) static_cast<agent::AgentCharacter &>(*character).window().installEventFilter(&watch);

    Args top{Value(int16_t(300))};
    Args left{Value(int16_t(400))};
    Args none;
    character->invoke(character::Top, CallKind::PropertyPut, top);
    character->invoke(character::Left, CallKind::PropertyPut, left);
    if (!report(character->invoke(character::Show, CallKind::Method, none), "Show")) return 1;
    return qApp->exec();
}

int showViewer(const QString &file, bool soundOn)
{
    QString why;
    std::unique_ptr<agent::AcsCharacter> character = agent::AcsCharacter::load(file, &why);
    if (!character) {
        QTextStream(stderr) << "Cannot load the character \"" << file << "\": " << why << '\n';
        return 1;
    }
    acsview::ViewerServices services{
        soundOn, sound::createSystemAudioOutput,
        [](QWidget *parent) {
            return QFileDialog::getExistingDirectory(parent, QStringLiteral("Export to folder"));
        },
        [](int bound) { return int(QRandomGenerator::global()->bounded(std::max(1, bound))); }};
    acsview::ViewerWindow window(std::move(character), std::move(services));
    window.show();
    return qApp->exec();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    const bool measure = arguments.removeAll(QStringLiteral("--measure")) > 0;
    const bool mute = arguments.removeAll(QStringLiteral("--mute")) > 0;
    const QString file = arguments.value(0);
    if (file.isEmpty() || measure) return showThroughControl(file, measure, !mute);
    return showViewer(file, !mute);
}
