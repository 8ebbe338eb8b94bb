#include "harnessfixture.h"

#include "harness/isolation/componenthosts.h"
#include "platform/platformclasses.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

HarnessFixture::HarnessFixture(const harness::ProgramDescription &program,
                               std::function<void(fakes::RecordingComponent &)> prepare)
{
    auto buffer = std::make_unique<QBuffer>();
    buffer->open(QIODevice::ReadWrite);
    traceBuffer = buffer.get();
    trace = harness::Trace(std::move(buffer));

    registry.addBuiltin(program.componentClass,
                        [this, program, prepare](const component::NamedValues &stored, QString *) {
                            component = std::make_shared<fakes::RecordingComponent>(program.methods, stored);
                            if (prepare) prepare(*component);
                            return component;
                        });
    addPlatformControls();
    window = std::make_unique<harness::FrmMain>(
        program, harness::FrmMain::Platform{registry, boxes, trace, [this](int code) { exitCode = code; },
                                            [this] { return unattended; }});
}

HarnessFixture::HarnessFixture(harness::ComponentHosts &hosts, const QString &componentFolder,
                               const harness::ProgramDescription &program)
{
    auto buffer = std::make_unique<QBuffer>();
    buffer->open(QIODevice::ReadWrite);
    traceBuffer = buffer.get();
    trace = harness::Trace(std::move(buffer));
    addPlatformControls();
    registry.setPluginFolders({componentFolder}, {});
    registry.setPluginCreator(
        [&hosts](const QString &file, const QString &classId, const component::NamedValues &stored) {
            return hosts.create(file, classId, stored);
        });
    window = std::make_unique<harness::FrmMain>(
        program, harness::FrmMain::Platform{registry, boxes, trace, [this](int code) { exitCode = code; },
                                            [this] { return unattended; }, nullptr, &hosts});
}

void HarnessFixture::addPlatformControls()
{
    platform::registerPlatformClasses(registry, dialogs, [this] { return agent; });
}

bool HarnessFixture::start()
{
    return window->createControls() && window->load();
}

QStringList HarnessFixture::takeTrace()
{
    const QString all = QString::fromUtf8(traceBuffer->data());
    traceBuffer->buffer().clear();
    traceBuffer->seek(0);
    return all.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList HarnessFixture::takeCalls()
{
    QStringList calls;
    for (const QString &line : takeTrace()) {
        const QJsonObject o = QJsonDocument::fromJson(line.toUtf8()).object();
        if (o.value(QStringLiteral("event")).toString() != QLatin1String("dispatch")) continue;
        QString call = o.value(QStringLiteral("control")).toString() + QLatin1Char(' ') +
                       o.value(QStringLiteral("kind")).toString() + QLatin1Char(' ') +
                       o.value(QStringLiteral("member")).toString();
        const QByteArray args =
            QJsonDocument(o.value(QStringLiteral("args")).toArray()).toJson(QJsonDocument::Compact);
        if (args != "[]") call += QLatin1Char(' ') + QString::fromUtf8(args);
        const QJsonValue result = o.value(QStringLiteral("result"));
        if (o.value(QStringLiteral("kind")).toString() == QLatin1String("get"))
            call += QLatin1String(" -> ") +
                    QString::fromUtf8(QJsonDocument(QJsonArray{result}).toJson(QJsonDocument::Compact))
                        .mid(1)
                        .chopped(1);
        if (o.contains(QLatin1String("error")))
            call += QLatin1String(" !") +
                    QString::number(
                        o.value(QStringLiteral("error")).toObject().value(QStringLiteral("number")).toInt());
        calls << call;
    }
    return calls;
}
