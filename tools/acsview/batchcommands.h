// What the viewer does from the command line, without a window: list the
// animations, export frames and sprite sheets, and make a thumbnail. Each
// command writes its errors as one line to `err` and returns the program's
// exit code: 0 done, 1 failed.
#pragma once

#include "charactermodel.h"

#include <QImage>
#include <QTextStream>

#include <optional>

namespace acsview
{

// "NAME<tab>FRAMES<tab>LENGTH_MS", one animation a line, in the file's order.
int listAnimations(const agent::CharacterModel &model, QTextStream &out);

// Into `folder`, made when missing; the animation is named case-insensitively.
int exportFramesTo(const agent::CharacterModel &model, const QString &animation, const QString &folder,
                   QTextStream &err);
int exportSheetTo(const agent::CharacterModel &model, const QString &animation, const QString &folder,
                  QTextStream &err);
// A sprite sheet and index for every animation that has frames.
int exportAllTo(const agent::CharacterModel &model, const QString &folder, QTextStream &err);

// The first frame with a picture, of the rest pose when the character has
// one, else of the first animation that has one; made smaller to fit
// size x size, never larger. Nothing when no frame can be drawn.
std::optional<QImage> thumbnailImage(const agent::CharacterModel &model, int size);

// The thumbnail written as PNG to `out`; `size` as given on the command line
// (exit code 2 when it is no size).
int writeThumbnail(const agent::CharacterModel &model, const QString &size, const QString &out,
                   QTextStream &err);

} // namespace acsview
