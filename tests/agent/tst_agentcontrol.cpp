// The agent control as the harness drives it: loading characters, the
// character object's members, the window on the screen and refused files.
#include "acs.h"
#include "agentcharacter.h"
#include "agentcontrol.h"
#include "component/contract.h"
#include "fixturecharacter.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace component;
using agent::CharacterWindow;

Q_DECLARE_METATYPE(component::DispId)
Q_DECLARE_METATYPE(component::CallKind)
Q_DECLARE_METATYPE(component::Value)

namespace
{

Result call(DispatchObject &target, DispId id, CallKind kind, Args args = {})
{
    return safeInvoke(target, id, kind, args);
}

QString describe(const Result &result)
{
    return result.ok() ? QString() : result.error().description;
}

ObjectRef loadCharacter(DispatchObject &control, const QString &file = {})
{
    Args load{Value(QStringLiteral("Default"))};
    if (!file.isEmpty()) load.emplace_back(Value(file));
    const Result loaded = safeInvoke(control, agent::member::CharactersLoad, CallKind::Method, load);
    if (!loaded.ok()) qWarning() << loaded.error().description;
    const Result got = call(control, agent::member::CharactersCharacter, CallKind::Method,
                            {Value(QStringLiteral("Default"))});
    const ObjectRef *object = std::get_if<ObjectRef>(&got.value());
    return object ? *object : nullptr;
}

int32_t getLong(DispatchObject &object, DispId id)
{
    const Result result = call(object, id, CallKind::PropertyGet);
    const int32_t *value = std::get_if<int32_t>(&result.value());
    return value ? *value : INT32_MIN;
}

bool isVisible(DispatchObject &object)
{
    const Result result = call(object, character::Visible, CallKind::PropertyGet);
    const Bool *value = std::get_if<Bool>(&result.value());
    return value && value->value();
}

agent::AgentCharacter &engine(const ObjectRef &object)
{
    return static_cast<agent::AgentCharacter &>(*object);
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray fixtureBytes()
{
    const std::vector<uint8_t> bytes = fixture::characterFile();
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
}

} // namespace

class TestAgentControl : public QObject
{
    Q_OBJECT

