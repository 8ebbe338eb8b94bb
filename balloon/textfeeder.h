// Fills a text view with a long text as the user scrolls: the view starts
// with the first chunk of about feedChunk characters, shaped by textBlocks(),
// and gets the next chunk, shaped then, whenever its scroll bar comes within
// a page of the end. A huge text costs what is shown, yet every part of it
// can be scrolled to.
#pragma once

#include <QObject>
#include <QString>

class QPlainTextEdit;

namespace balloon
{

inline constexpr qsizetype feedChunk = 16 * 1024;

class TextFeeder : public QObject
{
  public:
    TextFeeder(QPlainTextEdit *view, const QString &text);

    // The first chunk as textBlocks() shaped it: more than a screenful
    // unless it is all of the text.
    const QString &shaped() const { return shaped_; }
    bool complete() const { return fed_ >= text_.size(); }

  private:
    // The next chunk of the text, shaped.
    QString nextChunk();
    void feedIfNearEnd();

    QPlainTextEdit *view_;
    QString text_;
    QString shaped_;
    qsizetype fed_ = 0; // characters of text_ in the view
};

} // namespace balloon
