// Finds a balloon on the screen and answers it the way a screen reader does:
// through the accessibility interface of this process (QAccessible), never by
// object names or private types, so it works with any component.
//
// A balloon is the newest window shown since the driver was made that may be
// one (windowshowings.h): not the harness's own, not a tooltip or a popup.
// Everything here runs on the GUI thread.
#pragma once

#include "windowshowings.h"

#include <QAccessible>
#include <QElapsedTimer>
#include <QImage>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QRegion>
#include <QStringList>
#include <QTimer>

#include <functional>

class QWidget;

namespace balloondriver
{

// One accessible object of a balloon, as an assistive tool reads it.
struct AccessibleNode {
    QAccessible::Role role = QAccessible::NoRole;
    QString name;
    QString value;
    bool readOnly = false;
};

// What the balloon showed, read when it appeared.
struct Sighting {
    QAccessible::Role windowRole = QAccessible::NoRole;
    QString windowName;
    QList<AccessibleNode> nodes; // every descendant, depth first
    QRect geometry;              // on the desktop
    QRegion region;              // the part it covers: its mask, else its rectangle
    QImage image;                // only when asked for

    QStringList namesWithRole(QAccessible::Role role) const;
    bool hasInputField() const; // editable text that is not read-only
    bool hasName(const QString &name) const;
};

// Top-level windows on the screen now, the harness's own too.
QList<QWidget *> visibleWindows();

// Accessible objects below `root`, depth first.
QList<QAccessibleInterface *> accessibleDescendants(QAccessibleInterface *root);

class BalloonDriver
{
  public:
    BalloonDriver(); // windows already up are not balloons
    // Nor are those up now.
    void forgetWindows() { firstNew_ = showings_.next(); }

    // Windows shown since the driver was made (or forgot) that are still up
    // and may be balloons, oldest first.
    QList<QWidget *> newWindows() const { return showings_.balloonWindowsSince(firstNew_); }
    // The newest of them.
    QWidget *balloon() const;
    Sighting read(QWidget *balloon, bool withImage) const;

    // Each returns an empty string on success, else what was missing.
    static QString pressButton(QWidget *balloon, const QString &name);
    static QString pressFirstButton(QWidget *balloon);
    static QString typeText(QWidget *balloon, const QString &text);
    static QString selectLabel(QWidget *balloon, int row);
    // Esc, sent where the keyboard focus is.
    static QString dismiss(QWidget *balloon);

    // A recorded answer is replayed as it was given: the first button whose
    // caption is one of `captions` (the same button in each language), the
    // whole text in place of what the field held, and the label's item
    // toggled on unless it is already selected. Errors speak of the balloon
    // as "it".
    static QString pressButtonCaptioned(QWidget *balloon, const QStringList &captions);
    static QString replaceText(QWidget *balloon, const QString &text);
    static QString toggleLabelOn(QWidget *balloon, int row);

  private:
    WindowShowings showings_;
    int firstNew_;
};

// Answers a modal balloon from inside the component's own event loop: polls
// for the balloon, reads it, performs the answer, and closes it by force when
// it is still up a while after the answer.
class ModalAnswerer : public QObject
{
  public:
    using Answer = std::function<QString(QWidget *balloon)>; // returns an error or ""

    ModalAnswerer(BalloonDriver &driver, Answer answer, bool withImage = false);
    // Told once when the balloon appears, once when it has been answered and
    // should close, and once when it is gone after that.
    void watch(std::function<void()> shown, std::function<void()> answered, std::function<void()> closed);

    bool appeared() const { return appeared_; }
    const Sighting &sighting() const { return sighting_; }
    QString answerError() const { return answerError_; } // the answer could not be given
    bool forcedClose() const { return forcedClose_; }    // still up long after the answer

  private:
    void poll();
    void noticeClosed();

    BalloonDriver &driver_;
    Answer answer_;
    bool withImage_;
    QTimer timer_;
    QPointer<QWidget> balloon_;
    Sighting sighting_;
    QString answerError_;
    bool appeared_ = false;
    bool forcedClose_ = false;
    QElapsedTimer sinceAnswer_;
    std::function<void()> shown_;
    std::function<void()> answered_;
    std::function<void()> closed_;
    bool closedNoticed_ = false;
};

} // namespace balloondriver
