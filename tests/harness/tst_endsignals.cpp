// Signals from outside reach the event loop as an ordinary call, once each.
#include "harness/app/endsignals.h"

#include <QTest>

#include <csignal>

class TestEndSignals : public QObject
{
    Q_OBJECT
  private slots:
    void eachSignalEndsOnce_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGHUP") << SIGHUP;
    }
    void eachSignalEndsOnce()
    {
        QFETCH(int, signal);
        std::vector<int> got;
        {
            const harness::EndSignals ends([&got](int s) { got.push_back(s); });
            std::raise(signal);
            QTRY_COMPARE(got.size(), size_t(1));
            QCOMPARE(got.front(), signal);
        }
        // Afterwards the signal's default comes back.
        struct sigaction now = {};
        ::sigaction(signal, nullptr, &now);
        QVERIFY(now.sa_handler == SIG_DFL);
    }
};

QTEST_GUILESS_MAIN(TestEndSignals)
#include "tst_endsignals.moc"
