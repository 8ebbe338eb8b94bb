#include "crashrecovery.h"

#include "harness/base/hostedcontrol.h"
#include "harness/base/trace.h"

#include <QCoreApplication>

#include <cstdio>

namespace harness
{

using namespace component;

QString memberName(const MethodIds &methods, DispId id)
{
    std::string_view name;
    if (const std::optional<Method> m = methods.find(id))
        name = methodNames[size_t(*m)];
    else if (const PropertyInfo *p = findProperty(id))
        name = p->name;
    if (name.empty()) return QStringLiteral("0x%1").arg(uint32_t(id), 8, 16, QLatin1Char('0'));
    return QString::fromLatin1(name.data(), qsizetype(name.size()));
}

bool RestartLimit::allow(qint64 nowMs)
{
    while (!times_.empty() && nowMs - times_.front() >= WindowMs)
        times_.pop_front();
    times_.push_back(nowMs);
    return int(times_.size()) < Crashes;
}

QString CrashRecovery::describeCall(const ComponentCrash &crash)
{
    QStringList args;
    for (const Value &v : crash.args)
        args << Trace::toJson(v);
    const QString member = QString(crash.member);
    switch (crash.kind) {
    case CallKind::Method:
        return member + QLatin1Char('(') + args.join(QStringLiteral(", ")) + QLatin1Char(')');
    case CallKind::PropertyGet:
        return QStringLiteral("reading ") + member;
    case CallKind::PropertyPut:
    case CallKind::PropertyPutRef:
        return QStringLiteral("setting ") + member + QStringLiteral(" = ") + args.join(QStringLiteral(", "));
    }
    return member;
}

bool CrashRecovery::waitOn(const QString &member, int waitedMs)
{
    if (p_.unattended && p_.unattended()) return false;
    const int answer = p_.messages.show(
        QStringLiteral("The component has not answered the call %1 for %2 seconds.\n\nWait on? No ends "
                       "the component, which is then started again as after a crash.")
            .arg(member)
            .arg(waitedMs / 1000.0),
        dialogs::style::Question | 4, QStringLiteral("Component not answering"));
    return answer == 6;
}

bool CrashRecovery::recover(HostedControl &control, const ComponentCrash &crash)
{
    const QString title = QStringLiteral("Component crashed");
    if (crash.stopped) {
        // Stopped after earlier crashes: the same report, and the same offer.
        const int answer = p_.messages.show(lastReport_ + QStringLiteral("\n\nStart the component again?"),
                                            dialogs::style::Critical | 4, title);
        if (answer == 6) {
            limit_.reset();
            restart(control);
        }
        return true;
    }

    ComponentProcess *process = p_.hosts.processOf(control.object());
    const QString file = process ? process->file() : QString();
    QString end = process ? process->howEnded() : QStringLiteral("unknown");
    if (process && process->killedForHanging()) end = QStringLiteral("it stopped answering and was ended");
    const QStringList lines = process ? process->lastErrorLines() : QStringList();
    p_.trace.componentCrashed({control.name(), file, crash.member, crash.kind, crash.args, end, lines});

    QString report = QStringLiteral("The component %1 of %2 ended during the call %3: %4.")
                         .arg(file, control.name(), describeCall(crash), end);
    if (!lines.isEmpty())
        report += QStringLiteral("\n\nThe last lines it wrote to standard error:\n") +
                  lines.join(QLatin1Char('\n'));
    lastReport_ = report;
    if (p_.unattended && p_.unattended()) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()), qPrintable(report));
        return false;
    }

    if (limit_.allow(p_.clockMs())) {
        p_.messages.show(report + QStringLiteral("\n\nIt has been started again."), dialogs::style::Critical,
                         title);
        restart(control);
        return true;
    }
    const int answer = p_.messages.show(report + QStringLiteral("\n\nIt crashed %1 times within a minute. "
                                                                "Start it again?")
                                                     .arg(RestartLimit::Crashes),
                                        dialogs::style::Critical | 4, title);
    if (answer == 6) {
        limit_.reset();
        restart(control);
    } else {
        if (process) p_.hosts.remove(process);
        control.stop();
    }
    return true;
}

void CrashRecovery::reload(HostedControl &control)
{
    const hosting::Created created = p_.create();
    if (!created.object) {
        p_.messages.show(
            QStringLiteral("The new build could not be loaded; the previous one keeps running.\n\n") +
                created.error,
            dialogs::style::Exclamation, QStringLiteral("Component not reloaded"));
        return;
    }
    ComponentProcess *old = p_.hosts.processOf(control.object());
    p_.trace.componentReloaded(control.name(), created.origin);
    control.replaceObject(created.object);
    if (old) p_.hosts.remove(old);
    limit_.reset();
    control.putAgain();
}

void CrashRecovery::restart(HostedControl &control)
{
    if (ComponentProcess *old = p_.hosts.processOf(control.object())) p_.hosts.remove(old);
    const hosting::Created created = p_.create();
    if (!created.object) {
        lastReport_ = created.error;
        control.stop();
        p_.messages.show(created.error, dialogs::style::Critical, QStringLiteral("Component crashed"));
        return;
    }
    control.replaceObject(created.object);
    try {
        control.putAgain();
    } catch (const ComponentCrash &again) {
        lastReport_ = QStringLiteral("The component crashed again while it was given the options: %1")
                          .arg(describeCall(again));
        control.stop();
        p_.messages.show(lastReport_, dialogs::style::Critical, QStringLiteral("Component crashed"));
    }
}

} // namespace harness