  private slots:
    void cleanup();
    void loadsTheDefaultCharacter();
    void characterIdsIgnoreCase();
    void positionMovesTheWindow_data();
    void positionMovesTheWindow();
    void showMakesVisibleAndAnimates();
    void callErrors_data();
    void callErrors();
    void loadingTwiceIsRefused();
    void refusedFiles_data();
    void refusedFiles();
    void showsACharacterFile();
    void maskCutsOutTheCharacter();
    void dragMovesTheCharacter();
};

void TestAgentControl::cleanup()
{
    // Every character window goes with its character object.
    QCOMPARE(QApplication::topLevelWidgets().size(), 0);
}

void TestAgentControl::loadsTheDefaultCharacter()
{
    const auto control = agent::createAgentControl();
    const ObjectRef character = loadCharacter(*control);
    QVERIFY(character);
    QCOMPARE(getLong(*character, character::Width), 128);
    QCOMPARE(getLong(*character, character::Height), 128);
    QVERIFY(!isVisible(*character));
}

void TestAgentControl::characterIdsIgnoreCase()
{
    const auto control = agent::createAgentControl();
    const ObjectRef loaded = loadCharacter(*control);
    const Result again = call(*control, agent::member::CharactersCharacter, CallKind::PropertyGet,
                              {Value(QStringLiteral("DEFAULT"))});
    QVERIFY2(again.ok(), qPrintable(describe(again)));
    QCOMPARE(std::get<ObjectRef>(again.value()), loaded);
}

void TestAgentControl::positionMovesTheWindow_data()
{
    QTest::addColumn<Value>("left");
    QTest::addColumn<Value>("top");
    QTest::addColumn<QPoint>("position");
    QTest::newRow("Integer, as the harness puts them")
        << Value(int16_t(400)) << Value(int16_t(300)) << QPoint(400, 300);
    QTest::newRow("Long") << Value(int32_t(12)) << Value(int32_t(34)) << QPoint(12, 34);
    QTest::newRow("negative, partly off the screen")
        << Value(int16_t(-20)) << Value(int32_t(-5)) << QPoint(-20, -5);
    QTest::newRow("16-bit limits") << Value(int32_t(32767)) << Value(int32_t(-32768))
                                   << QPoint(32767, -32768);
}

void TestAgentControl::positionMovesTheWindow()
{
    QFETCH(Value, left);
    QFETCH(Value, top);
    QFETCH(QPoint, position);
    const auto control = agent::createAgentControl();
    const ObjectRef character = loadCharacter(*control);
    QVERIFY(call(*character, character::Top, CallKind::PropertyPut, {top}).ok());
    QVERIFY(call(*character, character::Left, CallKind::PropertyPut, {left}).ok());
    QCOMPARE(engine(character).window().pos(), position);
    QCOMPARE(getLong(*character, character::Left), position.x());
    QCOMPARE(getLong(*character, character::Top), position.y());
}

void TestAgentControl::showMakesVisibleAndAnimates()
{
    const auto control = agent::createAgentControl();
    const ObjectRef character = loadCharacter(*control);
    call(*character, character::Top, CallKind::PropertyPut, {Value(int16_t(300))});
    call(*character, character::Left, CallKind::PropertyPut, {Value(int16_t(400))});
    const Result shown = call(*character, character::Show, CallKind::Method);
    QVERIFY2(shown.ok(), qPrintable(describe(shown)));
    QVERIFY(isVisible(*character));
    QCOMPARE(engine(character).window().pos(), QPoint(400, 300));

    // The first frame is up at once; the showing animation then grows it.
    const QImage first = engine(character).window().frame();
    QVERIFY(!first.isNull());
    QTRY_VERIFY(engine(character).player().framesShown() >= 4);
    QVERIFY(engine(character).window().frame() != first);
    QVERIFY(engine(character).player().playing());
}

void TestAgentControl::callErrors_data()
{
    QTest::addColumn<bool>("onCharacter");
    QTest::addColumn<DispId>("id");
    QTest::addColumn<CallKind>("kind");
    QTest::addColumn<QList<Value>>("args");
    QTest::addColumn<int>("number");

    const Value id(QStringLiteral("Default"));
    const auto control = [](const char *name, DispId member, CallKind kind, QList<Value> args, int number) {
        QTest::newRow(name) << false << member << kind << args << number;
    };
    const auto onCharacter = [](const char *name, DispId member, CallKind kind, QList<Value> args,
                                int number) {
        QTest::newRow(name) << true << member << kind << args << number;
    };
    using namespace agent::member;
    control("load without arguments", CharactersLoad, CallKind::Method, {}, error::WrongArgCount);
    control("load with three arguments", CharactersLoad, CallKind::Method, {id, Value(QString()), id},
            error::WrongArgCount);
    control("load with a number for the id", CharactersLoad, CallKind::Method, {Value(int32_t(1))},
            error::TypeMismatch);
    control("load with a number for the file", CharactersLoad, CallKind::Method, {id, Value(int16_t(1))},
            error::TypeMismatch);
    control("load as a property", CharactersLoad, CallKind::PropertyGet, {id}, error::NotSupported);
    control("character not loaded", CharactersCharacter, CallKind::Method, {Value(QStringLiteral("Кот 🐈"))},
            error::ComponentFailed);
    control("character without an id", CharactersCharacter, CallKind::Method, {}, error::WrongArgCount);
    control("character put", CharactersCharacter, CallKind::PropertyPut, {id}, error::NotSupported);
    control("unknown member of the control", 0x12345, CallKind::Method, {}, error::NotSupported);
    onCharacter("put Width", character::Width, CallKind::PropertyPut, {Value(int32_t(5))},
                error::NotSupported);
    onCharacter("get Visible with an argument", character::Visible, CallKind::PropertyGet,
                {Value(int32_t(5))}, error::WrongArgCount);
    onCharacter("put Left a string", character::Left, CallKind::PropertyPut, {Value(QStringLiteral("400"))},
                error::TypeMismatch);
    onCharacter("put Top past 16 bits", character::Top, CallKind::PropertyPut, {Value(int32_t(70000))},
                error::InvalidPropertyValue);
    onCharacter("put Left without a value", character::Left, CallKind::PropertyPut, {}, error::WrongArgCount);
    onCharacter("Show with a string", character::Show, CallKind::Method, {Value(QStringLiteral("fast"))},
                error::TypeMismatch);
    onCharacter("Show with two arguments", character::Show, CallKind::Method,
                {Value(Bool::of(true)), Value(Bool::of(true))}, error::WrongArgCount);
    onCharacter("unknown member of the character", 0x60020099, CallKind::PropertyGet, {},
                error::NotSupported);
}

void TestAgentControl::callErrors()
{
    QFETCH(bool, onCharacter);
    QFETCH(DispId, id);
    QFETCH(CallKind, kind);
    QFETCH(QList<Value>, args);
    QFETCH(int, number);
    const auto control = agent::createAgentControl();
    const ObjectRef character = loadCharacter(*control);
    DispatchObject &target = onCharacter ? *character : *control;
    const Result result = call(target, id, kind, Args(args.begin(), args.end()));
    QVERIFY(!result.ok());
    QCOMPARE(result.error().number, number);
    QVERIFY(!result.error().description.isEmpty());
    QVERIFY(!isVisible(*character));
}

void TestAgentControl::loadingTwiceIsRefused()
{
    const auto control = agent::createAgentControl();
    const ObjectRef first = loadCharacter(*control);
    const Result again =
        call(*control, agent::member::CharactersLoad, CallKind::Method, {Value(QStringLiteral("default"))});
    QVERIFY(!again.ok());
    QCOMPARE(again.error().number, error::ComponentFailed);
    QCOMPARE(again.error().description, QStringLiteral("The character \"default\" is already loaded."));
}

void TestAgentControl::refusedFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray valid = fixtureBytes();
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("wrong signature") << QByteArray("GIF89a this is a picture, not a character");
    QTest::newRow("web-split character") << QByteArray::fromHex("c4abcdab") + QByteArray(64, '\0');
    QTest::newRow("older compound-file character")
        << QByteArray::fromHex("d0cf11e0a1b11ae1") + QByteArray(64, '\0');
    QTest::newRow("truncated after the header") << valid.left(36);
    QTest::newRow("truncated by one byte") << valid.left(valid.size() - 1);
    QTest::newRow("missing file") << QByteArray("(no file)");
}

