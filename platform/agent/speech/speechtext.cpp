#include "speechtext.h"

namespace speech
{

SpeechText prepareSpeechText(const QString &text)
{
    SpeechText out;
    QString kept = text;
    if (kept.size() > MaxSpokenCharacters) {
        qsizetype end = MaxSpokenCharacters;
        if (kept.at(end - 1).isHighSurrogate()) --end; // never half a character
        kept.truncate(end);
        out.cut = true;
    }
    // Decomposed, an accented Latin letter is its base letter and marks.
    const QString decomposed = kept.normalized(QString::NormalizationForm_D);
    std::string ascii;
    ascii.reserve(size_t(decomposed.size()));
    int latinLetters = 0;
    int otherCharacters = 0;
    for (qsizetype i = 0; i < decomposed.size(); ++i) {
        const QChar c = decomposed.at(i);
        if (c.category() == QChar::Mark_NonSpacing) continue;
        if (c.unicode() >= 0x20 && c.unicode() < 0x7f) {
            ascii += char(c.unicode());
            if (c.isLetterOrNumber()) ++latinLetters;
            continue;
        }
        if (c.isSpace() || c.unicode() < 0x20) {
            ascii += ' ';
            continue;
        }
        if (c.isLowSurrogate()) continue; // counted with its high half
        ++otherCharacters;
        ascii += ' ';
    }
    if (latinLetters > 0 && latinLetters >= otherCharacters) {
        out.speakable = std::move(ascii);
        return out;
    }
    out.unspokenMs = (otherCharacters + latinLetters) * UnspokenMsPerCharacter;
    return out;
}

} // namespace speech
