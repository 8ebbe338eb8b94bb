#include "componenthosts.h"

#include <algorithm>

namespace harness
{

hosting::Channel::ModalPolicy modalPolicy(component::MethodIds methods,
                                          std::function<void(bool entering)> around)
{
    using namespace component;
    constexpr size_t ModalFlagArg = 5;
    auto isModal = [methods](DispId id, CallKind kind, const Args &args) {
        if (kind != CallKind::Method || !methods.find(id) || args.size() <= ModalFlagArg) return false;
        const std::optional<Bool> modal = as<Bool>(args[ModalFlagArg]);
        return modal && modal->value();
    };
    return {isModal, std::move(around), {}};
}

void ComponentHosts::prestart(const QString &file, const QString &classId,
                              const component::NamedValues &stored)
{
    QString error; // told again by the create() that would use it
    spare_ = ComponentProcess::start(file, settings_, &error);
    if (spare_) spare_->createAhead(classId, stored);
}

hosting::Created ComponentHosts::create(const QString &file, const QString &classId,
                                        const component::NamedValues &stored)
{
    QString error;
    std::unique_ptr<ComponentProcess> process;
    if (spare_ && spare_->file() == file && !spare_->channel().broken())
        process = std::move(spare_);
    else
        process = ComponentProcess::start(file, settings_, &error);
    if (!process) return {nullptr, file, error};
    hosting::Channel::ModalPolicy modal = modal_;
    modal.balloonShown = [raw = process.get()] {
        balloondriver::BalloonAccess *balloons = raw->balloons();
        return !balloons || balloons->balloonOnScreen() != 0; // unknown: no limit
    };
    process->channel().setModalPolicy(std::move(modal));
    process->channel().setHangCheck(
        settings_.hangTimeoutMs, [this, raw = process.get()](component::DispId id, component::CallKind kind) {
            if (hang_ && hang_(id, kind, settings_.hangTimeoutMs)) return true;
            raw->kill();
            return false;
        });
    hosting::Created created = process->create(classId, stored);
    if (created.object) processes_.push_back(std::move(process));
    return created;
}

ComponentProcess *ComponentHosts::processOf(const component::ObjectRef &object) const
{
    const auto *remote = dynamic_cast<const hosting::RemoteObject *>(object.get());
    if (!remote) return nullptr;
    for (const auto &p : processes_)
        if (&p->channel() == remote->channel()) return p.get();
    return nullptr;
}

void ComponentHosts::remove(ComponentProcess *process)
{
    std::erase_if(processes_, [process](const auto &p) { return p.get() == process; });
}

} // namespace harness