void TestAgentControl::refusedFiles()
{
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // A Cyrillic name: file names reach the decoder and the message intact.
    const QString path = dir.filePath(QStringLiteral("персонаж.acs"));
    if (bytes != "(no file)") QVERIFY(writeFile(path, bytes));

    const auto control = agent::createAgentControl();
    const Result loaded = call(*control, agent::member::CharactersLoad, CallKind::Method,
                               {Value(QStringLiteral("Default")), Value(path)});
    QVERIFY(!loaded.ok());
    QCOMPARE(loaded.error().number, error::ComponentFailed);
    const acs::Result<acs::Character> direct =
        acs::Character::loadFile(QFile::encodeName(path).toStdString());
    QVERIFY(!direct.ok());
    // The decoder's reason, with the path named once.
    const QString description = loaded.error().description;
    QVERIFY2(description.startsWith(QLatin1String("Cannot load the character")), qPrintable(description));
    QVERIFY2(description.endsWith(QString::fromStdString(direct.error().describe())),
             qPrintable(description));
    QCOMPARE(description.count(path), 1);
    // Nothing was loaded under the id.
    QVERIFY(!call(*control, agent::member::CharactersCharacter, CallKind::Method,
                  {Value(QStringLiteral("Default"))})
                 .ok());
}

void TestAgentControl::showsACharacterFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fixture.acs"));
    QVERIFY(writeFile(path, fixtureBytes()));
    const auto control = agent::createAgentControl();
    const ObjectRef character = loadCharacter(*control, path);
    QVERIFY(character);
    QCOMPARE(getLong(*character, character::Width), fixture::FrameSide);
    // Showing frame 0 is the red body, frame 1 adds the blue patch at (4, 4).
    // Frames are recorded as they come, so a busy machine cannot skip one.
    QList<QRgb> centres;
    const CharacterWindow &window = engine(character).window();
    QObject::connect(&engine(character).player(), &agent::AnimationPlayer::frameChanged, &window,
                     [&centres](const QImage &frame) { centres << frame.pixel(5, 5); });
    QVERIFY(call(*character, character::Show, CallKind::Method, {Value(Bool::of(false))}).ok());
    QCOMPARE(window.frame().pixel(0, 0), fixture::BodyColor);
    QTRY_VERIFY(centres.size() >= 2);
    QCOMPARE(centres.mid(0, 2), QList<QRgb>({fixture::BodyColor, fixture::PatchColor}));
}

