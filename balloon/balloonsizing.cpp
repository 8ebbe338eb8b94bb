#include "balloonsizing.h"

#include <algorithm>

namespace balloon
{

namespace
{

constexpr int minimumContentWidth = 160;
constexpr int inputWidth = 260;
constexpr int visibleLabelRows = 10;
constexpr int minimumTextHeight = 16;

} // namespace

int contentWidth(const WidthParts &parts)
{
    int wanted = minimumContentWidth;
    wanted = std::max(wanted, parts.heading);
    wanted = std::max(wanted, parts.text);
    if (parts.input) wanted = std::max(wanted, inputWidth);
    wanted = std::max(wanted, parts.labels);
    wanted = std::min(wanted, parts.readable);
    // Buttons are never squeezed below their row.
    wanted = std::max(wanted, parts.buttonRow);
    return std::min(wanted, parts.room);
}

int roomToShare(const HeightParts &parts)
{
    return std::max(40, parts.available - parts.fixed);
}

Heights shareHeights(const HeightParts &parts)
{
    const int remaining = roomToShare(parts);
    const int labelsWanted =
        parts.labels
            ? std::clamp(parts.labelCount, 1, visibleLabelRows) * parts.rowHeight + 2 * parts.frameWidth
            : 0;
    const int textWanted = parts.text ? parts.textWanted : 0;
    int labelsHeight = labelsWanted;
    int textHeight = textWanted;
    if (textWanted + labelsWanted > remaining) {
        // Both scroll when needed; the list keeps a few rows at least.
        const int labelsFloor = std::min(labelsWanted, 3 * parts.rowHeight + 8);
        labelsHeight = parts.labels ? std::min(labelsWanted, std::max(remaining / 2, labelsFloor)) : 0;
        textHeight = std::min(textWanted, remaining - labelsHeight);
        labelsHeight = parts.labels ? std::min(labelsWanted, remaining - textHeight) : 0;
    }
    Heights h;
    h.text = parts.text ? std::max(textHeight, minimumTextHeight) : 0;
    h.textScrolls = textHeight < textWanted;
    h.labels = parts.labels ? std::max(labelsHeight, parts.rowHeight + 4) : 0;
    h.content = parts.fixed + h.text + h.labels;
    return h;
}

} // namespace balloon
