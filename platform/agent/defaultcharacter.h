// The character the engine shows when no file is given: a small round robot
// drawn with QPainter, each frame painted the first time it is needed.
#pragma once

#include "charactermodel.h"

#include <map>
#include <tuple>
#include <vector>

namespace agent
{

class DefaultCharacter final : public CharacterModel
{
  public:
    DefaultCharacter();

    QString name() const override;
    QSize frameSize() const override;
    int animationCount() const override;
    QString animationName(int animation) const override;
    std::optional<int> findAnimation(const QString &name) const override;
    QStringList stateAnimations(const QString &state) const override;
    std::optional<int> restPose() const override;
    std::optional<int> returnAnimation(int animation) const override;
    int frameCount(int animation) const override;
    int frameDurationMs(int animation, int frame) const override;
    bool frameIsEmpty(int animation, int frame) const override;
    QImage frameImage(int animation, int frame) const override;
    std::optional<int> nextFrame(int animation, int frame, int random, bool exiting) const override;
    bool frameHasMouths(int animation, int frame) const override;
    QImage mouthFrameImage(int animation, int frame, acs::MouthShape shape) const override;

  private:
    mutable std::vector<std::vector<QImage>> painted_;
    mutable std::map<std::tuple<int, int, int>, QImage> mouthPainted_; // animation, frame, shape
};

} // namespace agent
