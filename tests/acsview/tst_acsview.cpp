// The character viewer: what it lists, stepping through branches and loops,
// its menu, keyboard and accessible names, and exports compared pixel for
// pixel with the decoder's own frames.
#include "fixturecharacter.h"
#include "frameexport.h"
#include "viewerwindow.h"

#include <QAbstractButton>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

namespace
{

enum Animation { Showing, RestPose, Wave, Goes, GoesReturn, Branchy };

struct Recording final : sound::AudioOutput {
    explicit Recording(QList<int> &rates) : rates(rates) {}
    void play(const sound::PcmSound &sound) override { rates << sound.sampleRate; }
    void stop() override {}
    QList<int> &rates;
};

std::unique_ptr<agent::AcsCharacter> fixtureCharacter()
{
    auto loaded = acs::Character::load(fixture::soundCharacterFile());
    return loaded ? std::make_unique<agent::AcsCharacter>(std::move(loaded.value())) : nullptr;
}

// The decoder's own picture of a frame.
QImage decoderFrame(const acs::Character &character, int animation, int frame)
{
    const auto composed =
        character.composeFrame(character.animationAt(size_t(animation)).frames[size_t(frame)]);
    if (!composed) return {};
    QImage image(composed->width, composed->height, QImage::Format_ARGB32);
    for (int y = 0; y < composed->height; ++y)
        for (int x = 0; x < composed->width; ++x)
            image.setPixel(x, y, composed->pixels[size_t(y * composed->width + x)]);
    return image;
}

bool samePixels(const QImage &a, const QImage &b)
{
    return a.size() == b.size() &&
           a.convertToFormat(QImage::Format_ARGB32) == b.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class TestAcsView : public QObject
{
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void listsEveryAnimation();
    void stepFollowsBranches_data();
    void stepFollowsBranches();
    void endStopsOrLoops();
    void soundComesWithItsFrame();
    void menuPlaysAnimations();
    void everyControlIsNamedAndReachable();
    void exportsMatchTheDecoder();
    void exportErrorsAreShown();

  private:
    std::unique_ptr<acsview::ViewerWindow> window_;
    QList<int> sounds_;
    QList<int> randoms_;
    QString folder_;
};

void TestAcsView::init()
{
    sounds_.clear();
    randoms_.clear();
    acsview::ViewerServices services;
    services.audio = [this] { return std::make_unique<Recording>(sounds_); };
    services.chooseFolder = [this](QWidget *) { return folder_; };
    services.random = [this](int) { return randoms_.isEmpty() ? 99 : randoms_.takeFirst(); };
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("skipping sound 1")));
    window_ = std::make_unique<acsview::ViewerWindow>(fixtureCharacter(), std::move(services));
    window_->sound().frameShown(RestPose, 0); // reports the damaged sound now, once
}

void TestAcsView::cleanup()
{
    window_.reset();
}

void TestAcsView::listsEveryAnimation()
{
    QTreeWidget &list = window_->animationList();
    QCOMPARE(list.topLevelItemCount(), 6);
    const QStringList expected[] = {
        {QStringLiteral("Showing"), QStringLiteral("2"), QStringLiteral("0.20 s")},
        {QStringLiteral("RestPose"), QStringLiteral("1"), QStringLiteral("0.10 s")},
        {QStringLiteral("Wave"), QStringLiteral("4"), QStringLiteral("0.30 s")},
        {QStringLiteral("Goes"), QStringLiteral("1"), QStringLiteral("0.10 s")},
        {QStringLiteral("GoesReturn"), QStringLiteral("1"), QStringLiteral("0.10 s")},
        {QStringLiteral("Branchy"), QStringLiteral("4"), QStringLiteral("0.40 s")}};
    for (int i = 0; i < 6; ++i) {
        const QTreeWidgetItem *item = list.topLevelItem(i);
        QCOMPARE(QStringList({item->text(0), item->text(1), item->text(2)}), expected[i]);
    }
    QCOMPARE(window_->playback().animation(), int(Showing));
    QCOMPARE(window_->playback().frame(), 0);
}

void TestAcsView::stepFollowsBranches_data()
{
    QTest::addColumn<int>("animation");
    QTest::addColumn<int>("random");
    QTest::addColumn<int>("next");
    QTest::addColumn<QString>("branches");
    const QString branchy = QStringLiteral("Branches: frame 3 (30 %), frame 4 (30 %). Exit branch: none.");
    QTest::newRow("first branch") << int(Branchy) << 10 << 2 << branchy;
    QTest::newRow("second branch") << int(Branchy) << 40 << 3 << branchy;
    QTest::newRow("no branch taken") << int(Branchy) << 80 << 1 << branchy;
    QTest::newRow("no branches") << int(Wave) << 0 << 1 << "Branches: none. Exit branch: none.";
}

void TestAcsView::stepFollowsBranches()
{
    QFETCH(int, animation);
    QFETCH(int, random);
    QFETCH(int, next);
    QFETCH(QString, branches);
    window_->animationList().setCurrentItem(window_->animationList().topLevelItem(animation));
    QCOMPARE(window_->branchText(), branches);
    randoms_ = {random};
    window_->playback().step();
    QCOMPARE(window_->playback().frame(), next);
}

