#include "acscharacter.h"

#include "agentlog.h"

#include <QFile>

#include <cstring>

namespace agent
{

std::unique_ptr<AcsCharacter> AcsCharacter::load(const QString &path, QString *error)
{
    acs::Result<acs::Character> loaded = acs::Character::loadFile(QFile::encodeName(path).toStdString());
    if (!loaded) {
        *error = QString::fromStdString(loaded.error().describe());
        return nullptr;
    }
    return std::make_unique<AcsCharacter>(std::move(loaded.value()));
}

AcsCharacter::AcsCharacter(acs::Character character) : character_(std::move(character)) {}

void AcsCharacter::setImageCacheLimit(size_t bytes)
{
    character_.setImageCacheLimit(bytes);
}

QString AcsCharacter::name() const
{
    return QString::fromStdU16String(character_.name());
}

QSize AcsCharacter::frameSize() const
{
    const acs::Size size = character_.frameSize();
    return {size.width, size.height};
}

int AcsCharacter::animationCount() const
{
    return int(character_.animationCount());
}

QString AcsCharacter::animationName(int animation) const
{
    const acs::Animation *a = animationAt(animation);
    return a ? QString::fromStdU16String(a->name) : QString();
}

std::optional<int> AcsCharacter::findAnimation(const QString &name) const
{
    return indexOf(character_.animation(name.toStdU16String()));
}

QStringList AcsCharacter::stateAnimations(const QString &state) const
{
    QStringList names;
    if (const acs::State *found = character_.state(state.toStdU16String()))
        for (const std::u16string &name : found->animations)
            names << QString::fromStdU16String(name);
    return names;
}

std::optional<int> AcsCharacter::restPose() const
{
    return indexOf(character_.restPose());
}

std::optional<int> AcsCharacter::returnAnimation(int animation) const
{
    const acs::Animation *a = animationAt(animation);
    return a ? indexOf(character_.returnAnimationOf(*a)) : std::nullopt;
}

int AcsCharacter::frameCount(int animation) const
{
    const acs::Animation *a = animationAt(animation);
    return a ? int(a->frames.size()) : 0;
}

int AcsCharacter::frameDurationMs(int animation, int frame) const
{
    const acs::Frame *f = frameAt(animation, frame);
    return f ? f->durationMs() : 0;
}

bool AcsCharacter::frameIsEmpty(int animation, int frame) const
{
    const acs::Frame *f = frameAt(animation, frame);
    return !f || f->images.empty();
}

QImage AcsCharacter::frameImage(int animation, int frame) const
{
    return compose(animation, frame, std::nullopt);
}

bool AcsCharacter::frameHasMouths(int animation, int frame) const
{
    const acs::Frame *f = frameAt(animation, frame);
    return f && !f->overlays.empty();
}

QImage AcsCharacter::mouthFrameImage(int animation, int frame, acs::MouthShape shape) const
{
    return frameHasMouths(animation, frame) ? compose(animation, frame, shape) : QImage();
}

QImage AcsCharacter::compose(int animation, int frame, std::optional<acs::MouthShape> mouth) const
{
    const acs::Frame *f = frameAt(animation, frame);
    if (!f || showsBrokenImage(*f)) return {};
    const acs::Overlay *overlay = mouth ? f->overlayFor(*mouth) : nullptr;
    if (overlay && brokenImages_.count(overlay->image)) overlay = nullptr;
    acs::Result<acs::FrameImage> composed = character_.composeFrame(*f, overlay);
    if (!composed && overlay && !character_.image(overlay->image)) {
        // A mouth that cannot be drawn is left off from now on.
        brokenImages_.insert(overlay->image);
        qCWarning(lcAgent).noquote() << QStringLiteral("mouth image %1 cannot be decoded; speech shows "
                                                       "frames without it")
                                            .arg(overlay->image);
        return compose(animation, frame, std::nullopt);
    }
    if (!composed) {
        reportBrokenImages(animation, frame);
        return {};
    }
    const acs::FrameImage &pixels = composed.value();
    if (pixels.width <= 0 || pixels.height <= 0 ||
        pixels.pixels.size() != size_t(pixels.width) * size_t(pixels.height))
        return {};
    // Every pixel is opaque or fully clear, so the buffer is premultiplied as it is.
    QImage image(pixels.width, pixels.height, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < pixels.height; ++y)
        std::memcpy(image.scanLine(y), pixels.pixels.data() + size_t(y) * size_t(pixels.width),
                    size_t(pixels.width) * sizeof(uint32_t));
    return image;
}

std::optional<int> AcsCharacter::nextFrame(int animation, int frame, int random, bool exiting) const
{
    const acs::Animation *a = animationAt(animation);
    if (!a || frame < 0 || size_t(frame) >= a->frames.size()) return std::nullopt;
    const std::optional<size_t> next = acs::nextFrame(*a, size_t(frame), random, exiting);
    if (!next || *next >= a->frames.size()) return std::nullopt;
    return int(*next);
}

std::optional<int> AcsCharacter::frameSound(int animation, int frame) const
{
    const acs::Frame *f = frameAt(animation, frame);
    return f && f->hasSound() ? std::optional<int>(f->sound) : std::nullopt;
}

std::span<const uint8_t> AcsCharacter::soundData(int sound) const
{
    if (sound < 0) return {};
    acs::Result<std::span<const uint8_t>> bytes = character_.sound(size_t(sound));
    return bytes ? bytes.value() : std::span<const uint8_t>();
}

bool AcsCharacter::showsBrokenImage(const acs::Frame &frame) const
{
    for (const acs::ImageRef &ref : frame.images)
        if (brokenImages_.count(ref.image)) return true;
    return false;
}

void AcsCharacter::reportBrokenImages(int animation, int frame) const
{
    const acs::Animation *a = animationAt(animation);
    const acs::Frame *f = frameAt(animation, frame);
    if (!a || !f) return;
    for (const acs::ImageRef &ref : f->images) {
        if (brokenImages_.count(ref.image)) continue;
        const auto decoded = character_.image(ref.image);
        if (decoded) continue;
        brokenImages_.insert(ref.image);
        qCWarning(lcAgent).noquote() << QStringLiteral("animation \"%1\", frame %2: %3; frames that show "
                                                       "image %4 are skipped")
                                            .arg(QString::fromStdString(acs::displayName(a->name)))
                                            .arg(frame)
                                            .arg(QString::fromStdString(decoded.error().describe()))
                                            .arg(ref.image);
    }
}

const acs::Animation *AcsCharacter::animationAt(int animation) const
{
    if (animation < 0 || size_t(animation) >= character_.animationCount()) return nullptr;
    return &character_.animationAt(size_t(animation));
}

const acs::Frame *AcsCharacter::frameAt(int animation, int frame) const
{
    const acs::Animation *a = animationAt(animation);
    if (!a || frame < 0 || size_t(frame) >= a->frames.size()) return nullptr;
    return &a->frames[size_t(frame)];
}

std::optional<int> AcsCharacter::indexOf(const acs::Animation *animation) const
{
    if (!animation) return std::nullopt;
    for (size_t i = 0; i < character_.animationCount(); ++i)
        if (&character_.animationAt(i) == animation) return int(i);
    return std::nullopt;
}

} // namespace agent
