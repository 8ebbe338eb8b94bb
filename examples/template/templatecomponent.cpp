// A balloon component to start from: the whole contract, simply drawn.
//
// Read it top to bottom: the balloon window (a rounded
// rectangle with a tail, or a thought cloud, beside the character), then the
// component that keeps the properties and answers the three methods, and
// the plugin that creates it. Change the look freely; --verify tells you
// whether the contract still holds.
#include "component/buttons.h"
#include "component/component.h"

#include <QApplication>
#include <QDialog>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <map>
#include <vector>

namespace
{

using namespace component;

// What one balloon shows: the method's arguments and the properties at the
// time of the call.
struct Look {
    QColor balloon, frame, line, text, caption, button, buttonCaption;
    int hAlignment = 0; // text: left, right, centre
    int vAlignment = 2; // heading against the icon: top, centre, bottom
    bool separator = true;
    bool russian = false;
    QImage customIcon;
};

struct Content {
    Method method = Method::ShowVellix;
    QString heading;
    QString text;
    QStringList labels;
    int icon = 0;       // none, tips, inform, warning, question, danger, custom
    bool think = false; // MsgType 1: a thought cloud instead of a speech balloon
    int buttonsType = 0;
};

constexpr int tail = 18;   // room for the tail between the body and the character
constexpr int radius = 10; // corners of the body

class Balloon : public QDialog
{
  public:
    Balloon(const Content &c, const Look &look) : think_(c.think), look_(look)
    {
        setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
        setAttribute(Qt::WA_DeleteOnClose);
        setAccessibleName(c.heading);
        auto *layout = new QVBoxLayout(this);
        layout->setSizeConstraint(QLayout::SetFixedSize);
        layout->setContentsMargins(12, 12, 12, 12 + tail);

        auto *top = new QHBoxLayout;
        if (const QPixmap icon = iconFor(c.icon, look.customIcon); !icon.isNull()) {
            auto *picture = new QLabel;
            picture->setPixmap(icon);
            top->addWidget(picture);
        }
        const Qt::Alignment vertical[] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
        top->addWidget(label(c.heading, look.caption, Qt::AlignLeft | vertical[look.vAlignment], true), 1);
        layout->addLayout(top);
        if (look.separator) {
            auto *line = new QFrame;
            line->setFrameStyle(QFrame::HLine | QFrame::Plain);
            colour(line, QPalette::WindowText, look.line);
            layout->addWidget(line);
        }

        if (c.method == Method::MsgLabels) {
            list_ = new QListWidget;
            list_->addItems(c.labels);
            list_->setMaximumHeight(160);
            layout->addWidget(list_);
        } else {
            const Qt::Alignment horizontal[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter};
            layout->addWidget(label(c.text, look.text, horizontal[look.hAlignment] | Qt::AlignTop, false));
        }
        if (c.method == Method::MsgInput) {
            input_ = new QLineEdit;
            layout->addWidget(input_);
        }

        const auto set = buttonSet(c.buttonsType);
        escape_ = escapeButton(set);
        auto *buttons = new QHBoxLayout;
        buttons->addStretch();
        for (ButtonKind kind : set) {
            const int number = int(kind);
            auto *button =
                new QPushButton(buttonCaption(kind, look.russian ? Language::Russian : Language::English));
            // Filled flat: a style's gradient would show no pixel in the colour set.
            button->setStyleSheet(
                QStringLiteral("QPushButton { background: %1; color: %2; border: 1px solid %2;"
                               " border-radius: 3px; padding: 3px 12px; }")
                    .arg(look.button.name(), look.buttonCaption.name()));
            connect(button, &QPushButton::clicked, this, [this, number] { answer(number); });
            buttons->addWidget(button);
        }
        layout->addLayout(buttons);
    }

