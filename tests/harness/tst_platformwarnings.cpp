// Only the offscreen platform's two complaints about raising and masking are
// dropped: other warnings, and the same words under a category, still pass.
#include "platform/platformwarnings.h"

#include <QLoggingCategory>
#include <QtTest>

namespace
{

QStringList passed;

void collect(QtMsgType, const QMessageLogContext &, const QString &message)
{
    passed << message;
}

Q_LOGGING_CATEGORY(someCategory, "harness.test")

} // namespace

class TestPlatformWarnings : public QObject
{
    Q_OBJECT
  private slots:
    void classifies_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("dropped");
        QTest::newRow("raise") << "default"
                               << "This plugin does not support raise()" << true;
        QTest::newRow("mask") << "default"
                              << "This plugin does not support setting window masks" << true;
        QTest::newRow("no category given") << ""
                                           << "This plugin does not support raise()" << true;
        QTest::newRow("another complaint") << "default"
                                           << "This plugin does not support propagateSizeHints()" << false;
        QTest::newRow("same words, other category") << "qt.qpa"
                                                    << "This plugin does not support raise()" << false;
        QTest::newRow("longer message") << "default"
                                        << "This plugin does not support raise() at all" << false;
    }
    void classifies()
    {
        QFETCH(QString, category);
        QFETCH(QString, message);
        QFETCH(bool, dropped);
        const QByteArray name = category.toLatin1();
        QCOMPARE(
            platform::isUnsupportedFeatureWarning(category.isEmpty() ? nullptr : name.constData(), message),
            dropped);
    }

    void dropsOnlyThoseOnTheirWayToTheHandlerInPlace()
    {
        const QtMessageHandler previous = qInstallMessageHandler(collect);
        platform::dropUnsupportedFeatureWarnings();
        qWarning("This plugin does not support raise()");
        qWarning("This plugin does not support setting window masks");
        qWarning("Something else went wrong");
        qCWarning(someCategory, "This plugin does not support raise()");
        qInstallMessageHandler(previous);
        QCOMPARE(passed, QStringList({QStringLiteral("Something else went wrong"),
                                      QStringLiteral("This plugin does not support raise()")}));
    }
};

QTEST_GUILESS_MAIN(TestPlatformWarnings)
#include "tst_platformwarnings.moc"
