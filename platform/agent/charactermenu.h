// The right-click menu of a character: its animations to play (sorted by
// name), sound on or off, and hide.
#pragma once

#include "charactermodel.h"

#include <QMenu>

#include <functional>
#include <memory>

namespace agent
{

struct CharacterMenuActions {
    std::function<void(int animation)> play;
    std::function<void(bool on)> setSound;
    std::function<void()> hide;
};

// The actions run in the context of `receiver`: none runs once it is gone.
std::unique_ptr<QMenu> makeCharacterMenu(const CharacterModel &model, bool soundOn,
                                         CharacterMenuActions actions, QObject *receiver);

} // namespace agent
