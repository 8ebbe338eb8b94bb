// The character viewer: what a character file holds (name, description,
// frame size, states, every animation with its frame count and length), a
// preview that plays, pauses, steps and loops the chosen animation with its
// sounds, the branches of the frame on show, and export of frames and sprite
// sheets. Every control has an accessible name and is reached by keyboard.
#pragma once

#include "acscharacter.h"
#include "sound/charactersound.h"
#include "viewerplayback.h"

#include <QMenu>
#include <QWidget>

#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace acsview
{

struct ViewerServices {
    bool soundOn = true;
    sound::AudioOutputFactory audio;
    // Asks where to export to; an empty answer cancels.
    std::function<QString(QWidget *parent)> chooseFolder;
    agent::RandomSource random;
};

class ViewerWindow : public QWidget
{
    Q_OBJECT
  public:
    ViewerWindow(std::unique_ptr<agent::AcsCharacter> character, ViewerServices services,
                 QWidget *parent = nullptr);

    ViewerPlayback &playback() { return playback_; }
    agent::CharacterSound &sound() { return sound_; }
    const agent::AcsCharacter &character() const { return *character_; }
    QTreeWidget &animationList() { return *animations_; }
    QString branchText() const;
    QString statusText() const;
    const QImage &shownFrame() const { return shown_; }
    std::unique_ptr<QMenu> makeMenu();

    void exportFrame();
    void exportAllFrames();
    void exportSpriteSheet();

  protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

  private:
    QWidget *makeInfo();
    QWidget *makePreview();
    QWidget *makeControls();
    QWidget *makeExports();
    void fillAnimations();
    void frameChanged(int animation, int frame);
    void animationChosen();
    void playingChanged(bool playing);
    void runExport(const std::function<std::optional<QStringList>(const QString &, QString *)> &exporter);

    std::unique_ptr<agent::AcsCharacter> character_;
    ViewerServices services_;
    ViewerPlayback playback_;
    agent::CharacterSound sound_;
    QImage shown_;
    QTreeWidget *animations_ = nullptr;
    QLabel *picture_ = nullptr;
    QLabel *position_ = nullptr;
    QLabel *branches_ = nullptr;
    QLabel *status_ = nullptr;
    QPushButton *play_ = nullptr;
    QCheckBox *loop_ = nullptr;
    QCheckBox *soundBox_ = nullptr;
};

} // namespace acsview
