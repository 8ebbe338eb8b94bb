#include "platform/balloondriver/balloondriver.h"

#include <component/component.h>

#include <QJsonArray>
#include <QJsonObject>
#include <QPluginLoader>
#include <QTest>
#include <QWidget>

using namespace component;

class TestBalloonPlugin : public QObject
{
    Q_OBJECT
  private slots:
    void initTestCase();
    void cleanup();
    void listsBothClasses();
    void createsEachClassAnsweringItsOwnIdentifiers_data();
    void createsEachClassAnsweringItsOwnIdentifiers();
    void refusesUnknownClass();

  private:
    QPluginLoader loader_{QStringLiteral(BALLOON_PLUGIN_FILE)};
    ComponentPlugin *plugin_ = nullptr;
};

void TestBalloonPlugin::initTestCase()
{
    QObject *instance = loader_.instance();
    QVERIFY2(instance, qPrintable(loader_.errorString()));
    plugin_ = qobject_cast<ComponentPlugin *>(instance);
    QVERIFY(plugin_);
}

void TestBalloonPlugin::cleanup()
{
    QTRY_VERIFY(balloondriver::visibleWindows().isEmpty());
}

void TestBalloonPlugin::listsBothClasses()
{
    const QJsonArray classes = loader_.metaData()
                                   .value(QStringLiteral("MetaData"))
                                   .toObject()
                                   .value(QStringLiteral("classes"))
                                   .toArray();
    QCOMPARE(classes.size(), 2);
    QCOMPARE(classes.at(0).toString(), QStringLiteral("pVellix.Vellix"));
    QCOMPARE(classes.at(1).toString(), QStringLiteral("Quorvane.Quorvane"));
}

void TestBalloonPlugin::createsEachClassAnsweringItsOwnIdentifiers_data()
{
    QTest::addColumn<QString>("classId");
    QTest::addColumn<DispId>("own");
    QTest::addColumn<DispId>("foreign"); // an identifier only the other class has
    QTest::newRow("pVellix.Vellix") << QStringLiteral("pVellix.Vellix") << VellixMethods.ShowVellix
                                    << QuorvaneMethods.MsgInput;
    QTest::newRow("Quorvane.Quorvane")
        << QStringLiteral("Quorvane.Quorvane") << QuorvaneMethods.ShowVellix << VellixMethods.ShowVellix;
}

void TestBalloonPlugin::createsEachClassAnsweringItsOwnIdentifiers()
{
    QFETCH(QString, classId);
    QFETCH(DispId, own);
    QFETCH(DispId, foreign);

    QString error;
    const ObjectRef object = plugin_->create(classId, {{QStringLiteral("balloonplace"), int32_t(4)}}, &error);
    QVERIFY2(object, qPrintable(error));

    Args none;
    const Result place = object->invoke(prop::BalloonPlace, CallKind::PropertyGet, none);
    QVERIFY(place.ok());
    QCOMPARE(std::get<int32_t>(place.value()), 4);

    Value text = QStringLiteral("Hello");
    Value icon = int32_t(1), shape = int32_t(1), buttons = int32_t(7);
    Value modal = Bool::of(true), onTop = Bool::of(false);
    const auto args = [&] {
        return Args{Arg(QStringLiteral("Heading")),
                    Arg(text),
                    Arg::byRef(icon),
                    Arg::byRef(shape),
                    Arg::byRef(buttons),
                    Arg::byRef(modal),
                    Arg::byRef(onTop)};
    };
    Args foreignArgs = args();
    const Result refused = object->invoke(foreign, CallKind::Method, foreignArgs);
    QVERIFY(!refused.ok());
    QCOMPARE(refused.error().number, error::NotSupported);

    balloondriver::BalloonDriver driver;
    balloondriver::ModalAnswerer answerer(driver, [](QWidget *balloon) {
        return balloondriver::BalloonDriver::pressButtonCaptioned(
            balloon, {QStringLiteral("Ok"), QStringLiteral("ОК")});
    });
    Args ownArgs = args();
    const Result shown = object->invoke(own, CallKind::Method, ownArgs);
    QVERIFY(shown.ok());
    QVERIFY(answerer.appeared());
    QCOMPARE(answerer.answerError(), QString());
    QCOMPARE(std::get<MsgResult>(shown.value()).Button, 1);
}

void TestBalloonPlugin::refusesUnknownClass()
{
    QString error;
    QVERIFY(!plugin_->create(QStringLiteral("Other.Thing"), {}, &error));
    QVERIFY(error.contains(QLatin1String("Other.Thing")));
}

QTEST_MAIN(TestBalloonPlugin)
#include "tst_balloonplugin.moc"
