// Plays one chosen animation for the viewer: play, pause, step frame by
// frame, and loop. Branches are followed as the engine would; at the end the
// animation starts over when looping, else playback stops on the last frame.
#pragma once

#include "animationsequencer.h"

#include <QObject>
#include <QTimer>

namespace acsview
{

class ViewerPlayback : public QObject
{
    Q_OBJECT
  public:
    ViewerPlayback(const agent::CharacterModel &model, agent::RandomSource random, QObject *parent = nullptr);

    // Shows the animation's first frame, paused.
    void select(int animation);
    void play();
    void pause();
    void step();
    void setLoop(bool loop) { loop_ = loop; }

    bool playing() const { return playing_; }
    bool loop() const { return loop_; }
    int animation() const { return animation_; }
    int frame() const { return frame_; }

  signals:
    void frameChanged(int animation, int frame);
    void playingChanged(bool playing);

  private:
    void show(int frame);
    void timeUp();

    const agent::CharacterModel &model_;
    agent::RandomSource random_;
    QTimer timer_;
    int animation_ = -1;
    int frame_ = -1;
    bool loop_ = false;
    bool playing_ = false;
};

} // namespace acsview
