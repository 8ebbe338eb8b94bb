// Shows a character the way the harness does: load it under "Default", place
// it at (400, 300) and show it.
//
//   agent_demo [--measure] [file.acs]
//
// --measure prints how long it took from loading to the first frame on the
// screen, then quits.
#include "agentcharacter.h"
#include "agentcontrol.h"
#include "component/contract.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
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

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    const bool measure = arguments.removeAll(QStringLiteral("--measure")) > 0;
    const QString file = arguments.value(0);

    std::shared_ptr<DispatchObject> control = agent::createAgentControl();
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
    return app.exec();
}
