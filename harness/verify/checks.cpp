#include "checks.h"

#include <QApplication>
#include <QPainter>
#include <QWidget>

namespace harness::verify
{

using namespace component;

bool Verdict::expect(bool ok, const QString &expected, const QString &got)
{
    if (!ok && outcome_.passed) outcome_ = Outcome::fail(expected, got);
    return ok;
}

CheckContext::CheckContext(Target target, hosting::ClassRegistry &registry, ObjectRef character,
                           SnapshotOptions snapshots)
    : target_(std::move(target)), registry_(registry), character_(std::move(character)),
      snapshots_(std::move(snapshots))
{
}

ObjectRef CheckContext::create(QString *error)
{
    hosting::Created created = registry_.create(target_.componentClass, target_.stored);
    if (!created.object) {
        *error = created.error;
        return nullptr;
    }
    Value character = character_;
    Args args{Arg::byRef(character)};
    const Result attached = safeInvoke(*created.object, prop::Character, CallKind::PropertyPutRef, args);
    if (!attached.ok()) {
        *error = QStringLiteral("Character not accepted: %1").arg(describe(attached));
        return nullptr;
    }
    return created.object;
}

CheckedInstance::CheckedInstance(CheckContext &context) : context_(context)
{
    for (QWidget *w : visibleWindows())
        windowsBefore_.append(w);
    object_ = context.create(&error_);
    // Checks read captions in English unless they set a language themselves.
    if (object_) put(prop::Language, int32_t(Language::English));
}

CheckedInstance::~CheckedInstance()
{
    // Whatever the check left on the screen goes with the instance.
    object_.reset();
    for (QWidget *w : visibleWindows())
        if (!windowsBefore_.contains(w)) w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

Result CheckedInstance::put(DispId id, Value value)
{
    Args args{Arg(std::move(value))};
    return safeInvoke(*object_, id, CallKind::PropertyPut, args);
}

Result CheckedInstance::putRef(DispId id, Value value)
{
    Args args{Arg::byRef(value)};
    return safeInvoke(*object_, id, CallKind::PropertyPutRef, args);
}

Result CheckedInstance::get(DispId id)
{
    Args args;
    return safeInvoke(*object_, id, CallKind::PropertyGet, args);
}

Result CheckedInstance::call(const Message &m)
{
    Value second = m.method == Method::MsgLabels ? Value(m.labels) : Value(m.text);
    Value icon(m.iconType), msgType(m.msgType), buttons(m.buttonsType);
    Value modal(Bool::of(m.modal)), onTop(Bool::of(m.onTop));
    Args args{Arg(m.heading),      m.method == Method::MsgLabels ? Arg::byRef(second) : Arg(second),
              Arg::byRef(icon),    Arg::byRef(msgType),
              Arg::byRef(buttons), Arg::byRef(modal),
              Arg::byRef(onTop)};
    return safeInvoke(*object_, context_.target().methods.of(m.method), CallKind::Method, args);
}

Shown CheckedInstance::showModal(const Message &message, ModalAnswerer::Answer answer, bool withImage)
{
    const QString method = methodName(message.method);
    if (context_.isHung(method)) throw MethodHung{method};
    BalloonDriver driver;
    ModalAnswerer answerer(driver, std::move(answer), withImage);
    answerer.watch([this] { context_.reportStep(ModalStep::Shown); },
                   [this] { context_.reportStep(ModalStep::Answered); },
                   [this] { context_.reportStep(ModalStep::Closed); });
    context_.reportStep(ModalStep::Call, method);
    Shown shown;
    shown.result = call(message);
    context_.reportStep(ModalStep::Returned);
    shown.appeared = answerer.appeared();
    shown.sighting = answerer.sighting();
    shown.answerError = answerer.answerError();
    shown.forcedClose = answerer.forcedClose();
    return shown;
}

QWidget *CheckedInstance::showModeless(Message message, Verdict &v)
{
    message.modal = false;
    BalloonDriver driver;
    {
        // Answers a balloon that wrongly waits, so the check ends.
        ModalAnswerer rescue(driver, &BalloonDriver::pressFirstButton);
        const Result shown = call(message);
        if (!v.expect(!rescue.appeared(), QStringLiteral("a modeless call to return at once"),
                      QStringLiteral("it waiting for an answer")) ||
            !v.expect(shown.ok(), QStringLiteral("a balloon shown"), describe(shown)))
            return nullptr;
    }
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QWidget *balloon = driver.balloon();
    v.expect(balloon != nullptr, QStringLiteral("a balloon window"), QStringLiteral("none"));
    return balloon;
}

QString describe(const Result &result)
{
    if (!result.ok())
        return QStringLiteral("error %1 (%2)").arg(result.error().number).arg(result.error().description);
    const Value &v = result.value();
    if (const auto *r = std::get_if<MsgResult>(&v)) return describe(*r);
    if (const auto *i = std::get_if<int32_t>(&v)) return QString::number(*i);
    if (const auto *b = std::get_if<Bool>(&v)) return QString::number(b->raw);
    if (const auto *p = std::get_if<Picture>(&v))
        return QStringLiteral("a %1x%2 picture").arg(p->image.width()).arg(p->image.height());
    return QStringLiteral("a value of type %1").arg(QLatin1String(typeName(typeOf(v))));
}

QString describe(const MsgResult &r)
{
    return QStringLiteral("Button %1, Label %2, Text \"%3\", Status %4")
        .arg(r.Button)
        .arg(r.Label)
        .arg(r.Text)
        .arg(r.Status);
}

Picture verifyPicture()
{
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(0x2a, 0x7a, 0xd4));
    painter.setPen(QPen(Qt::black, 2));
    painter.drawEllipse(QRectF(3, 3, 26, 26));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(14, 8, 4, 16));
    painter.end();
    return {image, QStringLiteral("verify-icon")};
}

QString methodName(Method method)
{
    const std::string_view name = methodNames[static_cast<size_t>(method)];
    return QString::fromLatin1(name.data(), qsizetype(name.size()));
}

QList<Check> checkCatalog(const SnapshotOptions &snapshots, const QList<ScreenLayout> &layouts)
{
    QList<Check> checks;
    addPropertyChecks(checks);
    addMessageChecks(checks);
    if (!snapshots.folder.isEmpty()) addSnapshotChecks(checks);
    addDrawingChecks(checks);
    addPlacementChecks(checks, layouts);
    return checks;
}

} // namespace harness::verify
