#include "componentprocess.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace harness
{

namespace
{

constexpr size_t KeptErrorLines = 10;
// The host's end of the socket, as it sees it.
constexpr int HostFd = 3;

QString signalName(int number)
{
    if (const char *abbrev = ::sigabbrev_np(number))
        return QStringLiteral("SIG") + QString::fromLatin1(abbrev);
    return QString::number(number);
}

// Without XDG_RUNTIME_DIR Qt picks a folder of its own and says so on
// standard error, where the host's words end up in crash reports. The
// harness's Qt has made that folder already: the host is told it.
QProcessEnvironment hostEnvironment()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (environment.contains(QStringLiteral("XDG_RUNTIME_DIR"))) return environment;
    const passwd *user = ::getpwuid(::geteuid());
    if (!user) return environment;
    const QString folder =
        QDir::tempPath() + QStringLiteral("/runtime-") + QString::fromLocal8Bit(user->pw_name);
    const QFileInfo info(folder);
    if (info.isDir() && info.ownerId() == ::geteuid())
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder);
    return environment;
}

} // namespace

ComponentProcess::Settings ComponentProcess::defaultSettings()
{
    Settings s;
    s.hostProgram = QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                    QStringLiteral("/../lib/balloon-harness/balloon-harness-host"));
    s.wrapper = QProcess::splitCommand(qEnvironmentVariable("HARNESS_HOST_WRAPPER"));
    return s;
}

std::unique_ptr<ComponentProcess> ComponentProcess::start(const QString &file, const Settings &settings,
                                                          QString *error)
{
    const auto fail = [&](const QString &why) {
        *error =
            QStringLiteral("Cannot start the component host for %1: %2. Run the harness with --in-process "
                           "to load the component into the harness itself.")
                .arg(file, why);
        return nullptr;
    };
    if (!QFileInfo(settings.hostProgram).isExecutable())
        return fail(QStringLiteral("the program %1 is missing").arg(settings.hostProgram));

    int sockets[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets) != 0)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    int errors[2];
    if (::pipe2(errors, O_CLOEXEC) != 0) {
        ::close(sockets[0]);
        ::close(sockets[1]);
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    }

    static int startedSoFar = 0;
    std::unique_ptr<ComponentProcess> p(new ComponentProcess);
    p->serial_ = ++startedSoFar;
    p->file_ = file;
    p->channel_ = std::make_shared<hosting::Channel>(sockets[0]);
    p->errorFd_ = errors[0];
    ::fcntl(errors[0], F_SETFL, ::fcntl(errors[0], F_GETFL) | O_NONBLOCK);

    QStringList arguments = settings.wrapper;
    arguments << settings.hostProgram << QStringLiteral("--fd") << QString::number(HostFd)
              << QStringLiteral("--name") << QFileInfo(file).completeBaseName();
    if (settings.waitForDebugger) arguments << QStringLiteral("--wait-for-debugger");
    const QString program = arguments.takeFirst();
    p->process_.setProgram(program);
    p->process_.setArguments(arguments);
    p->process_.setProcessChannelMode(QProcess::ForwardedChannels);
    p->process_.setProcessEnvironment(hostEnvironment());
    const int hostSocket = sockets[1];
    const int hostErrors = errors[1];
    p->process_.setChildProcessModifier([hostSocket, hostErrors] {
        // dup2 clears close-on-exec on the copies the host keeps.
        ::dup2(hostSocket, HostFd);
        ::dup2(hostErrors, STDERR_FILENO);
    });
    p->process_.start();
    const bool started = p->process_.waitForStarted();
    ::close(sockets[1]);
    ::close(errors[1]);
    if (!started) return fail(p->process_.errorString());

    p->channel_->setSideInput(p->errorFd_, [raw = p.get()] { raw->drainErrors(); });
    p->errorNotifier_ = std::make_unique<QSocketNotifier>(qintptr(p->errorFd_), QSocketNotifier::Read);
    QObject::connect(p->errorNotifier_.get(), &QSocketNotifier::activated, p->errorNotifier_.get(),
                     [raw = p.get()] { raw->drainErrors(); });
    p->channel_->watch();
    return p;
}

ComponentProcess::~ComponentProcess()
{
    errorNotifier_.reset();
    // Closing the connection ends the host; one that does not end is killed.
    channel_->breakWith(QStringLiteral("the harness closed it"));
    channel_.reset();
    if (process_.state() != QProcess::NotRunning && !process_.waitForFinished(1000)) {
        process_.kill();
        process_.waitForFinished(1000);
    }
    drainErrors();
    ::close(errorFd_);
}

void ComponentProcess::createAhead(const QString &classId, const component::NamedValues &stored)
{
    if (const uint32_t seq = channel_->sendCreate(file_, classId, stored))
        ahead_ = Ahead{seq, classId, stored};
}

hosting::Created ComponentProcess::create(const QString &classId, const component::NamedValues &stored)
{
    std::optional<Ahead> ahead = std::exchange(ahead_, std::nullopt);
    const bool same = ahead && ahead->classId == classId && ahead->stored == stored;
    // An instance asked for with other settings is let go at once.
    if (ahead && !same) channel_->awaitCreate(ahead->seq);
    const component::Result result =
        same ? channel_->awaitCreate(ahead->seq) : channel_->create(file_, classId, stored);
    if (!result.ok()) return {nullptr, file_, result.error().description};
    const auto *object = std::get_if<component::ObjectRef>(&result.value());
    if (!object || !*object)
        return {nullptr, file_,
                QStringLiteral("Cannot create the control \"%1\": the host answered no object").arg(classId)};
    return {*object, file_, {}};
}

balloondriver::BalloonAccess *ComponentProcess::balloons()
{
    if (balloons_ || channel_->broken()) return balloons_.get();
    const component::Result result =
        channel_->create({}, QLatin1String(balloondriver::BalloonAccessClass), {});
    const auto *object = result.ok() ? std::get_if<component::ObjectRef>(&result.value()) : nullptr;
    if (object && *object) balloons_ = balloondriver::remoteBalloonAccess(*object);
    return balloons_.get();
}

void ComponentProcess::drainErrors()
{
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(errorFd_, buffer, sizeof buffer);
        if (n == 0) {
            // The host has gone: nothing more to wait for on this pipe.
            if (errorNotifier_) errorNotifier_->setEnabled(false);
            if (channel_) channel_->setSideInput(-1, {});
        }
        if (n <= 0) break;
        // Passed on, so a component author sees the output as before.
        std::fwrite(buffer, 1, size_t(n), stderr);
        partialLine_.append(buffer, n);
        qsizetype end;
        while ((end = partialLine_.indexOf('\n')) >= 0) {
            lines_.push_back(QString::fromLocal8Bit(partialLine_.left(end)));
            partialLine_.remove(0, end + 1);
            if (lines_.size() > KeptErrorLines) lines_.pop_front();
        }
    }
}

QString ComponentProcess::howEnded()
{
    if (process_.state() != QProcess::NotRunning && !process_.waitForFinished(2000)) {
        process_.kill();
        process_.waitForFinished(1000);
    }
    drainErrors();
    if (!partialLine_.isEmpty()) {
        lines_.push_back(QString::fromLocal8Bit(partialLine_));
        partialLine_.clear();
        if (lines_.size() > KeptErrorLines) lines_.pop_front();
    }
    if (process_.exitStatus() == QProcess::CrashExit)
        return QStringLiteral("signal ") + signalName(process_.exitCode());
    return QStringLiteral("exit code %1").arg(process_.exitCode());
}

void ComponentProcess::kill()
{
    killed_ = true;
    process_.kill();
}

} // namespace harness
