// Pictures of balloons compared with stored ones: every kind x shape x
// language and a few option combinations. A pixel differs when any channel
// differs by more than pixelTolerance; an image matches when at most
// differingShare of its pixels differ and its size is the same.
#include "checks.h"

#include <QDir>
#include <QFileInfo>

#include <cstdlib>

namespace harness::verify
{

using namespace component;

namespace
{

constexpr int pixelTolerance = 24;
constexpr double differingShare = 0.005;

struct Snapshot {
    QString name;
    Message message;
    QList<std::pair<DispId, Value>> settings; // put before the call
};

QList<Snapshot> snapshots()
{
    QList<Snapshot> list;
    for (Method method : allMethods)
        for (int32_t shape : {0, 1})
            for (int32_t language : {200, 100}) {
                Message m;
                m.method = method;
                m.msgType = shape;
                m.iconType = 1;
                m.buttonsType = 8;
                list.append(
                    {QStringLiteral("%1.%2.%3")
                         .arg(methodName(method),
                              shape == 0 ? QStringLiteral("arrow") : QStringLiteral("think"),
                              language == 200 ? QStringLiteral("English") : QStringLiteral("Russian")),
                     m,
                     {{prop::Language, Value(language)}}});
            }
    // The combinations in English whatever the program stores, so both
    // programs share one set of pictures.
    const std::pair<DispId, Value> english{prop::Language, Value(int32_t(200))};
    Message custom;
    custom.iconType = 6;
    list.append({QStringLiteral("ShowVellix.customicon"),
                 custom,
                 {english, {prop::CustomIcon, Value(verifyPicture())}}});
    Message aligned;
    aligned.text = QStringLiteral("Text aligned as HAlignmentText 2,\nwithout a separator line.");
    list.append({QStringLiteral("ShowVellix.aligned"),
                 aligned,
                 {english,
                  {prop::LineSeparator, Value(Bool::of(false))},
                  {prop::HAlignmentText, Value(int32_t(2))},
                  {prop::VAlignmentCaption, Value(int32_t(0))}}});
    Message coloured;
    coloured.iconType = 3;
    coloured.buttonsType = 13;
    list.append({QStringLiteral("ShowVellix.colours"),
                 coloured,
                 {english,
                  {prop::BalloonColor, Value(int32_t(0x00D0F0D0))},
                  {prop::FrameColor, Value(int32_t(0x00800000))},
                  {prop::LineColor, Value(int32_t(0x000000C0))},
                  {prop::TextColor, Value(int32_t(0x00404040))},
                  {prop::CaptionColor, Value(int32_t(0x00008000))},
                  {prop::ButtonColor, Value(int32_t(0x00C0E0FF))},
                  {prop::ButtonCaptionColor, Value(int32_t(0x00600060))}}});
    Message many;
    many.method = Method::MsgLabels;
    many.buttonsType = 12;
    many.labels = {QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three"),
                   QStringLiteral("Four"), QStringLiteral("Five")};
    list.append({QStringLiteral("MsgLabels.fourbuttons"), many, {english}});
    return list;
}

// Marks differing pixels red over a faded copy of the stored image.
QImage diffImage(const QImage &stored, const QImage &now, qsizetype *differing)
{
    const QSize size = stored.size().expandedTo(now.size());
    QImage diff(size, QImage::Format_ARGB32);
    diff.fill(Qt::white);
    *differing = 0;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const bool inBoth = stored.valid(x, y) && now.valid(x, y);
            const QRgb a = stored.valid(x, y) ? stored.pixel(x, y) : 0;
            const QRgb b = now.valid(x, y) ? now.pixel(x, y) : 0;
            const bool same = inBoth && std::abs(qRed(a) - qRed(b)) <= pixelTolerance &&
                              std::abs(qGreen(a) - qGreen(b)) <= pixelTolerance &&
                              std::abs(qBlue(a) - qBlue(b)) <= pixelTolerance &&
                              std::abs(qAlpha(a) - qAlpha(b)) <= pixelTolerance;
            if (same) {
                const int grey = 255 - qGray(a) * qAlpha(a) / 255 / 4;
                diff.setPixel(x, y, qRgb(grey, grey, grey));
            } else {
                ++*differing;
                diff.setPixel(x, y, qRgb(255, 0, 0));
            }
        }
    return diff;
}

Outcome snapshotCheck(CheckedInstance &session, const Snapshot &snapshot)
{
    Verdict v;
    for (const auto &[id, value] : snapshot.settings) {
        const bool byRef = typeOf(value) == ValueType::Picture;
        const Result put = byRef ? session.putRef(id, value) : session.put(id, value);
        if (!v.expect(put.ok(), QStringLiteral("the settings accepted"), describe(put))) return v.outcome();
    }
    const Shown shown = session.showModal(snapshot.message, &BalloonDriver::pressFirstButton, true);
    if (!v.expect(shown.appeared && !shown.sighting.image.isNull(), QStringLiteral("a balloon to picture"),
                  QStringLiteral("none (%1)").arg(describe(shown.result))))
        return v.outcome();
    const QImage now = shown.sighting.image.convertToFormat(QImage::Format_ARGB32);
    const SnapshotOptions &options = session.context().snapshots();
    const QDir folder(options.folder);
    const QString stored = folder.filePath(snapshot.name + QStringLiteral(".png"));
    if (options.update) {
        v.expect(folder.mkpath(QStringLiteral(".")) && now.save(stored, "PNG"),
                 QStringLiteral("%1 written").arg(stored), QStringLiteral("an error writing it"));
        return v.outcome();
    }
    const QImage reference = QImage(stored).convertToFormat(QImage::Format_ARGB32);
    if (!v.expect(!reference.isNull(),
                  QStringLiteral("a stored image %1 (make it with --update-snapshots)").arg(stored),
                  QStringLiteral("none")))
        return v.outcome();
    qsizetype differing = 0;
    const QImage diff = diffImage(reference, now, &differing);
    const qsizetype allowed = qsizetype(double(reference.width()) * reference.height() * differingShare);
    if (reference.size() == now.size() && differing <= allowed) return v.outcome();
    now.save(folder.filePath(snapshot.name + QStringLiteral(".new.png")), "PNG");
    diff.save(folder.filePath(snapshot.name + QStringLiteral(".diff.png")), "PNG");
    v.expect(false,
             QStringLiteral("%1x%2 like %3, at most %4 pixels off")
                 .arg(reference.width())
                 .arg(reference.height())
                 .arg(stored)
                 .arg(allowed),
             QStringLiteral("%1x%2 with %3 pixels off (see %4.new.png, %4.diff.png)")
                 .arg(now.width())
                 .arg(now.height())
                 .arg(differing)
                 .arg(snapshot.name));
    return v.outcome();
}

} // namespace

void addSnapshotChecks(QList<Check> &checks)
{
    for (const Snapshot &snapshot : snapshots())
        checks.append({QStringLiteral("snapshot.") + snapshot.name,
                       [snapshot](CheckedInstance &s) { return snapshotCheck(s, snapshot); }});
}

} // namespace harness::verify
