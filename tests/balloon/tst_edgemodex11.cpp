// The compositor check against a real X server (onxvfb.sh starts one). Xvfb
// runs no compositing manager; this test stands in for one by owning the
// selection a manager announces itself with.
#include "balloonsettings.h"
#include "balloonwidget.h"
#include "edgemode.h"

#include <QApplication>
#include <QTest>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

using namespace balloon;

namespace
{

xcb_connection_t *qtConnection()
{
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// Owns _NET_WM_CM_S0 with a window of its own while it lives, as a
// compositing manager on screen 0 does.
class StandInCompositor
{
  public:
    explicit StandInCompositor(xcb_connection_t *c) : c_(c), window_(xcb_generate_id(c))
    {
        xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
        xcb_create_window(c, XCB_COPY_FROM_PARENT, window_, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        const char name[] = "_NET_WM_CM_S0";
        xcb_intern_atom_reply_t *reply =
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, sizeof name - 1, name), nullptr);
        if (reply) atom_ = reply->atom;
        std::free(reply);
        xcb_set_selection_owner(c, window_, atom_, XCB_CURRENT_TIME);
        xcb_flush(c);
    }
    ~StandInCompositor()
    {
        xcb_destroy_window(c_, window_); // gives the selection up
        xcb_flush(c_);
    }
    StandInCompositor(const StandInCompositor &) = delete;
    StandInCompositor &operator=(const StandInCompositor &) = delete;

  private:
    xcb_connection_t *c_;
    xcb_window_t window_;
    xcb_atom_t atom_ = XCB_ATOM_NONE;
};

bool placedBalloonIsMasked()
{
    BalloonRequest request;
    request.heading = QStringLiteral("Heading");
    request.buttonsType = 7;
    BalloonWidget w(request, BalloonSettings().style());
    w.placeBeside(QRect(400, 600, 96, 96), {QRect(0, 0, 1024, 768)});
    return !w.mask().isEmpty();
}

} // namespace

class TestEdgeModeX11 : public QObject
{
    Q_OBJECT
  private slots:
    void initTestCase();
    void followsTheCompositorSelection();
};

void TestEdgeModeX11::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    QVERIFY(qtConnection());
}

void TestEdgeModeX11::followsTheCompositorSelection()
{
    QCOMPARE(currentEdgeMode(), EdgeMode::Mask);
    QVERIFY(placedBalloonIsMasked());
    {
        const StandInCompositor compositor(qtConnection());
        QCOMPARE(currentEdgeMode(), EdgeMode::Smooth);
        QVERIFY(!placedBalloonIsMasked());
    }
    QCOMPARE(currentEdgeMode(), EdgeMode::Mask);
    QVERIFY(placedBalloonIsMasked());
}

QTEST_MAIN(TestEdgeModeX11)
#include "tst_edgemodex11.moc"
