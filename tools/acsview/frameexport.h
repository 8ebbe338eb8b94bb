// Writes a character's frames out as pictures: one frame, every frame of an
// animation, or a whole animation as one sprite sheet with a JSON index of
// where each frame sits and how long it lasts.
#pragma once

#include "charactermodel.h"

#include <QImage>
#include <QJsonDocument>
#include <QString>
#include <QStringList>

#include <optional>

namespace acsview
{

struct SpriteSheet {
    QImage image;        // frames left to right, top to bottom, in order
    QJsonDocument index; // {"character", "animation", "frameWidth", "frameHeight", "frames": [...]}
};

// File name for a frame: "<animation>_<frame, three digits>.png", with
// characters unsafe in file names replaced.
QString frameFileName(const QString &animation, int frame);

// Every frame of the animation, in a grid of at most `columns` columns. A
// frame that cannot be drawn is left transparent and marked "missing".
SpriteSheet makeSpriteSheet(const agent::CharacterModel &model, int animation, int columns = 8);

// Each returns the files written, or nothing with the reason in *error.
std::optional<QStringList> exportFrame(const agent::CharacterModel &model, int animation, int frame,
                                       const QString &folder, QString *error);
std::optional<QStringList> exportAnimationFrames(const agent::CharacterModel &model, int animation,
                                                 const QString &folder, QString *error);
// "<animation>.png" and "<animation>.json".
std::optional<QStringList> exportSpriteSheet(const agent::CharacterModel &model, int animation,
                                             const QString &folder, QString *error);

} // namespace acsview