void TestAcsView::endStopsOrLoops()
{
    window_->animationList().setCurrentItem(window_->animationList().topLevelItem(Wave));
    window_->playback().step();
    QCOMPARE(window_->branchText(), QStringLiteral("Branches: none. Exit branch: frame 4."));
    // Wave's frame 2 always goes back to 0; Showing simply ends.
    window_->animationList().setCurrentItem(window_->animationList().topLevelItem(Showing));
    window_->playback().play();
    window_->playback().step();
    window_->playback().step();
    QCOMPARE(window_->playback().frame(), 1);
    QVERIFY(!window_->playback().playing());
    window_->playback().setLoop(true);
    window_->playback().step();
    QCOMPARE(window_->playback().frame(), 0);
}

void TestAcsView::soundComesWithItsFrame()
{
    QVERIFY(sounds_.isEmpty());
    window_->playback().step(); // Showing's frame 1 carries the sound
    QCOMPARE(sounds_, QList<int>{int(fixture::SoundRate)});
    window_->sound().setEnabled(false);
    window_->playback().select(Showing);
    window_->playback().step();
    QCOMPARE(sounds_.size(), 1);
}

void TestAcsView::menuPlaysAnimations()
{
    const std::unique_ptr<QMenu> menu = window_->makeMenu();
    QMenu *play = menu->actions().at(0)->menu();
    QVERIFY(play);
    play->actions().at(5)->trigger(); // sorted: Branchy Goes GoesReturn RestPose Showing Wave
    QCOMPARE(window_->playback().animation(), int(Wave));
    QVERIFY(window_->playback().playing());
    menu->actions().at(2)->trigger(); // Hide
    QVERIFY(!window_->playback().playing());
}

void TestAcsView::everyControlIsNamedAndReachable()
{
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    const QList<QWidget *> widgets = window_->findChildren<QWidget *>();
    int focusable = 0;
    for (const QWidget *w : widgets) {
        if (w->focusPolicy() == Qt::NoFocus || !w->isVisibleTo(window_.get())) continue;
        if (w->parentWidget() && w->parentWidget()->inherits("QAbstractScrollArea") &&
            w->objectName().startsWith(QLatin1String("qt_")))
            continue; // the list's own viewport and scroll bars
        ++focusable;
        QVERIFY2(!w->accessibleName().isEmpty(), w->metaObject()->className());
    }
    QVERIFY(focusable >= 10);
    // Space on the focused play button starts playback.
    QAbstractButton *play = nullptr;
    for (QAbstractButton *b : window_->findChildren<QAbstractButton *>())
        if (b->accessibleName() == QLatin1String("Play or pause")) play = b;
    QVERIFY(play);
    play->setFocus();
    QTest::keyClick(play, Qt::Key_Space);
    QVERIFY(window_->playback().playing());
}

void TestAcsView::exportsMatchTheDecoder()
{
    QTemporaryDir dir;
    folder_ = dir.path();
    window_->animationList().setCurrentItem(window_->animationList().topLevelItem(Showing));
    window_->exportAllFrames();
    window_->exportSpriteSheet();
    window_->playback().step();
    window_->exportFrame(); // frame 1 again, written over
    QCOMPARE(window_->statusText(), QStringLiteral("Wrote 1 file(s) to %1.").arg(folder_));

    const acs::Character &data = window_->character().data();
    QImage sheet(dir.filePath(QStringLiteral("Showing.png")));
    QFile indexFile(dir.filePath(QStringLiteral("Showing.json")));
    QVERIFY(indexFile.open(QIODevice::ReadOnly));
    const QJsonObject index = QJsonDocument::fromJson(indexFile.readAll()).object();
    QCOMPARE(index[QLatin1String("animation")].toString(), QStringLiteral("Showing"));
    const QJsonArray frames = index[QLatin1String("frames")].toArray();
    QCOMPARE(frames.size(), 2);
    for (int f = 0; f < 2; ++f) {
        const QImage expected = decoderFrame(data, Showing, f);
        QVERIFY(
            samePixels(QImage(dir.filePath(acsview::frameFileName(QStringLiteral("Showing"), f))), expected));
        const QJsonObject entry = frames[f].toObject();
        const QRect rect(entry[QLatin1String("x")].toInt(), entry[QLatin1String("y")].toInt(),
                         entry[QLatin1String("width")].toInt(), entry[QLatin1String("height")].toInt());
        QCOMPARE(rect, QRect(f * fixture::FrameSide, 0, fixture::FrameSide, fixture::FrameSide));
        QCOMPARE(entry[QLatin1String("durationMs")].toInt(), 100);
        QVERIFY(samePixels(sheet.copy(rect), expected));
    }
}

void TestAcsView::exportErrorsAreShown()
{
    folder_.clear(); // the chooser was cancelled
    window_->exportFrame();
    QCOMPARE(window_->statusText(), QString());
    folder_ = QStringLiteral("/nonexistent/folder");
    window_->exportSpriteSheet();
    QCOMPARE(window_->statusText(), QStringLiteral("Cannot write /nonexistent/folder/Showing.png."));
    window_->exportAllFrames();
    QCOMPARE(window_->statusText(), QStringLiteral("Cannot write /nonexistent/folder/Showing_000.png."));
}

QTEST_MAIN(TestAcsView)
#include "tst_acsview.moc"
