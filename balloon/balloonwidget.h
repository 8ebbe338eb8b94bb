// One balloon message on the screen: its shape, its content and the way the
// user closes it. The window is top-level, found by its object name
// "vellixBalloon"; its parts are named too (see the constants below), so
// tests, screen readers and GUI test tools can find and press them.
#pragma once

#include "balloonstyle.h"

#include <QPainterPath>
#include <QWidget>

#include <optional>

class QLabel;
class QLineEdit;
class QListView;
class QPlainTextEdit;
class QPushButton;
class QVBoxLayout;

namespace balloon
{

class IconWidget;
class TextFeeder;

class BalloonWidget : public QWidget
{
    Q_OBJECT
  public:
    static constexpr const char *windowName = "vellixBalloon";
    static constexpr const char *headingName = "balloonHeading";
    static constexpr const char *textName = "balloonText";
    static constexpr const char *inputName = "balloonInput";
    static constexpr const char *labelsName = "balloonLabels";
    static constexpr const char *buttonNamePrefix = "balloonButton"; // + "Ok", "YesForAll"...

    BalloonWidget(const BalloonRequest &request, const BalloonStyle &style, QWidget *parent = nullptr);

    // Sizes the balloon for its content and puts it beside the character
    // (global rectangle, or none) on the given available screen areas.
    void placeBeside(const std::optional<QRect> &character, const QList<QRect> &screens);

    bool isFinished() const { return finished_; }
    const BalloonAnswer &answer() const { return answer_; }
    const Placement &placement() const { return placement_; }
    const QPainterPath &outline() const { return outline_; }

  public slots:
    // Closes the balloon with a button number (0 for none); only the first
    // call counts.
    void finish(int button);
    // Closes it as Esc does: with the set's cancel-like button or 0, and
    // without a chosen label.
    void dismiss();

  signals:
    void finished();

  protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void buildHeader();
    void buildText();
    void buildInput();
    void buildLabels();
    void buildButtons();
    void setTabOrder();
    QSize fitContent(QSize room);
    int contentWidth(int readable, int widest, int maxHeight) const;
    int layOutHeights(int width, int available);
    void applyPlacement(const Placement &placement);
    void pressDefault();
    QWidget *firstFocus() const;

    BalloonRequest request_;
    BalloonStyle style_;
    QVBoxLayout *layout_ = nullptr;
    IconWidget *icon_ = nullptr;
    QLabel *heading_ = nullptr;
    QWidget *separator_ = nullptr;
    QPlainTextEdit *text_ = nullptr;
    TextFeeder *feeder_ = nullptr; // fills text_ as it is scrolled
    QLineEdit *input_ = nullptr;
    QListView *labels_ = nullptr;
    QList<QPushButton *> buttons_;
    QList<int> buttonNumbers_;
    Placement placement_;
    QPainterPath outline_;
    // The pixels the outline covers: the mask where one is used, and where clicks count.
    QRegion outlineRegion_;
    BalloonAnswer answer_;
    bool finished_ = false;
    bool dismissed_ = false;
};

} // namespace balloon
