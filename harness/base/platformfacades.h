// Typed calls on the two platform controls, cmd and msa, and on the
// character object msa hands out.
#pragma once

#include "hostedcontrol.h"

#include <optional>

namespace harness
{

class CommonDialogFacade
{
  public:
    explicit CommonDialogFacade(HostedControl &control) : control_(control) {}
    void setDialogTitle(const QString &title);
    void setFilter(const QString &filter);
    void setFileName(const QString &file);
    QString FileName();
    void setColor(int32_t color);
    int32_t Color();
    void ShowOpen();
    void ShowColor();

  private:
    HostedControl &control_;
};

class AgentFacade
{
  public:
    explicit AgentFacade(HostedControl &control) : control_(control) {}
    // Without a file the engine loads its default character.
    void CharactersLoad(const QString &characterId, const std::optional<QString> &file);
    component::ObjectRef CharactersCharacter(const QString &characterId);

  private:
    HostedControl &control_;
};

class CharacterFacade
{
  public:
    CharacterFacade(const component::ObjectRef &character, Trace &trace);
    void setTop(int16_t top);
    void setLeft(int16_t left);
    void Show();

  private:
    HostedControl control_;
};

} // namespace harness
