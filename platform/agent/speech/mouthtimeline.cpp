#include "mouthtimeline.h"

#include "phonemouth.h"

#include <algorithm>
#include <array>

namespace speech
{

MouthTimeline MouthTimeline::fromPhones(std::span<const PhoneEnd> phones)
{
    MouthTimeline timeline;
    int start = 0;
    for (const PhoneEnd &phone : phones) {
        const int end = std::max(start, phone.endMs);
        if (end > start) timeline.add(start, mouthForPhone(phone.phone));
        start = end;
    }
    timeline.durationMs_ = start;
    return timeline;
}

MouthTimeline MouthTimeline::unspoken(int durationMs)
{
    // About a syllable's rhythm; it only has to look like talking.
    constexpr int StepMs = 120;
    constexpr std::array<acs::MouthShape, 4> Rhythm{acs::MouthShape::Wide2, acs::MouthShape::Medium,
                                                    acs::MouthShape::Wide3, acs::MouthShape::Narrow};
    MouthTimeline timeline;
    timeline.durationMs_ = std::max(0, durationMs);
    for (int at = 0, i = 0; at < timeline.durationMs_; at += StepMs, ++i)
        timeline.add(at, i % 5 == 4 ? acs::MouthShape::Closed : Rhythm[size_t(i) % Rhythm.size()]);
    return timeline;
}

acs::MouthShape MouthTimeline::at(int ms) const
{
    if (ms < 0 || ms >= durationMs_ || cues_.empty()) return acs::MouthShape::Closed;
    auto after = std::upper_bound(cues_.begin(), cues_.end(), ms,
                                  [](int t, const MouthCue &cue) { return t < cue.atMs; });
    return after == cues_.begin() ? acs::MouthShape::Closed : std::prev(after)->shape;
}

void MouthTimeline::add(int atMs, acs::MouthShape shape)
{
    if (!cues_.empty() && cues_.back().shape == shape) return;
    cues_.push_back({atMs, shape});
}

} // namespace speech
