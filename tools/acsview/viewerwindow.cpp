#include "viewerwindow.h"

#include "charactermenu.h"
#include "frameexport.h"

#include <QCheckBox>
#include <QContextMenuEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace acsview
{

namespace
{

constexpr int PreviewZoom = 2;

QString seconds(int ms)
{
    return QStringLiteral("%1 s").arg(ms / 1000.0, 0, 'f', 2);
}

QLabel *valueLabel(const QString &text, const QString &accessibleName)
{
    auto *label = new QLabel(text);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setFocusPolicy(Qt::StrongFocus); // read by keyboard and screen reader alike
    label->setAccessibleName(accessibleName);
    return label;
}

QPushButton *button(const QString &text, const QString &accessibleName, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setAccessibleName(accessibleName);
    return b;
}

QString statesText(const acs::Character &data)
{
    QStringList lines;
    for (const acs::State &state : data.states()) {
        QStringList names;
        for (const std::u16string &name : state.animations)
            names << QString::fromStdU16String(name);
        lines << QStringLiteral("%1: %2").arg(QString::fromStdU16String(state.name),
                                              names.join(QStringLiteral(", ")));
    }
    return lines.isEmpty() ? QStringLiteral("(none)") : lines.join(QLatin1Char('\n'));
}

} // namespace

ViewerWindow::ViewerWindow(std::unique_ptr<agent::AcsCharacter> character, ViewerServices services,
                           QWidget *parent)
    : QWidget(parent), character_(std::move(character)), services_(std::move(services)),
      playback_(*character_, services_.random), sound_(*character_, services_.audio, services_.soundOn)
{
    setWindowTitle(QStringLiteral("%1 - Character viewer").arg(character_->name()));
    auto *layout = new QHBoxLayout(this);
    auto *left = new QVBoxLayout;
    left->addWidget(makeInfo());
    animations_ = new QTreeWidget(this);
    animations_->setAccessibleName(QStringLiteral("Animations"));
    animations_->setHeaderLabels(
        {QStringLiteral("Animation"), QStringLiteral("Frames"), QStringLiteral("Duration")});
    animations_->setRootIsDecorated(false);
    animations_->header()->setStretchLastSection(false);
    animations_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    animations_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    animations_->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    animations_->setMinimumWidth(320);
    left->addWidget(animations_, 1);
    layout->addLayout(left, 1);
    auto *right = new QVBoxLayout;
    right->addWidget(makePreview());
    right->addWidget(makeControls());
    right->addWidget(makeExports());
    status_ = valueLabel(QString(), QStringLiteral("Status"));
    right->addWidget(status_);
    right->addStretch();
    layout->addLayout(right);

    connect(&playback_, &ViewerPlayback::frameChanged, this, &ViewerWindow::frameChanged);
    connect(&playback_, &ViewerPlayback::playingChanged, this, &ViewerWindow::playingChanged);
    connect(animations_, &QTreeWidget::currentItemChanged, this, &ViewerWindow::animationChosen);
    fillAnimations();
}

QWidget *ViewerWindow::makeInfo()
{
    const acs::Character &data = character_->data();
    auto *box = new QGroupBox(QStringLiteral("Character"), this);
    auto *form = new QFormLayout(box);
    const QSize size = character_->frameSize();
    form->addRow(QStringLiteral("Name:"), valueLabel(character_->name(), QStringLiteral("Name")));
    form->addRow(QStringLiteral("Description:"),
                 valueLabel(QString::fromStdU16String(data.description()), QStringLiteral("Description")));
    form->addRow(QStringLiteral("Size:"),
                 valueLabel(QStringLiteral("%1 × %2 pixels").arg(size.width()).arg(size.height()),
                            QStringLiteral("Size")));
    form->addRow(QStringLiteral("States:"), valueLabel(statesText(data), QStringLiteral("States")));
    return box;
}

QWidget *ViewerWindow::makePreview()
{
    picture_ = new QLabel(this);
    picture_->setAccessibleName(QStringLiteral("Preview"));
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setMinimumSize(character_->frameSize() * PreviewZoom);
    picture_->setFrameShape(QFrame::StyledPanel);
    return picture_;
}

QWidget *ViewerWindow::makeControls()
{
    auto *box = new QWidget(this);
    auto *grid = new QVBoxLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    position_ = valueLabel(QString(), QStringLiteral("Frame"));
    branches_ = valueLabel(QString(), QStringLiteral("Branches"));
    grid->addWidget(position_);
    grid->addWidget(branches_);
    auto *row = new QHBoxLayout;
    play_ = button(QStringLiteral("&Play"), QStringLiteral("Play or pause"), box);
    QPushButton *step = button(QStringLiteral("S&tep"), QStringLiteral("Step one frame"), box);
    loop_ = new QCheckBox(QStringLiteral("&Loop"), box);
    loop_->setAccessibleName(QStringLiteral("Loop"));
    soundBox_ = new QCheckBox(QStringLiteral("S&ound"), box);
    soundBox_->setAccessibleName(QStringLiteral("Sound"));
    soundBox_->setChecked(sound_.enabled());
    for (QWidget *w : std::initializer_list<QWidget *>{play_, step, loop_, soundBox_})
        row->addWidget(w);
    grid->addLayout(row);
    connect(play_, &QPushButton::clicked, this,
            [this] { playback_.playing() ? playback_.pause() : playback_.play(); });
    connect(step, &QPushButton::clicked, &playback_, &ViewerPlayback::step);
    connect(loop_, &QCheckBox::toggled, &playback_, &ViewerPlayback::setLoop);
    connect(soundBox_, &QCheckBox::toggled, this, [this](bool on) { sound_.setEnabled(on); });
    return box;
}

QWidget *ViewerWindow::makeExports()
{
    auto *box = new QGroupBox(QStringLiteral("Export"), this);
    auto *row = new QHBoxLayout(box);
    QPushButton *one = button(QStringLiteral("&Frame…"), QStringLiteral("Export this frame"), box);
    QPushButton *all = button(QStringLiteral("&All frames…"), QStringLiteral("Export every frame"), box);
    QPushButton *sheet =
        button(QStringLiteral("Sprite s&heet…"), QStringLiteral("Export a sprite sheet"), box);
    for (QPushButton *b : {one, all, sheet})
        row->addWidget(b);
    connect(one, &QPushButton::clicked, this, &ViewerWindow::exportFrame);
    connect(all, &QPushButton::clicked, this, &ViewerWindow::exportAllFrames);
    connect(sheet, &QPushButton::clicked, this, &ViewerWindow::exportSpriteSheet);
    return box;
}

void ViewerWindow::fillAnimations()
{
    for (int a = 0; a < character_->animationCount(); ++a) {
        int total = 0;
        for (int f = 0; f < character_->frameCount(a); ++f)
            total += character_->frameDurationMs(a, f);
        auto *item =
            new QTreeWidgetItem(animations_, {character_->animationName(a),
                                              QString::number(character_->frameCount(a)), seconds(total)});
        item->setData(0, Qt::UserRole, a);
        item->setTextAlignment(1, Qt::AlignRight);
        item->setTextAlignment(2, Qt::AlignRight);
    }
    if (animations_->topLevelItemCount() > 0) animations_->setCurrentItem(animations_->topLevelItem(0));
}

void ViewerWindow::animationChosen()
{
    if (const QTreeWidgetItem *item = animations_->currentItem())
        playback_.select(item->data(0, Qt::UserRole).toInt());
}

void ViewerWindow::frameChanged(int animation, int frame)
{
    shown_ = character_->frameImage(animation, frame);
    const QImage big =
        shown_.scaled(shown_.size() * PreviewZoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    picture_->setPixmap(QPixmap::fromImage(big));
    position_->setText(QStringLiteral("Frame %1 of %2, %3 ms")
                           .arg(frame + 1)
                           .arg(character_->frameCount(animation))
                           .arg(character_->frameDurationMs(animation, frame)));
    branches_->setText(branchText());
    sound_.frameShown(animation, frame);
}

QString ViewerWindow::branchText() const
{
    const int a = playback_.animation(), f = playback_.frame();
    if (a < 0 || f < 0) return {};
    const acs::Frame &frame = character_->data().animationAt(size_t(a)).frames[size_t(f)];
    QStringList branches;
    for (const acs::Branch &b : frame.branches)
        branches << QStringLiteral("frame %1 (%2 %)").arg(b.frame + 1).arg(b.probability);
    const QString exit =
        frame.exitFrame >= 0 ? QStringLiteral("frame %1").arg(frame.exitFrame + 1) : QStringLiteral("none");
    return QStringLiteral("Branches: %1. Exit branch: %2.")
        .arg(branches.isEmpty() ? QStringLiteral("none") : branches.join(QStringLiteral(", ")), exit);
}

QString ViewerWindow::statusText() const
{
    return status_->text();
}

void ViewerWindow::playingChanged(bool playing)
{
    play_->setText(playing ? QStringLiteral("&Pause") : QStringLiteral("&Play"));
}

void ViewerWindow::runExport(
    const std::function<std::optional<QStringList>(const QString &, QString *)> &exporter)
{
    const QString folder = services_.chooseFolder ? services_.chooseFolder(this) : QString();
    if (folder.isEmpty()) return;
    QString error;
    const std::optional<QStringList> written = exporter(folder, &error);
    status_->setText(written ? QStringLiteral("Wrote %1 file(s) to %2.").arg(written->size()).arg(folder)
                             : error);
}

void ViewerWindow::exportFrame()
{
    runExport([this](const QString &folder, QString *error) {
        return acsview::exportFrame(*character_, playback_.animation(), playback_.frame(), folder, error);
    });
}

void ViewerWindow::exportAllFrames()
{
    runExport([this](const QString &folder, QString *error) {
        return exportAnimationFrames(*character_, playback_.animation(), folder, error);
    });
}

void ViewerWindow::exportSpriteSheet()
{
    runExport([this](const QString &folder, QString *error) {
        return acsview::exportSpriteSheet(*character_, playback_.animation(), folder, error);
    });
}

std::unique_ptr<QMenu> ViewerWindow::makeMenu()
{
    return agent::makeCharacterMenu(*character_, sound_.enabled(),
                                    {[this](int animation) {
                                         animations_->setCurrentItem(animations_->topLevelItem(animation));
                                         playback_.play();
                                     },
                                     [this](bool on) { soundBox_->setChecked(on); },
                                     [this] {
                                         playback_.pause();
                                         picture_->clear();
                                     }},
                                    this);
}

void ViewerWindow::contextMenuEvent(QContextMenuEvent *event)
{
    if (!picture_->geometry().contains(event->pos())) return;
    QMenu *menu = makeMenu().release();
    menu->setParent(this, menu->windowFlags());
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

} // namespace acsview
