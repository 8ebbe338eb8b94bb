// The template component an author starts from: what --verify does not
// cover. Properties outside their range or of the wrong type are refused
// and leave the stored value alone, stored settings out of range are
// ignored, and hostile text shows without a crash.
#include "platform/hosting/classregistry.h"

#include <QApplication>
#include <QtTest>

using namespace component;

class TestTemplateComponent : public QObject
{
    Q_OBJECT
  private slots:
    void refusesBadPropertyValues_data();
    void refusesBadPropertyValues();
    void ignoresBadStoredSettings();
    void showsHostileText();

  private:
    ObjectRef create(const NamedValues &stored = {})
    {
        registry_.setPluginFolders({QStringLiteral(TEMPLATE_COMPONENT_DIR)}, {});
        hosting::Created created = registry_.create(QString::fromLatin1(VellixClass.data()), stored);
        if (!created.origin.endsWith(QLatin1String("templatecomponent.so"))) return nullptr;
        return created.object;
    }

    hosting::ClassRegistry registry_;
};

void TestTemplateComponent::refusesBadPropertyValues_data()
{
    QTest::addColumn<DispId>("id");
    QTest::addColumn<Value>("value");
    QTest::addColumn<int>("error");
    QTest::newRow("colour above 0xFFFFFF") << prop::BalloonColor << Value(int32_t(0x1000000)) << 380;
    QTest::newRow("negative colour") << prop::TextColor << Value(int32_t(-1)) << 380;
    QTest::newRow("Language 0") << prop::Language << Value(int32_t(0)) << 380;
    QTest::newRow("BalloonPlace 5") << prop::BalloonPlace << Value(int32_t(5)) << 380;
    QTest::newRow("HAlignmentText 3") << prop::HAlignmentText << Value(int32_t(3)) << 380;
    QTest::newRow("VAlignmentCaption -1") << prop::VAlignmentCaption << Value(int32_t(-1)) << 380;
    QTest::newRow("a string for a colour") << prop::FrameColor << Value(QStringLiteral("red")) << 13;
    QTest::newRow("a Long for LineSeparator") << prop::LineSeparator << Value(int32_t(1)) << 13;
}

void TestTemplateComponent::refusesBadPropertyValues()
{
    QFETCH(DispId, id);
    QFETCH(Value, value);
    QFETCH(int, error);
    const ObjectRef object = create();
    QVERIFY(object);
    Args none;
    const Value before = object->invoke(id, CallKind::PropertyGet, none).value();
    Args args{Arg(value)};
    const Result put = object->invoke(id, CallKind::PropertyPut, args);
    QVERIFY(!put.ok());
    QCOMPARE(put.error().number, error);
    QCOMPARE(object->invoke(id, CallKind::PropertyGet, none).value(), before);
}

void TestTemplateComponent::ignoresBadStoredSettings()
{
    const ObjectRef object = create({{QStringLiteral("balloonplace"), int32_t(9)},
                                     {QStringLiteral("BalloonColor"), int32_t(0x123456)},
                                     {QStringLiteral("textcolor"), QStringLiteral("black")}});
    QVERIFY(object);
    Args none;
    QCOMPARE(object->invoke(prop::BalloonPlace, CallKind::PropertyGet, none).value(), Value(int32_t(0)));
    QCOMPARE(object->invoke(prop::BalloonColor, CallKind::PropertyGet, none).value(),
             Value(int32_t(0x123456)));
    QCOMPARE(object->invoke(prop::TextColor, CallKind::PropertyGet, none).value(), Value(int32_t(0)));
}

void TestTemplateComponent::showsHostileText()
{
    const ObjectRef object = create();
    QVERIFY(object);
    const QString huge = QString(1'000'000, QLatin1Char('x'));
    const QString mixed = QStringLiteral("Привет \u05e9\u05dc\u05d5\u05dd \U0001F388 ") + huge.left(1999) +
                          QStringLiteral("\U0001F388");
    for (const QString &text : {huge, mixed}) {
        Value icon(int32_t(0)), shape(int32_t(1)), buttons(int32_t(12)), modal(Bool::of(false)),
            onTop(Bool::of(true));
        Args args{Arg(mixed),          Arg(text),         Arg::byRef(icon), Arg::byRef(shape),
                  Arg::byRef(buttons), Arg::byRef(modal), Arg::byRef(onTop)};
        const Result shown = object->invoke(VellixMethods.ShowVellix, CallKind::Method, args);
        QVERIFY(shown.ok());
        QCOMPARE(std::get<MsgResult>(shown.value()).Status, 0);
        const QList<QWidget *> windows = QApplication::topLevelWidgets();
        const auto up =
            std::find_if(windows.begin(), windows.end(), [](QWidget *w) { return w->isVisible(); });
        QVERIFY(up != windows.end());
        QVERIFY((*up)->width() < 1000);
        (*up)->close();
        QCoreApplication::processEvents();
    }
}

QTEST_MAIN(TestTemplateComponent)
#include "tst_templatecomponent.moc"
