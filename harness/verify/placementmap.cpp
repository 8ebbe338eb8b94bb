#include "placementmap.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>

#include <unistd.h>

namespace harness::verify::placement
{

namespace
{

constexpr int pictureWidth = 1200;
constexpr int margin = 20;

QJsonArray toJson(const QRect &r)
{
    return {r.x(), r.y(), r.width(), r.height()};
}

QRect rectFrom(const QJsonValue &v)
{
    const QJsonArray a = v.toArray();
    return a.size() == 4 ? QRect(a[0].toInt(), a[1].toInt(), a[2].toInt(), a[3].toInt()) : QRect();
}

QList<Record> readRecords(const QString &folder, const QString &layout)
{
    QList<Record> records;
    const QStringList files =
        QDir(folder).entryList({layout + QStringLiteral(".*.jsonl")}, QDir::Files, QDir::Name);
    for (const QString &name : files) {
        QFile file(QDir(folder).filePath(name));
        if (!file.open(QIODevice::ReadOnly)) continue;
        while (!file.atEnd()) {
            const QJsonObject o = QJsonDocument::fromJson(file.readLine()).object();
            if (o.isEmpty()) continue;
            const QJsonArray tip = o.value(QLatin1String("tip")).toArray();
            records.append(
                {layout, o.value(QLatin1String("check")).toString(),
                 rectFrom(o.value(QLatin1String("character"))), rectFrom(o.value(QLatin1String("balloon"))),
                 QPoint(tip.at(0).toInt(), tip.at(1).toInt()), o.value(QLatin1String("passed")).toBool()});
        }
        file.close();
        file.remove();
    }
    return records;
}

QImage draw(const ScreenLayout &layout, const QList<Record> &records)
{
    QRect desktop;
    for (const LayoutScreen &s : layout.screens)
        desktop |= s.geometry;
    const double scale = double(pictureWidth - 2 * margin) / desktop.width();
    const int height = int(desktop.height() * scale) + 2 * margin;
    QImage image(pictureWidth, height, QImage::Format_RGB32);
    image.fill(QColor(0xf4, 0xf4, 0xf4));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(margin, margin);
    p.scale(scale, scale);
    p.translate(-desktop.topLeft());
    const double hairline = 1 / scale;
    for (const LayoutScreen &s : layout.screens) {
        p.setPen(QPen(QColor(0x40, 0x40, 0x40), 2 * hairline));
        p.setBrush(QColor(0xdd, 0xe6, 0xee));
        p.drawRect(s.geometry);
    }
    for (const Record &r : records) {
        p.setPen(QPen(QColor(0x80, 0x80, 0x80), hairline));
        p.setBrush(QColor(0x60, 0x60, 0x60, 40));
        p.drawRect(r.character);
    }
    // Passes first, so that failures stay on top.
    for (bool failures : {false, true})
        for (const Record &r : records) {
            if (r.passed == failures) continue;
            const QColor colour = r.passed ? QColor(0x20, 0x80, 0x40, 140) : QColor(0xd0, 0x10, 0x10);
            p.setPen(QPen(colour, (r.passed ? 1 : 2) * hairline));
            p.setBrush(Qt::NoBrush);
            p.drawRect(r.balloon);
            p.setBrush(colour);
            p.drawEllipse(QPointF(r.tip), 3 * hairline, 3 * hairline);
        }
    p.end();
    return image;
}

} // namespace

bool appendRecord(const QString &folder, const Record &r)
{
    QFile file(QStringLiteral("%1/%2.%3.jsonl").arg(folder, r.layout).arg(qint64(getpid())));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) return false;
    const QJsonObject o{{QStringLiteral("check"), r.check},
                        {QStringLiteral("character"), toJson(r.character)},
                        {QStringLiteral("balloon"), toJson(r.balloon)},
                        {QStringLiteral("tip"), QJsonArray{r.tip.x(), r.tip.y()}},
                        {QStringLiteral("passed"), r.passed}};
    return file.write(QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n') > 0;
}

bool drawMaps(const QString &folder, const QList<ScreenLayout> &layouts, QString *error)
{
    for (const ScreenLayout &layout : layouts) {
        const QList<Record> records = readRecords(folder, layout.name);
        if (records.isEmpty()) continue;
        const QString file = QDir(folder).filePath(layout.name + QStringLiteral(".png"));
        if (!draw(layout, records).save(file, "PNG")) {
            *error = QStringLiteral("cannot write %1").arg(file);
            return false;
        }
    }
    return true;
}

} // namespace harness::verify::placement
