#include "animationplayer.h"

#include "agentlog.h"

namespace agent
{

AnimationPlayer::AnimationPlayer(const CharacterModel &model, RandomSource random, IdleTiming timing,
                                 QObject *parent)
    : QObject(parent), model_(model), sequencer_(model, std::move(random), timing)
{
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &AnimationPlayer::showNextFrame);
}

void AnimationPlayer::play(bool fast)
{
    timer_.stop();
    current_.reset();
    sequencer_.show(fast);
    showNextFrame();
}

void AnimationPlayer::playAnimation(int animation)
{
    timer_.stop();
    sequencer_.playAnimation(animation);
    showNextFrame();
}

void AnimationPlayer::stop()
{
    timer_.stop();
    sequencer_.stop();
}

void AnimationPlayer::setSpeaking(bool on)
{
    if (on == sequencer_.speaking() || !sequencer_.running()) return;
    sequencer_.speak(on);
    if (!on) return; // the speaking animation is left at its own pace
    timer_.stop();
    showNextFrame();
}

void AnimationPlayer::setMouth(std::optional<acs::MouthShape> shape)
{
    if (mouth_ == shape) return;
    mouth_ = shape;
    if (!current_ || !model_.frameHasMouths(current_->animation, current_->frame)) return;
    const QImage image = pictureOf(*current_);
    if (!image.isNull()) emit frameChanged(image);
}

QImage AnimationPlayer::pictureOf(const FrameStep &step) const
{
    if (mouth_ && model_.frameHasMouths(step.animation, step.frame)) {
        QImage withMouth = model_.mouthFrameImage(step.animation, step.frame, *mouth_);
        if (!withMouth.isNull()) return withMouth;
    }
    return model_.frameImage(step.animation, step.frame);
}

void AnimationPlayer::showNextFrame()
{
    const std::optional<FrameStep> step = sequencer_.next();
    if (!step) return;
    const bool samePicture =
        current_ && current_->animation == step->animation && current_->frame == step->frame;
    current_ = step;
    ++framesShown_;
    if (!samePicture) {
        const QImage image = pictureOf(*step);
        // A picture that cannot be made (the model reports why, once) leaves
        // the previous one up for the frame's time rather than stopping the character.
        if (!image.isNull()) emit frameChanged(image);
    }
    if (!step->held) emit frameEntered(step->animation, step->frame);
    timer_.start(step->durationMs);
}

} // namespace agent
