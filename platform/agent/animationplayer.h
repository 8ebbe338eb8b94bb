// Plays a character's frames in time: asks the sequencer for the next frame,
// hands its picture on and waits the frame's duration.
#pragma once

#include "animationsequencer.h"

#include <QObject>
#include <QTimer>

namespace agent
{

class AnimationPlayer : public QObject
{
    Q_OBJECT
  public:
    AnimationPlayer(const CharacterModel &model, RandomSource random, IdleTiming timing = {},
                    QObject *parent = nullptr);

    // The first frame is handed on before this returns, so a window can be
    // shown with its picture already in place.
    void play(bool fast);
    // Plays one animation at once (a running one is cut short), then idles.
    void playAnimation(int animation);
    void stop();
    // Speaking plays the speaking animation at once; the mouth shape shows
    // on every frame that has mouths (none: the plain frame).
    void setSpeaking(bool on);
    void setMouth(std::optional<acs::MouthShape> shape);

    bool playing() const { return sequencer_.running(); }
    int framesShown() const { return framesShown_; }
    std::optional<FrameStep> currentFrame() const { return current_; }

  signals:
    void frameChanged(const QImage &image);
    // A frame comes up anew (not when the rest pose is merely held longer).
    void frameEntered(int animation, int frame);

  private:
    void showNextFrame();
    QImage pictureOf(const FrameStep &step) const;

    const CharacterModel &model_;
    AnimationSequencer sequencer_;
    QTimer timer_;
    std::optional<FrameStep> current_;
    std::optional<acs::MouthShape> mouth_;
    int framesShown_ = 0;
};

} // namespace agent
