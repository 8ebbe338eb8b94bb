// Draws the built-in character, a small round robot, in any pose.
#pragma once

#include "acs.h"

#include <QImage>
#include <QSize>

#include <optional>

namespace agent
{

struct RobotPose {
    qreal scale = 1.0;       // whole figure, around the point between its feet
    qreal lift = 0.0;        // pixels above its resting place
    qreal eyeOpen = 1.0;     // 0 closed .. 1 open
    qreal lookX = 0.0;       // -1 left .. 1 right
    qreal lookY = 0.0;       // -1 up .. 1 down
    qreal antennaTilt = 0.0; // degrees, clockwise
    qreal glow = 0.0;        // antenna light, 0 dim .. 1 bright
    qreal smile = 1.0;       // 0 flat .. 1 wide smile
    // A speaking mouth drawn instead of the smile.
    std::optional<acs::MouthShape> mouth = std::nullopt;
};

// A premultiplied ARGB picture of the given size, transparent around the robot.
QImage paintRobot(const RobotPose &pose, QSize size);

} // namespace agent