    // Beside the character at `place` (1..4 above right, above left, below
    // right, below left; 0 the first that fits), on its screen.
    void placeBeside(const QRect &character, int place)
    {
        adjustSize();
        const QScreen *screen = QGuiApplication::screenAt(character.center());
        if (!screen) screen = QGuiApplication::primaryScreen();
        const QRect area = screen->availableGeometry();
        if (character.isEmpty()) {
            move(area.center() - rect().center());
            below_ = false;
            return;
        }
        auto at = [&](int p) {
            const int x = p == 1 || p == 3 ? character.center().x() : character.center().x() - width();
            const int y = p <= 2 ? character.top() - height() : character.bottom() + 1;
            return QRect(QPoint(x, y), size());
        };
        // A place that leaves the screen gives way to the first that fits of
        // its mirror images: vertically, horizontally, both. 0 tries 1 to 4.
        const bool above = place <= 2, right = place % 2 == 1;
        auto side = [](bool up, bool toRight) { return up ? (toRight ? 1 : 2) : (toRight ? 3 : 4); };
        const int order[4] = {place == 0 ? 1 : place, place == 0 ? 2 : side(!above, right),
                              place == 0 ? 3 : side(above, !right), place == 0 ? 4 : side(!above, !right)};
        int chosen = order[0];
        for (int p : order)
            if (area.contains(at(p))) {
                chosen = p;
                break;
            }
        below_ = chosen >= 3;
        right_ = chosen == 1 || chosen == 3;
        layout()->setContentsMargins(12, below_ ? 12 + tail : 12, 12, below_ ? 12 : 12 + tail);
        adjustSize();
        const QRect r = at(chosen);
        // Last resort on a tiny screen: inside it, even if over the character.
        move(std::clamp(r.x(), area.left(), std::max(area.left(), area.right() - width() + 1)),
             std::clamp(r.y(), area.top(), std::max(area.top(), area.bottom() - height() + 1)));
    }

    int button() const { return button_; }
    int chosenLabel() const { return dismissed_ ? -1 : label_; }
    QString typed() const { return text_; }

