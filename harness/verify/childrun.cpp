// The child process of --verify: sets up the component's surroundings once
// (the character, standing still) and runs its share of the checks, telling
// the parent on standard output when each begins and how it ended.
#include "childprotocol.h"
#include "verify.h"

#include "platform/agent/agentcontrol.h"

#include <QApplication>

#include <algorithm>

#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>

namespace harness::verify
{

namespace
{

using namespace component;

constexpr int characterLeft = 400;
constexpr int characterTop = 300;

Result call(DispatchObject &target, DispId id, CallKind kind, Args args)
{
    return safeInvoke(target, id, kind, args);
}

// The built-in character, placed where the harness puts it and at rest.
ObjectRef standingCharacter(DispatchObject &agentControl)
{
    const QString id = QStringLiteral("Default");
    if (!call(agentControl, agent::member::CharactersLoad, CallKind::Method, {Arg(id)}).ok()) return nullptr;
    const Result got = call(agentControl, agent::member::CharactersCharacter, CallKind::Method, {Arg(id)});
    const ObjectRef *character = got.ok() ? std::get_if<ObjectRef>(&got.value()) : nullptr;
    if (!character || !*character) return nullptr;
    call(**character, character::Left, CallKind::PropertyPut, {Arg(int32_t(characterLeft))});
    call(**character, character::Top, CallKind::PropertyPut, {Arg(int32_t(characterTop))});
    call(**character, character::Show, CallKind::Method, {Arg(Bool::of(true))});
    return *character;
}

void report(const QByteArray &line)
{
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fflush(stdout);
}

Outcome runOne(const Check &check, CheckContext &context)
{
    try {
        CheckedInstance session(context);
        if (!session.ready())
            return Outcome::fail(QStringLiteral("an instance of %1").arg(context.target().componentClass),
                                 session.creationError());
        return check.run(session);
    } catch (const std::exception &e) {
        return Outcome::fail(QStringLiteral("no exception"), QString::fromUtf8(e.what()));
    } catch (...) {
        return Outcome::fail(QStringLiteral("no exception"), QStringLiteral("an unknown exception"));
    }
}

} // namespace

void runChecksHere(const Target &target, const Request &request)
{
    // A crash here is a failed check, not a core file.
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    // Nothing blinks or moves while pictures are taken.
    QApplication::setCursorFlashTime(0);
    hosting::ClassRegistry registry;
    registry.setPluginFolders(hosting::ClassRegistry::overridingFoldersFromEnvironment(),
                              hosting::ClassRegistry::bundledFolders());
    const ObjectRef agentControl =
        agent::createAgentControl({.soundOn = false, .motion = agent::steadyMotion()});
    const ObjectRef character = standingCharacter(*agentControl);
    CheckContext context(target, registry, character, request.snapshots);

    const QList<Check> catalog = checkCatalog(request.snapshots);
    for (const QString &name : request.childChecks) {
        report(protocol::beginLine(name));
        const auto check =
            std::find_if(catalog.begin(), catalog.end(), [&](const Check &c) { return c.name == name; });
        const Outcome outcome = check == catalog.end() ? Outcome::fail(QStringLiteral("a known check"),
                                                                       QStringLiteral("none named so"))
                                                       : runOne(*check, context);
        report(protocol::resultLine(name, outcome));
    }
    // The checks are judged; what the component leaves behind at exit is not
    // part of any of them.
    std::fflush(stdout);
    std::_Exit(0);
}

} // namespace harness::verify
