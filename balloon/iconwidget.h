// The balloon's icon, drawn as vectors so it stays crisp at any pixel ratio.
#pragma once

#include "balloonstyle.h"

#include <QWidget>

namespace balloon
{

class IconWidget : public QWidget
{
    Q_OBJECT
  public:
    static constexpr int iconSize = 32;

    IconWidget(IconType type, const QImage &custom, QWidget *parent = nullptr);

    // Whether there is anything to show: not for None, nor for Custom
    // without a picture.
    static bool hasIcon(IconType type, const QImage &custom);

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    IconType type_;
    QImage custom_;
};

// Paints one icon type into a square.
void paintIcon(QPainter &painter, const QRectF &box, IconType type, const QImage &custom);

} // namespace balloon
