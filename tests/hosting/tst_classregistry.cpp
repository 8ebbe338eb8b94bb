// Creating controls by class identifier: plugins that replace built-ins,
// missing classes and plugins that fail, each reported by class and file.
#include "platform/hosting/classregistry.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace component;

namespace
{

class Dummy : public DispatchObject
{
  public:
    Result invoke(DispId, CallKind, Args &) override { return Value(QStringLiteral("built-in")); }
};

hosting::Factory dummyFactory()
{
    return [](const NamedValues &, QString *) { return std::make_shared<Dummy>(); };
}

} // namespace

class TestClassRegistry : public QObject
{
    Q_OBJECT
  private slots:
    void builtinWithoutOverride()
    {
        hosting::ClassRegistry registry;
        registry.addBuiltin(QStringLiteral("pVellix.Vellix"), dummyFactory());
        registry.setPluginFolders({}, {QStringLiteral(EXAMPLE_COMPONENT_DIR)});
        const hosting::Created created = registry.create(QStringLiteral("pVellix.Vellix"), {});
        QVERIFY(created.object);
        QCOMPARE(created.origin, QStringLiteral("built-in"));
    }

    void pluginOnTheComponentPathReplacesTheBuiltin()
    {
        qputenv("HARNESS_COMPONENT_PATH", "relative/ignored::" EXAMPLE_COMPONENT_DIR);
        const QStringList folders = hosting::ClassRegistry::overridingFoldersFromEnvironment();
        qunsetenv("HARNESS_COMPONENT_PATH");
        QCOMPARE(folders, QStringList{QStringLiteral(EXAMPLE_COMPONENT_DIR)});

        hosting::ClassRegistry registry;
        registry.addBuiltin(QStringLiteral("Quorvane.Quorvane"), dummyFactory());
        registry.setPluginFolders(folders, {});
        const NamedValues stored{{QStringLiteral("balloonplace"), int32_t(3)}};
        const hosting::Created created = registry.create(QStringLiteral("Quorvane.Quorvane"), stored);
        QVERIFY2(created.object, qPrintable(created.error));
        QVERIFY(created.origin.endsWith(QLatin1String("examplecomponent.so")));

        // The plugin's instance answers by identifier and started from the stored settings.
        Args none;
        Result place = created.object->invoke(prop::BalloonPlace, CallKind::PropertyGet, none);
        QCOMPARE(place.value(), Value(int32_t(3)));
        Value icon = int32_t(4);
        Args args{Value(QStringLiteral("Heading")),
                  Value(QStringLiteral("Text")),
                  Arg::byRef(icon),
                  Value(int32_t(0)),
                  Value(int32_t(7)),
                  Value(Bool::of(true)),
                  Value(Bool::of(true))};
        const Result shown = created.object->invoke(QuorvaneMethods.MsgInput, CallKind::Method, args);
        QVERIFY(shown.ok());
        QCOMPARE(std::get<MsgResult>(shown.value()).Button, 7);
        QCOMPARE(std::get<MsgResult>(shown.value()).Text, QStringLiteral("Heading"));
        QCOMPARE(icon, Value(int32_t(5))); // written back through the reference
    }

    void missingClassNamesTheClassAndTheFolders()
    {
        hosting::ClassRegistry registry;
        registry.setPluginFolders({QStringLiteral(EXAMPLE_COMPONENT_DIR)}, {QStringLiteral("/nonexistent")});
        const hosting::Created created = registry.create(QStringLiteral("No.Such"), {});
        QVERIFY(!created.object);
        QVERIFY(created.error.contains(QLatin1String("\"No.Such\": no component provides this class")));
        QVERIFY(created.error.contains(QLatin1String("/nonexistent")));
    }

    void pluginThatFailsToLoadNamesClassAndFile()
    {
        hosting::ClassRegistry registry;
        registry.setPluginFolders({QStringLiteral(BROKEN_COMPONENT_DIR)}, {});
        const hosting::Created created = registry.create(QStringLiteral("Broken.Broken"), {});
        QVERIFY(!created.object);
        QVERIFY2(created.error.contains(QLatin1String("\"Broken.Broken\"")), qPrintable(created.error));
        QVERIFY2(created.error.contains(QLatin1String("brokencomponent.so")), qPrintable(created.error));
        QVERIFY2(created.error.contains(QLatin1String("harness_test_symbol_nobody_defines")),
                 qPrintable(created.error));
    }

    void filesThatAreNotPluginsAreSkipped()
    {
        QTemporaryDir dir;
        QFile junk(dir.filePath(QStringLiteral("junk.so")));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write(QByteArray(4096, '\x7f'));
        junk.close();
        hosting::ClassRegistry registry;
        registry.addBuiltin(QStringLiteral("pVellix.Vellix"), dummyFactory());
        registry.setPluginFolders({dir.path()}, {});
        QCOMPARE(registry.create(QStringLiteral("pVellix.Vellix"), {}).origin, QStringLiteral("built-in"));
    }
};

QTEST_MAIN(TestClassRegistry)
#include "tst_classregistry.moc"
