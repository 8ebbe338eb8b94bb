// A character read from a character file. Loading parses the file's
// structure only; each frame's picture is composed (and its images decoded)
// the first time the player asks for it.
#pragma once

#include "charactermodel.h"

#include "acs.h"

#include <memory>
#include <unordered_set>

namespace agent
{

class AcsCharacter final : public CharacterModel
{
  public:
    // The character in `path`, or null with the reason in *error.
    static std::unique_ptr<AcsCharacter> load(const QString &path, QString *error);
    // Decoded images the character keeps for reuse (least recently used dropped first).
    void setImageCacheLimit(size_t bytes);
    explicit AcsCharacter(acs::Character character);

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
    std::optional<int> frameSound(int animation, int frame) const override;
    std::span<const uint8_t> soundData(int sound) const override;
    bool frameHasMouths(int animation, int frame) const override;
    QImage mouthFrameImage(int animation, int frame, acs::MouthShape shape) const override;

    // Everything the file holds, for tools that show more than the engine plays.
    const acs::Character &data() const { return character_; }

  private:
    const acs::Animation *animationAt(int animation) const;
    const acs::Frame *frameAt(int animation, int frame) const;
    std::optional<int> indexOf(const acs::Animation *animation) const;
    QImage compose(int animation, int frame, std::optional<acs::MouthShape> mouth) const;
    bool showsBrokenImage(const acs::Frame &frame) const;
    void reportBrokenImages(int animation, int frame) const;

    acs::Character character_;
    // Images that failed to decode: each is reported once, and frames that
    // show one are skipped without trying again.
    mutable std::unordered_set<uint32_t> brokenImages_;
};

} // namespace agent
