#include "edgemode.h"

#include <QGuiApplication>
#include <QString>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#endif

namespace balloon
{

namespace
{

#if QT_CONFIG(xcb)

struct FreeReply {
    void operator()(void *reply) const { std::free(reply); }
};
template <typename Reply> using ReplyPtr = std::unique_ptr<Reply, FreeReply>;

// The X screen Qt's connection works on. With one root window (RandR and
// Xinerama setups) it is 0; only a server with several X screens needs the
// number from the display name.
int x11ScreenNumber(xcb_connection_t *connection)
{
    const int roots = xcb_setup_roots_length(xcb_get_setup(connection));
    if (roots <= 1) return 0;
    char *host = nullptr;
    int display = 0;
    int screen = 0;
    const bool parsed = xcb_parse_display(nullptr, &host, &display, &screen) != 0;
    std::free(host);
    return parsed && screen < roots ? screen : 0;
}

// A compositing manager announces itself (EWMH) by owning the selection
// _NET_WM_CM_S<screen> for as long as it runs; asking costs two round trips.
// Errors are taken and dropped, else they would queue as events for Qt to log.
bool x11CompositorRunning()
{
    const auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t *c = x11 ? x11->connection() : nullptr;
    if (!c) return false;
    const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(x11ScreenNumber(c));
    xcb_generic_error_t *error = nullptr;
    const ReplyPtr<xcb_intern_atom_reply_t> atom(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, uint16_t(name.size()), name.constData()), &error));
    std::free(error);
    if (!atom || atom->atom == XCB_ATOM_NONE) return false; // nobody ever claimed it
    error = nullptr;
    const ReplyPtr<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom->atom), &error));
    std::free(error);
    return owner && owner->owner != XCB_WINDOW_NONE;
}

#else

bool x11CompositorRunning()
{
    return false;
}

#endif

EdgeMode windowSystemEdgeMode()
{
    return edgeModeFor(QGuiApplication::platformName(), x11CompositorRunning);
}

std::function<EdgeMode()> &edgeModeCheck()
{
    static std::function<EdgeMode()> check = windowSystemEdgeMode;
    return check;
}

} // namespace

EdgeMode edgeModeFor(const QString &platformName, const std::function<bool()> &compositorRunning)
{
    if (platformName.startsWith(QLatin1String("wayland"))) return EdgeMode::Smooth;
    if (platformName == QLatin1String("xcb") && compositorRunning()) return EdgeMode::Smooth;
    return EdgeMode::Mask;
}

EdgeMode currentEdgeMode()
{
    return edgeModeCheck()();
}

void setEdgeModeCheck(std::function<EdgeMode()> check)
{
    edgeModeCheck() = check ? std::move(check) : windowSystemEdgeMode;
}

} // namespace balloon