  protected:
    void showEvent(QShowEvent *event) override
    {
        setMask(QRegion(outline().toFillPolygon().toPolygon()));
        QDialog::showEvent(event);
    }

    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(look_.frame, 1.5));
        painter.setBrush(look_.balloon);
        painter.drawPath(outline());
    }

    // Esc closes with the set's cancel-like button.
    void reject() override
    {
        dismissed_ = true;
        answer(escape_);
    }

    // A balloon without buttons closes on a click.
    void mousePressEvent(QMouseEvent *event) override
    {
        if (findChildren<QPushButton *>().isEmpty()) answer(0);
        QDialog::mousePressEvent(event);
    }

  private:
    QLabel *label(const QString &text, const QColor &colour_, Qt::Alignment alignment, bool bold)
    {
        // Very long text is cut for the screen (laying out a million
        // characters takes seconds); assistive tools still read all of it.
        constexpr qsizetype shownLimit = 2000;
        QString shown = text;
        if (shown.size() > shownLimit) {
            shown.truncate(shown.at(shownLimit - 1).isHighSurrogate() ? shownLimit - 1 : shownLimit);
            shown += QChar(0x2026);
        }
        auto *l = new QLabel(shown);
        if (shown != text) l->setAccessibleName(text);
        l->setTextFormat(Qt::PlainText);
        l->setWordWrap(true);
        l->setAlignment(alignment);
        l->setMaximumWidth(360);
        if (bold) {
            QFont font = l->font();
            font.setBold(true);
            l->setFont(font);
        }
        colour(l, QPalette::WindowText, colour_);
        return l;
    }

    static void colour(QWidget *w, QPalette::ColorRole role, const QColor &c)
    {
        QPalette palette = w->palette();
        palette.setColor(role, c);
        w->setPalette(palette);
    }

    QPixmap iconFor(int icon, const QImage &custom) const
    {
        const QStyle::StandardPixmap standard[] = {
            QStyle::SP_CustomBase,        QStyle::SP_DialogHelpButton,   QStyle::SP_MessageBoxInformation,
            QStyle::SP_MessageBoxWarning, QStyle::SP_MessageBoxQuestion, QStyle::SP_MessageBoxCritical};
        if (icon == 6)
            return custom.isNull() ? QPixmap()
                                   : QPixmap::fromImage(custom.scaled(32, 32, Qt::KeepAspectRatio,
                                                                      Qt::SmoothTransformation));
        if (icon == 0) return {};
        return style()->standardIcon(standard[icon]).pixmap(32, 32);
    }

    // The body, and the tail pointing at the character: a triangle, or three
    // shrinking circles for a thought.
    QPainterPath outline() const
    {
        const QRectF body = QRectF(rect()).adjusted(1, below_ ? tail : 1, -1, below_ ? -1 : -tail);
        QPainterPath path;
        path.addRoundedRect(body, radius, radius);
        const qreal tip = right_ ? 2 : width() - 2; // the character's side
        const qreal base = right_ ? 24 : width() - 24;
        const qreal edge = below_ ? body.top() : body.bottom();
        const qreal end = below_ ? 1 : height() - 1;
        if (think_) {
            for (int i = 0; i < 3; ++i) {
                const qreal r = 6 - 1.6 * i;
                const qreal t = (i + 0.5) / 3.0;
                path.addEllipse(QPointF(base + (tip - base) * t, edge + (end - edge) * t), r, r);
            }
        } else {
            QPainterPath triangle;
            triangle.moveTo(base - 8, edge);
            triangle.lineTo(tip, end);
            triangle.lineTo(base + 8, edge);
            triangle.closeSubpath();
            path = path.united(triangle);
        }
        return path;
    }

    void answer(int number)
    {
        button_ = number;
        if (list_ && list_->selectionModel()->hasSelection())
            label_ = list_->selectionModel()->selectedRows().value(0).row();
        if (input_) text_ = input_->text();
        done(QDialog::Accepted);
    }

    bool think_;
    Look look_;
    QListWidget *list_ = nullptr;
    QLineEdit *input_ = nullptr;
    bool below_ = false;
    bool right_ = true;
    bool dismissed_ = false;
    int escape_ = 0;
    int button_ = 0;
    int label_ = -1;
    QString text_;
};

// The range of each Long property; colours are 0x00BBGGRR.
bool inRange(DispId id, int32_t v)
{
    switch (id) {
    case prop::Language:
        return v == 100 || v == 200;
    case prop::BalloonPlace:
        return v >= 0 && v <= 4;
    case prop::HAlignmentText:
    case prop::VAlignmentCaption:
        return v >= 0 && v <= 2;
    default:
        return v >= 0 && v <= 0xFFFFFF;
    }
}

class TemplateComponent final : public DispatchObject
{
  public:
    TemplateComponent(MethodIds methods, const NamedValues &stored) : methods_(methods)
    {
        values_[prop::Language] = int32_t(Language::English);
        for (const auto &[id, value] : defaultSettings)
            values_[id] = value;
        for (const auto &[key, value] : stored)
            if (const PropertyInfo *p = findStoredProperty(key))
                if (const Args one{Arg(value)}; accepts(*p, one[0])) values_[p->id] = value;
    }

    ~TemplateComponent() override
    {
        if (shown_) shown_->deleteLater();
    }

    Result invoke(DispId id, CallKind kind, Args &args) override
    {
        if (const auto method = methods_.find(id); method && kind == CallKind::Method)
            return show(*method, args);
        const PropertyInfo *property = findProperty(id);
        if (!property || kind == CallKind::Method) return error::notSupported();
        if (kind == CallKind::PropertyGet) {
            if (!args.empty()) return error::wrongArgCount();
            return values_[id];
        }
        const bool byRef = property->type == ValueType::Object || property->type == ValueType::Picture;
        if ((kind == CallKind::PropertyPutRef) != byRef) return error::notSupported();
        if (args.size() != 1) return error::wrongArgCount();
        if (args[0].type() != property->type) return error::typeMismatch();
        if (!accepts(*property, args[0])) return error::invalidValue();
        values_[id] = args[0].get();
        return {};
    }

