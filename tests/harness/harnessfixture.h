// One harness window wired to fakes, its trace kept in memory.
#pragma once

#include "fakes.h"
#include "harness/window/frmmain.h"

#include <QBuffer>

namespace harness
{
class ComponentHosts;
}

class HarnessFixture
{
  public:
    explicit HarnessFixture(const harness::ProgramDescription &program = harness::fennick(),
                            std::function<void(fakes::RecordingComponent &)> prepare = {});
    // The component from the plugin file in componentFolder, run by hosts.
    HarnessFixture(harness::ComponentHosts &hosts, const QString &componentFolder,
                   const harness::ProgramDescription &program = harness::fennick());

    // Creates the controls and runs start-up.
    bool start();
    // The trace so far, one JSON object a line, then cleared.
    QStringList takeTrace();
    // The dispatch lines of the trace reduced to "control kind member args [result]".
    QStringList takeCalls();

    fakes::ScriptedDialogs dialogs;
    fakes::RecordingMessageBoxes boxes;
    std::shared_ptr<fakes::RecordingComponent> component;
    std::shared_ptr<fakes::FakeAgent> agent = std::make_shared<fakes::FakeAgent>();
    std::optional<int> exitCode;
    bool unattended = false; // no one to answer a box
    hosting::ClassRegistry registry;
    QBuffer *traceBuffer;
    harness::Trace trace;
    std::unique_ptr<harness::FrmMain> window;

  private:
    void addPlatformControls();
};
