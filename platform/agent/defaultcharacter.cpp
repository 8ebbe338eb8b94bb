#include "defaultcharacter.h"

#include "robotpainter.h"

#include <array>

namespace agent
{

namespace
{

struct Branch {
    int target = 0;
    int percent = 0;
};

struct Frame {
    RobotPose pose;
    int durationCs = 10; // hundredths of a second, as character files count
    int exitTo = -1;     // negative: go on to the next frame when leaving
    std::array<Branch, 2> branches{};
    bool empty = false;
    bool mouths = false; // drawn with a speaking mouth while the robot speaks
};

struct Animation {
    QLatin1StringView name;
    std::vector<Frame> frames;
};

struct StateList {
    QLatin1StringView state;
    std::array<QLatin1StringView, 3> animations;
};

// An empty zero-length frame that ends an animation: exit branches land here.
const Frame EndFrame{.pose = {}, .durationCs = 0, .empty = true};

// The robot's animations. Every animation leaves through exit branches; the
// looping ones would otherwise never end.
const std::vector<Animation> &animations()
{
    static const std::vector<Animation> table{
        {QLatin1StringView("Show"),
         {{.pose = {.scale = 0.15, .eyeOpen = 0.0, .glow = 1.0}, .durationCs = 6},
          {.pose = {.scale = 0.45, .eyeOpen = 0.0, .glow = 1.0}, .durationCs = 6},
          {.pose = {.scale = 0.8, .lift = 3, .eyeOpen = 0.3, .glow = 1.0}, .durationCs = 7},
          {.pose = {.scale = 1.04, .eyeOpen = 1.0, .glow = 0.8}, .durationCs = 8},
          {.pose = {.scale = 0.97, .eyeOpen = 1.0, .glow = 0.5}, .durationCs = 8},
          {.pose = {.glow = 0.3}, .durationCs = 15}}},
        {QLatin1StringView("RestPose"), {{.pose = {}, .durationCs = 10, .mouths = true}}},
        // Speaking: a slight bob with the antenna lit, round and round until
        // speech ends.
        {QLatin1StringView("Speak"),
         {{.pose = {.glow = 0.7}, .durationCs = 30, .exitTo = 3, .mouths = true},
          {.pose = {.lift = 1, .glow = 0.9}, .durationCs = 30, .exitTo = 3, .mouths = true},
          {.pose = {.glow = 0.7}, .durationCs = 30, .exitTo = 3, .branches = {{{0, 100}}}, .mouths = true},
          EndFrame}},
        {QLatin1StringView("Blink"),
         {{.pose = {.eyeOpen = 0.5}, .durationCs = 4},
          {.pose = {.eyeOpen = 0.0, .smile = 0.8}, .durationCs = 8},
          {.pose = {.eyeOpen = 0.5}, .durationCs = 4},
          {.pose = {}, .durationCs = 10}}},
        {QLatin1StringView("LookAround"),
         {{.pose = {.lookX = -0.5}, .durationCs = 5, .exitTo = 6},
          {.pose = {.lookX = -1.0, .antennaTilt = -6}, .durationCs = 70, .exitTo = 2},
          {.pose = {}, .durationCs = 5, .exitTo = 6, .branches = {{{6, 50}}}},
          {.pose = {.lookX = 0.5}, .durationCs = 5, .exitTo = 6},
          {.pose = {.lookX = 1.0, .lookY = -0.5, .antennaTilt = 8}, .durationCs = 70, .exitTo = 5},
          {.pose = {.lookX = 0.5}, .durationCs = 5, .exitTo = 6},
          {.pose = {}, .durationCs = 10}}},
        {QLatin1StringView("Tune"),
         {{.pose = {.antennaTilt = -12, .glow = 0.6}, .durationCs = 8, .exitTo = 4},
          {.pose = {.antennaTilt = 12, .glow = 1.0, .smile = 1.3}, .durationCs = 8, .exitTo = 4},
          {.pose = {.antennaTilt = -8, .glow = 0.6}, .durationCs = 8, .exitTo = 4},
          {.pose = {.antennaTilt = 6, .glow = 0.8}, .durationCs = 8, .exitTo = 4},
          {.pose = {.glow = 0.3}, .durationCs = 10}}},
        {QLatin1StringView("Bob"),
         {{.pose = {.lift = 2, .glow = 0.4}, .durationCs = 6, .exitTo = 4},
          {.pose = {.lift = 4, .eyeOpen = 0.7, .glow = 0.7}, .durationCs = 10, .exitTo = 2},
          {.pose = {.lift = 2, .glow = 0.4}, .durationCs = 6, .exitTo = 4},
          {.pose = {}, .durationCs = 10, .exitTo = 4, .branches = {{{0, 100}}}},
          EndFrame}},
    };
    return table;
}

const std::array<StateList, 5> &states()
{
    static const std::array<StateList, 5> table{{
        {state::Showing, {QLatin1StringView("Show")}},
        {state::IdlingLevel1, {QLatin1StringView("Blink"), QLatin1StringView("LookAround")}},
        {state::IdlingLevel2,
         {QLatin1StringView("Blink"), QLatin1StringView("LookAround"), QLatin1StringView("Tune")}},
        {state::IdlingLevel3, {QLatin1StringView("Bob"), QLatin1StringView("Tune")}},
        {state::Speaking, {QLatin1StringView("Speak")}},
    }};
    return table;
}

constexpr QSize FrameSize{128, 128};

const Frame *frameAt(int animation, int frame)
{
    const auto &table = animations();
    if (animation < 0 || animation >= int(table.size())) return nullptr;
    const auto &frames = table[size_t(animation)].frames;
    if (frame < 0 || frame >= int(frames.size())) return nullptr;
    return &frames[size_t(frame)];
}

} // namespace

DefaultCharacter::DefaultCharacter()
{
    painted_.resize(animations().size());
    for (size_t i = 0; i < animations().size(); ++i)
        painted_[i].resize(animations()[i].frames.size());
}

QString DefaultCharacter::name() const
{
    return QStringLiteral("Robo");
}

QSize DefaultCharacter::frameSize() const
{
    return FrameSize;
}

int DefaultCharacter::animationCount() const
{
    return int(animations().size());
}

QString DefaultCharacter::animationName(int animation) const
{
    if (animation < 0 || animation >= animationCount()) return {};
    return animations()[size_t(animation)].name;
}

std::optional<int> DefaultCharacter::findAnimation(const QString &name) const
{
    for (size_t i = 0; i < animations().size(); ++i)
        if (name.compare(animations()[i].name, Qt::CaseInsensitive) == 0) return int(i);
    return std::nullopt;
}

QStringList DefaultCharacter::stateAnimations(const QString &state) const
{
    QStringList names;
    for (const StateList &list : states()) {
        if (state.compare(list.state, Qt::CaseInsensitive) != 0) continue;
        for (QLatin1StringView name : list.animations)
            if (!name.isEmpty()) names << QString(name);
    }
    return names;
}

std::optional<int> DefaultCharacter::restPose() const
{
    return findAnimation(RestPoseName);
}

std::optional<int> DefaultCharacter::returnAnimation(int) const
{
    return std::nullopt;
}

int DefaultCharacter::frameCount(int animation) const
{
    if (animation < 0 || animation >= animationCount()) return 0;
    return int(animations()[size_t(animation)].frames.size());
}

int DefaultCharacter::frameDurationMs(int animation, int frame) const
{
    const Frame *f = frameAt(animation, frame);
    return f ? f->durationCs * 10 : 0;
}

bool DefaultCharacter::frameIsEmpty(int animation, int frame) const
{
    const Frame *f = frameAt(animation, frame);
    return !f || f->empty;
}

QImage DefaultCharacter::frameImage(int animation, int frame) const
{
    const Frame *f = frameAt(animation, frame);
    if (!f) return {};
    QImage &image = painted_[size_t(animation)][size_t(frame)];
    if (image.isNull()) {
        if (f->empty) {
            image = QImage(FrameSize, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
        } else {
            image = paintRobot(f->pose, FrameSize);
        }
    }
    return image;
}

bool DefaultCharacter::frameHasMouths(int animation, int frame) const
{
    const Frame *f = frameAt(animation, frame);
    return f && f->mouths;
}

QImage DefaultCharacter::mouthFrameImage(int animation, int frame, acs::MouthShape shape) const
{
    const Frame *f = frameAt(animation, frame);
    if (!f || !f->mouths || int(shape) >= acs::mouthShapeCount) return {};
    QImage &image = mouthPainted_[{animation, frame, int(shape)}];
    if (image.isNull()) {
        RobotPose pose = f->pose;
        pose.mouth = shape;
        image = paintRobot(pose, FrameSize);
    }
    return image;
}

std::optional<int> DefaultCharacter::nextFrame(int animation, int frame, int random, bool exiting) const
{
    const Frame *f = frameAt(animation, frame);
    if (!f) return std::nullopt;
    if (exiting) {
        if (f->exitTo >= 0) return f->exitTo;
    } else {
        int sum = 0;
        for (const Branch &b : f->branches) {
            sum += b.percent;
            if (b.percent > 0 && random < sum) return b.target;
        }
    }
    if (frame + 1 < frameCount(animation)) return frame + 1;
    return std::nullopt;
}

} // namespace agent
