#include "startup.h"

#include "colourhandlers.h"

namespace harness
{

using namespace component;

namespace
{

const QString SampleHeading = QStringLiteral("It is heading of a window");
const QString SampleText = QStringLiteral("This is simple message, which should appear\r\n"
                                          "on your screen. The sizes of a window are\r\n"
                                          "automatically selected, proceeding from that text,\r\n"
                                          "which needs to be displayed on the screen");

// The values of the component's Language property the list items stand for.
constexpr int32_t LanguageRussian = 100;
constexpr int32_t LanguageEnglish = 200;

} // namespace

void Startup::run()
{
    c_.cmd.setDialogTitle(QStringLiteral("Select the file with the character..."));
    c_.cmd.setFilter(QStringLiteral("Files of the characters|*.acs"));
    c_.cmd.ShowOpen();

    const QString file = c_.cmd.FileName();
    c_.msa.CharactersLoad(QStringLiteral("Default"),
                          file.isEmpty() ? std::nullopt : std::optional<QString>(file));
    c_.state.AgentCharacter = c_.msa.CharactersCharacter(QStringLiteral("Default"));

    c_.controls.txtCaption->setText(SampleHeading);
    c_.controls.txtText->setText(SampleText);

    CharacterFacade character(c_.state.AgentCharacter, c_.trace);
    character.setTop(300);
    character.setLeft(400);
    character.Show();

    c_.controls.group("optAlignCaptionType").select(c_.vellix.VAlignmentCaption());
    c_.controls.group("optAlignTextType").select(c_.vellix.HAlignmentText());
    c_.controls.group("optBalloonPlace").select(c_.vellix.BalloonPlace());

    for (const ColourButton &row : colourButtons())
        setSwatchColor(c_.controls.swatch(row.swatch), c_.vellix.getLong(row.property));

    c_.state.ButtonsType = int32_t(0);
    c_.state.ModalFlag = Bool::of(true);
    c_.state.OnTopFlag = Bool::of(true);

    c_.controls.check("chkLineSeparator").setValue(c_.vellix.LineSeparator() ? 1 : 0);

    Value characterRef = c_.state.AgentCharacter;
    c_.vellix.setCharacter(characterRef);

    LanguageList &language = *c_.controls.cdLanguage;
    language.clearItems();
    language.addItemAt(0, QStringLiteral("Русский"), LanguageRussian);
    language.addItemAt(1, QStringLiteral("English"), LanguageEnglish);
    language.setSelectedIndex(1);
}

} // namespace harness
