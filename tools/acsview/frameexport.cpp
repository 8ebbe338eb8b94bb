#include "frameexport.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>

#include <algorithm>

namespace acsview
{

namespace
{

QString safeName(const QString &name)
{
    static const QRegularExpression unsafe(QStringLiteral("[^A-Za-z0-9_()\\- ]"));
    QString safe = name;
    safe.replace(unsafe, QStringLiteral("_"));
    return safe.isEmpty() ? QStringLiteral("animation") : safe;
}

bool savePng(const QImage &image, const QString &path, QString *error)
{
    if (image.save(path, "PNG")) return true;
    *error = QStringLiteral("Cannot write %1.").arg(QDir::toNativeSeparators(path));
    return false;
}

bool saveJson(const QJsonDocument &json, const QString &path, QString *error)
{
    QFile file(path);
    const QByteArray text = json.toJson();
    if (file.open(QIODevice::WriteOnly) && file.write(text) == text.size()) return true;
    *error = QStringLiteral("Cannot write %1.").arg(QDir::toNativeSeparators(path));
    return false;
}

bool validAnimation(const agent::CharacterModel &model, int animation, QString *error)
{
    if (animation >= 0 && animation < model.animationCount() && model.frameCount(animation) > 0) return true;
    *error = QStringLiteral("The animation has no frames to export.");
    return false;
}

} // namespace

QString frameFileName(const QString &animation, int frame)
{
    return QStringLiteral("%1_%2.png").arg(safeName(animation)).arg(frame, 3, 10, QLatin1Char('0'));
}

SpriteSheet makeSpriteSheet(const agent::CharacterModel &model, int animation, int columns)
{
    const int count = model.frameCount(animation);
    const QSize cell = model.frameSize();
    const int across = std::clamp(count, 1, std::max(1, columns));
    const int down = std::max(1, (count + across - 1) / across);
    SpriteSheet sheet;
    sheet.image = QImage(cell.width() * across, cell.height() * down, QImage::Format_ARGB32_Premultiplied);
    sheet.image.fill(Qt::transparent);
    QJsonArray frames;
    for (int i = 0; i < count; ++i) {
        const QPoint at((i % across) * cell.width(), (i / across) * cell.height());
        const QImage picture = model.frameImage(animation, i);
        for (int y = 0; y < picture.height() && !picture.isNull(); ++y)
            std::copy_n(reinterpret_cast<const QRgb *>(picture.constScanLine(y)), picture.width(),
                        reinterpret_cast<QRgb *>(sheet.image.scanLine(at.y() + y)) + at.x());
        QJsonObject entry{{QStringLiteral("frame"), i},
                          {QStringLiteral("x"), at.x()},
                          {QStringLiteral("y"), at.y()},
                          {QStringLiteral("width"), cell.width()},
                          {QStringLiteral("height"), cell.height()},
                          {QStringLiteral("durationMs"), model.frameDurationMs(animation, i)}};
        if (picture.isNull()) entry.insert(QStringLiteral("missing"), true);
        frames.append(entry);
    }
    sheet.index = QJsonDocument(QJsonObject{{QStringLiteral("character"), model.name()},
                                            {QStringLiteral("animation"), model.animationName(animation)},
                                            {QStringLiteral("frameWidth"), cell.width()},
                                            {QStringLiteral("frameHeight"), cell.height()},
                                            {QStringLiteral("frames"), frames}});
    return sheet;
}

std::optional<QStringList> exportFrame(const agent::CharacterModel &model, int animation, int frame,
                                       const QString &folder, QString *error)
{
    if (!validAnimation(model, animation, error)) return std::nullopt;
    const QImage picture = model.frameImage(animation, frame);
    if (picture.isNull()) {
        *error = QStringLiteral("Frame %1 cannot be drawn.").arg(frame);
        return std::nullopt;
    }
    const QString path = QDir(folder).filePath(frameFileName(model.animationName(animation), frame));
    if (!savePng(picture, path, error)) return std::nullopt;
    return QStringList{path};
}

std::optional<QStringList> exportAnimationFrames(const agent::CharacterModel &model, int animation,
                                                 const QString &folder, QString *error)
{
    if (!validAnimation(model, animation, error)) return std::nullopt;
    QStringList written;
    for (int i = 0; i < model.frameCount(animation); ++i) {
        const std::optional<QStringList> one = exportFrame(model, animation, i, folder, error);
        if (!one) return std::nullopt;
        written << *one;
    }
    return written;
}

std::optional<QStringList> exportSpriteSheet(const agent::CharacterModel &model, int animation,
                                             const QString &folder, QString *error)
{
    if (!validAnimation(model, animation, error)) return std::nullopt;
    const SpriteSheet sheet = makeSpriteSheet(model, animation);
    const QString base = QDir(folder).filePath(safeName(model.animationName(animation)));
    const QString png = base + QStringLiteral(".png"), json = base + QStringLiteral(".json");
    if (!savePng(sheet.image, png, error) || !saveJson(sheet.index, json, error)) return std::nullopt;
    return QStringList{png, json};
}

} // namespace acsview
