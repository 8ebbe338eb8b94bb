#include "colourhandlers.h"

#include "platform/dialogs/messagebox.h"

#include <QImageReader>

#include <array>

namespace harness
{

using namespace component;

namespace
{

const std::array colourTable{
    ColourButton{"cmbBackColor", prop::BalloonColor, "lblBackColor"},
    ColourButton{"cmbCaptionColor", prop::CaptionColor, "lblCaptionColor"},
    ColourButton{"cmbTextColor", prop::TextColor, "lblTextColor"},
    ColourButton{"cmbFrameColor", prop::FrameColor, "lblFrameColor"},
    ColourButton{"cmbLineColor", prop::LineColor, "lblLineColor"},
    ColourButton{"cmbButtonColor", prop::ButtonColor, "lblButtonColor"},
    ColourButton{"cmbButtonTextColor", prop::ButtonCaptionColor, "lblButtonTextColor"},
};

const QString ErrorTitle = QStringLiteral("Error");

// A file that is not a loadable picture is reported, not fatal: the
// picture and every setting stay as they were.
std::optional<Picture> loadPicture(const QString &file, QString *why)
{
    QImageReader reader(file);
    const QImage image = reader.read();
    if (image.isNull()) {
        *why = reader.errorString();
        return std::nullopt;
    }
    return Picture{image, file};
}

} // namespace

std::span<const ColourButton> colourButtons()
{
    return colourTable;
}

void ColourHandlers::pickColour(const ColourButton &row)
{
    c_.cmd.setColor(c_.vellix.getLong(row.property));
    c_.cmd.ShowColor();
    c_.vellix.putLong(row.property, c_.cmd.Color());
    setSwatchColor(c_.controls.swatch(row.swatch), c_.vellix.getLong(row.property));
}

void ColourHandlers::cmbCustomIcon()
{
    c_.cmd.setFileName(QString());
    c_.cmd.setDialogTitle(QStringLiteral("Select the icon file..."));
    c_.cmd.setFilter(c_.program.iconFilter);
    c_.cmd.ShowOpen();

    const QString file = c_.cmd.FileName();
    if (!file.isEmpty()) {
        QString why;
        if (const auto picture = loadPicture(file, &why))
            c_.controls.imgCustomIcon->setPicture(*picture);
        else
            c_.messages.show(
                QStringLiteral("The file \"%1\" could not be used as an icon: %2").arg(file, why),
                dialogs::style::Critical, ErrorTitle);
    } else {
        c_.messages.show(QStringLiteral("You have not chosen a icon!"), dialogs::style::Critical, ErrorTitle);
    }

    Value picture = c_.controls.imgCustomIcon->picture();
    c_.vellix.setCustomIcon(picture);
}

} // namespace harness
