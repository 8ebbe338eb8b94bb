#include "viewerplayback.h"

namespace acsview
{

ViewerPlayback::ViewerPlayback(const agent::CharacterModel &model, agent::RandomSource random,
                               QObject *parent)
    : QObject(parent), model_(model), random_(std::move(random))
{
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &ViewerPlayback::timeUp);
}

void ViewerPlayback::select(int animation)
{
    pause();
    if (animation < 0 || animation >= model_.animationCount() || model_.frameCount(animation) == 0) return;
    animation_ = animation;
    show(0);
}

void ViewerPlayback::play()
{
    if (animation_ < 0 || playing_) return;
    playing_ = true;
    emit playingChanged(true);
    timer_.start(model_.frameDurationMs(animation_, frame_));
}

void ViewerPlayback::pause()
{
    if (!playing_) return;
    playing_ = false;
    timer_.stop();
    emit playingChanged(false);
}

void ViewerPlayback::step()
{
    if (animation_ < 0) return;
    const std::optional<int> next = model_.nextFrame(animation_, frame_, random_(100), false);
    if (next)
        show(*next);
    else if (loop_)
        show(0);
    else
        pause();
}

void ViewerPlayback::show(int frame)
{
    frame_ = frame;
    emit frameChanged(animation_, frame_);
}

void ViewerPlayback::timeUp()
{
    step();
    if (playing_) timer_.start(model_.frameDurationMs(animation_, frame_));
}

} // namespace acsview
