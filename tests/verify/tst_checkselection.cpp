// Which checks --verify --only selects, and the names CTest and JUnit take
// as they are.
#include "harness/verify/checks.h"
#include "harness/verify/selection.h"

#include <QSet>
#include <QTest>

using namespace harness::verify;

class TestCheckSelection : public QObject
{
    Q_OBJECT
  private slots:
    void selects_data();
    void selects();
    void portableNames_data();
    void portableNames();
    void catalogueNamesArePortableAndDistinct_data();
    void catalogueNamesArePortableAndDistinct();
};

namespace
{

const QStringList names{QStringLiteral("property.Language"), QStringLiteral("range.MsgInput.IconType"),
                        QStringLiteral("ShowVellix.ButtonsType1.English"),
                        QStringLiteral("ShowVellix.ButtonsType12.English"),
                        QStringLiteral("MsgInput.ButtonsType1.Russian")};

} // namespace

void TestCheckSelection::selects_data()
{
    QTest::addColumn<QStringList>("patterns");
    QTest::addColumn<QStringList>("selected");
    QTest::addColumn<QString>("error");
    QTest::newRow("no pattern: all") << QStringList() << names << QString();
    QTest::newRow("exact name") << QStringList{QStringLiteral("property.Language")}
                                << QStringList{QStringLiteral("property.Language")} << QString();
    QTest::newRow("star crosses dots") << QStringList{QStringLiteral("*.English")}
                                       << QStringList{QStringLiteral("ShowVellix.ButtonsType1.English"),
                                                      QStringLiteral("ShowVellix.ButtonsType12.English")}
                                       << QString();
    QTest::newRow("question mark is one character")
        << QStringList{QStringLiteral("ShowVellix.ButtonsType?.English")}
        << QStringList{QStringLiteral("ShowVellix.ButtonsType1.English")} << QString();
    QTest::newRow("bracket set") << QStringList{QStringLiteral("[pr]*")}
                                 << QStringList{QStringLiteral("property.Language"),
                                                QStringLiteral("range.MsgInput.IconType")}
                                 << QString();
    QTest::newRow("several, in catalogue order, once each")
        << QStringList{QStringLiteral("MsgInput.*"), QStringLiteral("property.*"),
                       QStringLiteral("*.Language")}
        << QStringList{QStringLiteral("property.Language"), QStringLiteral("MsgInput.ButtonsType1.Russian")}
        << QString();
    QTest::newRow("whole name only") << QStringList{QStringLiteral("property")} << QStringList()
                                     << QStringLiteral("no check matches 'property'");
    QTest::newRow("case matters") << QStringList{QStringLiteral("PROPERTY.*")} << QStringList()
                                  << QStringLiteral("no check matches 'PROPERTY.*'");
    QTest::newRow("one pattern of several matches nothing")
        << QStringList{QStringLiteral("property.*"), QStringLiteral("nothing.*")} << QStringList()
        << QStringLiteral("no check matches 'nothing.*'");
    QTest::newRow("empty pattern") << QStringList{QString()} << QStringList()
                                   << QStringLiteral("no check matches ''");
}

void TestCheckSelection::selects()
{
    QFETCH(QStringList, patterns);
    QFETCH(QStringList, selected);
    QFETCH(QString, error);
    QString got;
    QCOMPARE(selectChecks(names, patterns, &got), selected);
    QCOMPARE(got, error);
}

void TestCheckSelection::portableNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("portable");
    QTest::newRow("letters, digits, dot, dash, underscore")
        << QStringLiteral("placement.top-left_2.English") << true;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("space") << QStringLiteral("Yes for all") << false;
    QTest::newRow("slash") << QStringLiteral("a/b") << false;
    QTest::newRow("colon") << QStringLiteral("a:b") << false;
    QTest::newRow("glob star") << QStringLiteral("a*") << false;
    QTest::newRow("Cyrillic") << QStringLiteral("ShowVellix.\u0414\u0430") << false;
}

void TestCheckSelection::portableNames()
{
    QFETCH(QString, name);
    QFETCH(bool, portable);
    QCOMPARE(isPortableCheckName(name), portable);
}

void TestCheckSelection::catalogueNamesArePortableAndDistinct_data()
{
    QTest::addColumn<bool>("withSnapshots");
    QTest::newRow("without snapshots") << false;
    QTest::newRow("with snapshots") << true;
}

void TestCheckSelection::catalogueNamesArePortableAndDistinct()
{
    QFETCH(bool, withSnapshots);
    SnapshotOptions snapshots;
    if (withSnapshots) snapshots.folder = QStringLiteral("/nonexistent");
    QSet<QString> seen;
    const QList<Check> catalog = checkCatalog(snapshots);
    QVERIFY(catalog.size() >= 60);
    for (const Check &check : catalog) {
        QVERIFY2(isPortableCheckName(check.name), qPrintable(check.name));
        QVERIFY2(!seen.contains(check.name), qPrintable(QStringLiteral("twice: ") + check.name));
        seen.insert(check.name);
    }
}

QTEST_GUILESS_MAIN(TestCheckSelection)
#include "tst_checkselection.moc"