void TestAgentControl::maskCutsOutTheCharacter()
{
    const auto control = agent::createAgentControl();
    const ObjectRef character = loadCharacter(*control);
    QVERIFY(call(*character, character::Show, CallKind::Method, {Value(Bool::of(true))}).ok());
    // The offscreen platform has no masks, so none is asked of it.
    QVERIFY(engine(character).window().mask().isEmpty());
    const QImage frame = engine(character).window().frame();
    const QRegion mask = CharacterWindow::opaqueRegion(frame);
    for (const QPoint corner : {QPoint(0, 0), QPoint(127, 0), QPoint(0, 127), QPoint(127, 127)}) {
        QCOMPARE(qAlpha(frame.pixel(corner)), 0);
        QVERIFY2(!mask.contains(corner), qPrintable(QStringLiteral("%1,%2").arg(corner.x()).arg(corner.y())));
    }
    QVERIFY(mask.contains(QPoint(64, 72))); // the middle of the body
    int opaqueOutside = 0;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            opaqueOutside += qAlpha(frame.pixel(x, y)) == 255 && !mask.contains(QPoint(x, y));
    QCOMPARE(opaqueOutside, 0);

    QImage clear(8, 8, QImage::Format_ARGB32_Premultiplied);
    clear.fill(Qt::transparent);
    QVERIFY(!CharacterWindow::opaqueRegion(clear).intersects(clear.rect()));
    QVERIFY(!CharacterWindow::opaqueRegion(clear).isEmpty()); // empty would mean "no mask at all"
}

void TestAgentControl::dragMovesTheCharacter()
{
    const auto control = agent::createAgentControl();
    const ObjectRef character = loadCharacter(*control);
    call(*character, character::Left, CallKind::PropertyPut, {Value(int16_t(100))});
    call(*character, character::Top, CallKind::PropertyPut, {Value(int16_t(200))});
    call(*character, character::Show, CallKind::Method, {Value(Bool::of(true))});
    CharacterWindow &window = engine(character).window();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QTest::mousePress(&window, Qt::LeftButton, {}, QPoint(64, 72));
    QTest::mouseMove(&window, QPoint(94, 52));
    QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(94, 52));
    QCOMPARE(getLong(*character, character::Left), 130);
    QCOMPARE(getLong(*character, character::Top), 180);
}

QTEST_MAIN(TestAgentControl)
#include "tst_agentcontrol.moc"