  private:
    static bool accepts(const PropertyInfo &p, const Arg &value)
    {
        if (value.type() != p.type) return false;
        const auto number = as<int32_t>(value);
        return !number || inRange(p.id, *number);
    }

    int32_t number(DispId id) { return std::get<int32_t>(values_[id]); }
    QColor colourOf(DispId id) { return colorFromRef(number(id)); }

    // Where the character is on the screen; empty without one.
    QRect character()
    {
        const auto *object = std::get_if<ObjectRef>(&values_[prop::Character]);
        if (!object || !*object) return {};
        auto read = [&](DispId id) {
            Args none;
            const Result r = safeInvoke(**object, id, CallKind::PropertyGet, none);
            return r.ok() ? asLong(r.value()).value_or(0) : 0;
        };
        return QRect(read(character::Left), read(character::Top), read(character::Width),
                     read(character::Height));
    }

    Result show(Method method, Args &args)
    {
        if (args.size() != 7) return error::wrongArgCount();
        const auto heading = as<QString>(args[0]);
        const auto text = as<QString>(args[1]);
        const auto labels = as<QStringList>(args[1]);
        const auto icon = asLong(args[2]), shape = asLong(args[3]), buttons = asLong(args[4]);
        const auto modal = as<Bool>(args[5]), onTop = as<Bool>(args[6]);
        if (!heading || !icon || !shape || !buttons || !modal || !onTop) return error::typeMismatch();
        if (method == Method::MsgLabels ? !labels : !text) return error::typeMismatch();
        if (*icon < 0 || *icon > 6 || *shape < 0 || *shape > 1 || *buttons < 0 || *buttons >= buttonSetCount)
            return error::invalidValue();
        // One balloon per instance at a time.
        if (shown_ && shown_->isVisible()) return Value(MsgResult{0, -1, {}, 1});

        const auto *picture = std::get_if<Picture>(&values_[prop::CustomIcon]);
        const Look look{colourOf(prop::BalloonColor),
                        colourOf(prop::FrameColor),
                        colourOf(prop::LineColor),
                        colourOf(prop::TextColor),
                        colourOf(prop::CaptionColor),
                        colourOf(prop::ButtonColor),
                        colourOf(prop::ButtonCaptionColor),
                        number(prop::HAlignmentText),
                        number(prop::VAlignmentCaption),
                        std::get<Bool>(values_[prop::LineSeparator]).value(),
                        number(prop::Language) == int(Language::Russian),
                        picture ? picture->image : QImage()};
        const Content content{
            method,      *heading, text.value_or(QString()), labels.value_or(QStringList()), *icon,
            *shape == 1, *buttons};
        auto *balloon = new Balloon(content, look);
        if (onTop->value()) balloon->setWindowFlag(Qt::WindowStaysOnTopHint);
        balloon->placeBeside(character(), number(prop::BalloonPlace));
        shown_ = balloon;
        if (!modal->value()) {
            balloon->show();
            return Value(MsgResult{0, -1, {}, 0});
        }
        balloon->setAttribute(Qt::WA_DeleteOnClose, false);
        balloon->setWindowModality(Qt::ApplicationModal);
        balloon->exec();
        const MsgResult result{balloon->button(), balloon->chosenLabel(), balloon->typed(), 0};
        delete balloon;
        return Value(result);
    }

    MethodIds methods_;
    std::map<DispId, Value> values_;
    QPointer<Balloon> shown_;
};

class TemplatePlugin : public QObject, public ComponentPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID HarnessComponentPlugin_iid FILE "templatecomponent.json")
    Q_INTERFACES(component::ComponentPlugin)
  public:
    ObjectRef create(const QString &classId, const NamedValues &stored, QString *error) override
    {
        return createForClass<TemplateComponent>(classId, stored, error);
    }
};

} // namespace

#include "templatecomponent.moc"
