#include "batchcommands.h"

#include "frameexport.h"

#include <QDir>

#include <functional>

namespace acsview
{

namespace
{

// Thumbnails are asked for at 128, 256 or 512 pixels; anything beyond this is
// a mistake, not a picture anyone wants.
constexpr int LargestThumbnail = 4096;

bool makeFolder(const QString &folder, QTextStream &err)
{
    if (QDir().mkpath(folder)) return true;
    err << QStringLiteral("Cannot make the folder %1.").arg(QDir::toNativeSeparators(folder)) << '\n';
    return false;
}

std::optional<int> animationNamed(const agent::CharacterModel &model, const QString &name, QTextStream &err)
{
    const std::optional<int> found = model.findAnimation(name);
    if (!found) err << QStringLiteral("The character has no animation \"%1\".").arg(name) << '\n';
    return found;
}

using Exporter =
    std::function<std::optional<QStringList>(const agent::CharacterModel &, int, const QString &, QString *)>;

int exportOne(const agent::CharacterModel &model, const QString &animation, const QString &folder,
              QTextStream &err, const Exporter &exporter)
{
    const std::optional<int> index = animationNamed(model, animation, err);
    if (!index || !makeFolder(folder, err)) return 1;
    QString error;
    if (exporter(model, *index, folder, &error)) return 0;
    err << error << '\n';
    return 1;
}

std::optional<QImage> firstPicture(const agent::CharacterModel &model, int animation)
{
    for (int frame = 0; frame < model.frameCount(animation); ++frame) {
        if (model.frameIsEmpty(animation, frame)) continue;
        QImage picture = model.frameImage(animation, frame);
        if (!picture.isNull()) return picture;
    }
    return std::nullopt;
}

} // namespace

int listAnimations(const agent::CharacterModel &model, QTextStream &out)
{
    for (int animation = 0; animation < model.animationCount(); ++animation) {
        const int frames = model.frameCount(animation);
        qint64 length = 0;
        for (int frame = 0; frame < frames; ++frame)
            length += model.frameDurationMs(animation, frame);
        out << model.animationName(animation) << '\t' << frames << '\t' << length << '\n';
    }
    return 0;
}

int exportFramesTo(const agent::CharacterModel &model, const QString &animation, const QString &folder,
                   QTextStream &err)
{
    return exportOne(model, animation, folder, err, exportAnimationFrames);
}

int exportSheetTo(const agent::CharacterModel &model, const QString &animation, const QString &folder,
                  QTextStream &err)
{
    return exportOne(model, animation, folder, err, exportSpriteSheet);
}

int exportAllTo(const agent::CharacterModel &model, const QString &folder, QTextStream &err)
{
    if (!makeFolder(folder, err)) return 1;
    for (int animation = 0; animation < model.animationCount(); ++animation) {
        if (model.frameCount(animation) == 0) continue;
        QString error;
        if (!exportSpriteSheet(model, animation, folder, &error)) {
            err << error << '\n';
            return 1;
        }
    }
    return 0;
}

std::optional<QImage> thumbnailImage(const agent::CharacterModel &model, int size)
{
    std::optional<QImage> picture;
    if (const std::optional<int> rest = model.restPose()) picture = firstPicture(model, *rest);
    for (int animation = 0; !picture && animation < model.animationCount(); ++animation)
        picture = firstPicture(model, animation);
    if (!picture) return std::nullopt;
    if (picture->width() <= size && picture->height() <= size) return picture;
    return picture->scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

int writeThumbnail(const agent::CharacterModel &model, const QString &size, const QString &out,
                   QTextStream &err)
{
    bool ok = false;
    const int pixels = size.toInt(&ok);
    if (!ok || pixels < 1 || pixels > LargestThumbnail) {
        err << QStringLiteral("The thumbnail size must be a number from 1 to %1, not \"%2\".")
                   .arg(LargestThumbnail)
                   .arg(size)
            << '\n';
        return 2;
    }
    const std::optional<QImage> picture = thumbnailImage(model, pixels);
    if (!picture) {
        err << QStringLiteral("The character has no frame to draw.") << '\n';
        return 1;
    }
    if (picture->save(out, "PNG")) return 0;
    err << QStringLiteral("Cannot write %1.").arg(QDir::toNativeSeparators(out)) << '\n';
    return 1;
}

} // namespace acsview
