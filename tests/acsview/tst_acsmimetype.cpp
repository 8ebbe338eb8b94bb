// The character file type as the desktop sees it: the package file, compiled
// by update-mime-database into a private data folder, recognises a character
// by its name and by its first bytes, and nothing else by its bytes.
#include "fixturecharacter.h"

#include <QFile>
#include <QMimeDatabase>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestAcsMimeType : public QObject
{
    Q_OBJECT
  private slots:
    void initTestCase()
    {
        QVERIFY(home_.isValid());
        const QString packages = home_.filePath(QStringLiteral("mime/packages"));
        QVERIFY(QDir().mkpath(packages));
        QVERIFY(
            QFile::copy(QStringLiteral(MIME_PACKAGE_FILE), packages + QLatin1String("/acsview-mime.xml")));
        QProcess compile;
        compile.start(QStringLiteral("update-mime-database"), {home_.filePath(QStringLiteral("mime"))});
        if (!compile.waitForStarted()) QSKIP("update-mime-database (shared-mime-info) is not installed");
        QVERIFY(compile.waitForFinished(30000));
        QCOMPARE(compile.exitCode(), 0);
        // Only the private folder, so the answer does not hang on the machine's own types.
        qputenv("XDG_DATA_HOME", home_.path().toLocal8Bit());
        qputenv("XDG_DATA_DIRS", home_.path().toLocal8Bit());
    }

    void byContent_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("character");
        const std::vector<uint8_t> file = fixture::characterFile();
        const QByteArray whole(reinterpret_cast<const char *>(file.data()), qsizetype(file.size()));
        QTest::newRow("a character") << whole << true;
        QTest::newRow("its signature and nothing else") << whole.left(4) << true;
        QTest::newRow("text") << QByteArray("not a character\n") << false;
        QTest::newRow("signature one byte off") << QByteArray("\x00\xc3\xab\xcd\xab", 5) << false;
        QTest::newRow("signature the other way round") << QByteArray("\xab\xcd\xab\xc3", 4) << false;
    }
    void byContent()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, character);
        QCOMPARE(QMimeDatabase().mimeTypeForData(bytes).name() ==
                     QLatin1String("application/x-acs-character"),
                 character);
    }

    void byName()
    {
        const QMimeType type =
            QMimeDatabase().mimeTypeForFile(QStringLiteral("Робот.ACS"), QMimeDatabase::MatchExtension);
        QCOMPARE(type.name(), QStringLiteral("application/x-acs-character"));
        QCOMPARE(type.comment(), QStringLiteral("Animated character"));
    }

  private:
    QTemporaryDir home_;
};

QTEST_GUILESS_MAIN(TestAcsMimeType)
#include "tst_acsmimetype.moc"
