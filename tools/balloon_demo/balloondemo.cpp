// Shows one balloon with the options given on the command line beside a
// stand-in character, prints the answer and exits. Used for screenshots.
//
//   balloon_demo --kind input --shape 1 --buttons 8 --icontype 2 --heading "Hello"
//                --text "Type your name" --char 600,500,96,96
#include "ballooncomponent.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QPainter>
#include <QTextStream>
#include <QTimer>
#include <QWidget>

using namespace component;

namespace
{

// A window standing where the character would be, answering its position.
class StandInCharacter : public QWidget, public DispatchObject
{
  public:
    explicit StandInCharacter(const QRect &rect)
    {
        setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
        setGeometry(rect);
    }

    Result invoke(DispId id, CallKind kind, Args &) override
    {
        if (kind != CallKind::PropertyGet) return error::notSupported();
        switch (id) {
        case character::Left:
            return Value(int32_t(x()));
        case character::Top:
            return Value(int32_t(y()));
        case character::Width:
            return Value(int32_t(width()));
        case character::Height:
            return Value(int32_t(height()));
        case character::Visible:
            return Value(Bool::of(true));
        default:
            return error::notSupported();
        }
    }

  protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(rect(), QColor(0x30, 0x30, 0x40));
        p.setBrush(QColor(0x7c, 0x4d, 0xff));
        p.setPen(Qt::NoPen);
        p.drawEllipse(rect().adjusted(8, 8, -8, -8));
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(width() * 0.38, height() * 0.42), 6, 6);
        p.drawEllipse(QPointF(width() * 0.62, height() * 0.42), 6, 6);
    }
};

QRect parseRect(const QString &s)
{
    const QStringList parts = s.split(QLatin1Char(','));
    if (parts.size() != 4) return QRect(600, 500, 96, 96);
    return QRect(parts[0].toInt(), parts[1].toInt(), parts[2].toInt(), parts[3].toInt());
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const auto option = [&](const char *name, const char *help, const char *value) {
        QCommandLineOption o(QString::fromLatin1(name), QString::fromLatin1(help), QStringLiteral("value"),
                             QString::fromUtf8(value));
        parser.addOption(o);
        return o;
    };
    const auto kind = option("kind", "plain, input or labels", "plain");
    const auto shape = option("shape", "0 arrow, 1 think", "0");
    const auto buttons = option("buttons", "ButtonsType 0..14", "8");
    const auto icon = option("icontype", "IconType 0..6", "2");
    const auto place = option("place", "BalloonPlace 0..4", "0");
    const auto language = option("language", "100 Russian, 200 English", "200");
    const auto halign = option("halign", "HAlignmentText 0..2", "0");
    const auto valign = option("valign", "VAlignmentCaption 0..2", "1");
    const auto separator = option("separator", "LineSeparator 0 or 1", "1");
    const auto heading = option("heading", "heading", "Did you know?");
    const auto text =
        option("text", "text; for labels, lines separated by |", "Balloons follow the character.");
    const auto characterOption = option("char", "character rectangle x,y,w,h", "600,500,96,96");
    const auto textFile = option("text-file", "read the text (labels: one a line) from a UTF-8 file", "");
    const QCommandLineOption closeAtOnce(QStringLiteral("close"),
                                         QStringLiteral("close the balloon once shown"));
    parser.addOption(closeAtOnce);
    parser.process(app);

    auto character = std::make_shared<StandInCharacter>(parseRect(parser.value(characterOption)));
    character->show();
    auto balloon = std::make_shared<balloon::BalloonComponent>(VellixMethods, NamedValues{});
    const auto put = [&](DispId id, Value v) {
        Args args{Arg(std::move(v))};
        const Result r = balloon->invoke(id, CallKind::PropertyPut, args);
        if (!r.ok()) QTextStream(stderr) << "put failed: " << r.error().description << '\n';
    };
    put(prop::Character, ObjectRef(character));
    put(prop::BalloonPlace, parser.value(place).toInt());
    put(prop::Language, parser.value(language).toInt());
    put(prop::HAlignmentText, parser.value(halign).toInt());
    put(prop::VAlignmentCaption, parser.value(valign).toInt());
    put(prop::LineSeparator, Bool::of(parser.value(separator).toInt() != 0));

    const QString k = parser.value(kind);
    const Method method = k == QLatin1String("input")    ? Method::MsgInput
                          : k == QLatin1String("labels") ? Method::MsgLabels
                                                         : Method::ShowVellix;
    QString textValue = parser.value(text);
    QChar labelSeparator = QLatin1Char('|');
    if (!parser.value(textFile).isEmpty()) {
        QFile file(parser.value(textFile));
        if (!file.open(QIODevice::ReadOnly)) {
            QTextStream(stderr) << "cannot read " << file.fileName() << '\n';
            return 1;
        }
        textValue = QString::fromUtf8(file.readAll());
        labelSeparator = QLatin1Char('\n');
    }
    Value second = textValue;
    if (method == Method::MsgLabels) second = textValue.split(labelSeparator);
    Value iconValue = parser.value(icon).toInt();
    Value shapeValue = parser.value(shape).toInt();
    Value buttonsValue = parser.value(buttons).toInt();
    Value modal = Bool::of(true);
    Value onTop = Bool::of(true);

    // Tells a screenshot script what to crop: the balloon and the character.
    QTimer reporter;
    QObject::connect(&reporter, &QTimer::timeout, &app, [&] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->objectName() != QLatin1String("vellixBalloon") || !w->isVisible()) continue;
            const QRect r = w->geometry().united(character->geometry()).adjusted(-12, -12, 12, 12);
            QTextStream(stderr) << "crop " << r.width() << 'x' << r.height() << '+' << r.x() << '+' << r.y()
                                << Qt::endl;
            reporter.stop();
            if (parser.isSet(closeAtOnce)) w->close();
            break;
        }
    });
    reporter.start(50);

    int exitCode = 0;
    QTimer::singleShot(0, &app, [&] {
        Args args{Arg(parser.value(heading)), Arg::byRef(second),       Arg::byRef(iconValue),
                  Arg::byRef(shapeValue),     Arg::byRef(buttonsValue), Arg::byRef(modal),
                  Arg::byRef(onTop)};
        const Result r = balloon->invoke(VellixMethods.of(method), CallKind::Method, args);
        QTextStream out(stdout);
        if (!r.ok()) {
            out << "error " << r.error().number << ": " << r.error().description << '\n';
            exitCode = 1;
        } else if (const auto *m = std::get_if<MsgResult>(&r.value())) {
            out << "Button " << m->Button << " Label " << m->Label << " Text \"" << m->Text << "\" Status "
                << m->Status << '\n';
        }
        app.quit();
    });
    app.exec();
    return exitCode;
}
