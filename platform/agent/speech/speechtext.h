// What of a text the English voice can say. Latin letters lose their accents
// and are spoken; other scripts are not: text mostly in them is not spoken
// at all and the mouth moves for a time in proportion to its length instead.
#pragma once

#include <QString>

#include <string>

namespace speech
{

// Longer text is cut to this many characters before synthesis, about ten
// minutes of speech.
inline constexpr qsizetype MaxSpokenCharacters = 10000;
// How long the mouth moves per character of text that is not spoken.
inline constexpr int UnspokenMsPerCharacter = 70;

struct SpeechText {
    std::string speakable; // ASCII; empty when nothing is to be said
    int unspokenMs = 0;    // mouth movement without sound, when nothing is spoken
    bool cut = false;      // the text was longer than MaxSpokenCharacters
};

SpeechText prepareSpeechText(const QString &text);

} // namespace speech
