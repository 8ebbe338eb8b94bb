// The three message buttons: show a balloon with the typed heading and text
// and the harness state, then report the user's answer.
#pragma once

#include "harnesscontext.h"

namespace harness
{

class MessageActions
{
  public:
    explicit MessageActions(HarnessContext &context) : c_(context) {}

    void cmbMsgShow();
    void cmbMsgInput();
    void cmbLabelsShow();

    // The labels of a text: every piece between CR LFs, empty ones included;
    // no labels for an empty text.
    static QStringList splitLabels(const QString &text);

  private:
    // True when the component refused the call; the user has been told.
    bool refused(const component::MsgResult &result);
    void report(const QString &text);

    HarnessContext &c_;
};

} // namespace harness
