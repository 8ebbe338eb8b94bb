#include "charactermenu.h"

#include <algorithm>

namespace agent
{

std::unique_ptr<QMenu> makeCharacterMenu(const CharacterModel &model, bool soundOn,
                                         CharacterMenuActions actions, QObject *receiver)
{
    auto menu = std::make_unique<QMenu>();
    menu->setAccessibleName(QStringLiteral("%1 menu").arg(model.name()));
    QMenu *play = menu->addMenu(QStringLiteral("&Play"));
    QList<QPair<QString, int>> animations;
    for (int i = 0; i < model.animationCount(); ++i)
        animations.append({model.animationName(i), i});
    std::sort(animations.begin(), animations.end(),
              [](const auto &a, const auto &b) { return a.first.compare(b.first, Qt::CaseInsensitive) < 0; });
    for (const auto &[name, index] : animations)
        play->addAction(name, receiver, [run = actions.play, index = index] { run(index); });
    QAction *sound = menu->addAction(QStringLiteral("&Sound"), receiver, actions.setSound);
    sound->setCheckable(true);
    sound->setChecked(soundOn);
    menu->addAction(QStringLiteral("&Hide"), receiver, actions.hide);
    return menu;
}

} // namespace agent
