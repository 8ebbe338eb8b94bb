// How the balloon's edge meets the desktop. Where the window system blends
// top-level windows by their alpha channel (a compositing manager on X11,
// always on Wayland) the outline is drawn antialiased on a translucent
// window; elsewhere a one-bit mask cuts the window to the outline, since
// the pixels outside it would otherwise show black.
#pragma once

#include <functional>

class QString;

namespace balloon
{

enum class EdgeMode { Mask, Smooth };

// The mode a platform plugin offers: Smooth on "wayland..." and on "xcb"
// while compositorRunning() says so; Mask on "offscreen", "minimal" and any
// platform not known to blend. compositorRunning is only asked on "xcb".
EdgeMode edgeModeFor(const QString &platformName, const std::function<bool()> &compositorRunning);

// The mode for the running application, asked anew on every call, so a
// balloon shown after a compositor started or stopped takes the right one.
EdgeMode currentEdgeMode();

// Replaces the check currentEdgeMode() makes (for tests); an empty function
// restores the window system's own.
void setEdgeModeCheck(std::function<EdgeMode()> check);

} // namespace balloon
