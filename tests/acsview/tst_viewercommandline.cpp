// The viewer's command line: options parsed from the table, the batch
// commands on a fixture character (listing, exports, thumbnails) and the
// errors a script can meet.
#include "batchcommands.h"
#include "commandline.h"
#include "fixturecharacter.h"

#include "acscharacter.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

using acsview::CommandLine;

namespace
{

std::unique_ptr<agent::AcsCharacter> fixtureCharacter()
{
    auto loaded = acs::Character::load(fixture::characterFile());
    return loaded ? std::make_unique<agent::AcsCharacter>(std::move(loaded.value())) : nullptr;
}

QStringList list(std::initializer_list<const char *> items)
{
    QStringList strings;
    for (const char *item : items)
        strings << QString::fromUtf8(item);
    return strings;
}

QString render(const CommandLine &line)
{
    QStringList parts;
    for (auto it = line.options.cbegin(); it != line.options.cend(); ++it)
        parts << it.key() + QLatin1Char('=') + it.value().join(QLatin1Char(','));
    return parts.join(QLatin1Char(' ')) + QLatin1String(" | ") + line.files.join(QLatin1Char(','));
}

} // namespace

class TestViewerCommandLine : public QObject
{
    Q_OBJECT
  private slots:
    void parses_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("parsed"); // or the error
        QTest::newRow("nothing") << QStringList() << " | ";
        QTest::newRow("a file and a flag") << list({"--mute", "a.acs"}) << "mute= | a.acs";
        QTest::newRow("short and single-dash long") << list({"-h", "-version"}) << "help= version= | ";
        QTest::newRow("two values, file after") << list({"--export-sheet", "Wave", "out dir", "Робот.acs"})
                                                << "export-sheet=Wave,out dir | Робот.acs";
        QTest::newRow("three values")
            << list({"--thumbnail", "128", "in.acs", "out.png"}) << "thumbnail=128,in.acs,out.png | ";
        QTest::newRow("attached value")
            << list({"--export-all=/tmp/x", "a.acs"}) << "export-all=/tmp/x | a.acs";
        QTest::newRow("after --, options are files") << list({"--", "--list"}) << " | --list";
        QTest::newRow("a value that looks like an option")
            << list({"--export-all", "--list"}) << "export-all=--list | ";
        QTest::newRow("unknown") << list({"a.acs", "--bogus"}) << "Unknown option 'bogus'.";
        QTest::newRow("unknown short") << list({"-x"}) << "Unknown option 'x'.";
        QTest::newRow("missing the second value")
            << list({"--export-frames", "Wave"}) << "Missing value after '--export-frames'.";
        QTest::newRow("value on a flag") << list({"--list=yes"}) << "Unexpected value after '--list=yes'.";
        QTest::newRow("attached value, two wanted")
            << list({"--export-sheet=Wave", "dir"}) << "Unexpected value after '--export-sheet=Wave'.";
    }
    void parses()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, parsed);
        QString error;
        const std::optional<CommandLine> line = acsview::parseCommandLine(arguments, &error);
        QCOMPARE(line ? render(*line) : error, parsed);
    }

    void helpShowsEveryRowWithItsValues()
    {
        const QString help = acsview::helpText(QStringLiteral("viewer"));
        QVERIFY(help.startsWith(QLatin1String("Usage: viewer [options] [FILE.acs]\n")));
        for (const acsview::OptionRow &row : acsview::optionTable()) {
            QString names = QLatin1String("--") + QLatin1String(row.name);
            if (*row.arguments) names += QLatin1Char(' ') + QLatin1String(row.arguments);
            QVERIFY2(help.contains(names + QLatin1Char(' ')), row.name);
            QVERIFY2(help.contains(QLatin1String(row.help)), row.name);
        }
        QVERIFY(help.contains(QLatin1String("  -h, --help ")));
    }

    void listsAnimationsInFileOrder()
    {
        const auto character = fixtureCharacter();
        QVERIFY(character);
        QString text;
        QTextStream out(&text);
        QCOMPARE(acsview::listAnimations(*character, out), 0);
        out.flush();
        QCOMPARE(text.split(QLatin1Char('\n'), Qt::SkipEmptyParts),
                 list({"Showing\t2\t200", "RestPose\t1\t100", "Wave\t4\t300", "Goes\t1\t100",
                       "GoesReturn\t1\t100", "Branchy\t4\t400"}));
    }

    void exportsIntoANewFolderByName()
    {
        const auto character = fixtureCharacter();
        QTemporaryDir dir;
        QString errors;
        QTextStream err(&errors);
        const QString folder = dir.filePath(QStringLiteral("new/Папка"));
        QCOMPARE(acsview::exportSheetTo(*character, QStringLiteral("wave"), folder, err), 0);
        QFile index(folder + QLatin1String("/Wave.json"));
        QVERIFY(index.open(QIODevice::ReadOnly));
        QCOMPARE(QJsonDocument::fromJson(index.readAll())[QLatin1String("animation")].toString(),
                 QStringLiteral("Wave"));
        QCOMPARE(QImage(folder + QLatin1String("/Wave.png")).size(),
                 QSize(4 * fixture::FrameSide, fixture::FrameSide));
        QCOMPARE(acsview::exportFramesTo(*character, QStringLiteral("Showing"), folder, err), 0);
        QVERIFY(QFile::exists(folder + QLatin1String("/Showing_001.png")));
        QCOMPARE(acsview::exportAllTo(*character, dir.filePath(QStringLiteral("all")), err), 0);
        QCOMPARE(QDir(dir.filePath(QStringLiteral("all"))).entryList(QDir::Files).size(), 2 * 6);
        QVERIFY(errors.isEmpty());
    }

    void exportErrors()
    {
        const auto character = fixtureCharacter();
        QTemporaryDir dir;
        QFile blocker(dir.filePath(QStringLiteral("file")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QString errors;
        QTextStream err(&errors);
        QCOMPARE(acsview::exportSheetTo(*character, QStringLiteral("Dance"), dir.path(), err), 1);
        QCOMPARE(acsview::exportAllTo(*character, blocker.fileName(), err), 1);
        QCOMPARE(acsview::exportFramesTo(*character, QStringLiteral("Wave"),
                                         blocker.fileName() + QLatin1String("/x"), err),
                 1);
        err.flush();
        const QStringList lines = errors.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0], QStringLiteral("The character has no animation \"Dance\"."));
        QVERIFY(lines[1].startsWith(QLatin1String("Cannot make the folder ")));
        QVERIFY(lines[2].startsWith(QLatin1String("Cannot make the folder ")));
    }

    void thumbnailIsTheRestPoseFittedToTheSize()
    {
        const auto character = fixtureCharacter();
        const std::optional<QImage> full = acsview::thumbnailImage(*character, 256);
        QVERIFY(full);
        QCOMPARE(full->convertToFormat(QImage::Format_ARGB32),
                 character->frameImage(*character->restPose(), 0).convertToFormat(QImage::Format_ARGB32));
        const std::optional<QImage> small = acsview::thumbnailImage(*character, 8);
        QVERIFY(small);
        QCOMPARE(small->size(), QSize(8, 8));
    }

    void thumbnailSizes_data()
    {
        QTest::addColumn<QString>("size");
        QTest::addColumn<int>("code");
        QTest::newRow("usual") << "128" << 0;
        QTest::newRow("zero") << "0" << 2;
        QTest::newRow("negative") << "-5" << 2;
        QTest::newRow("huge") << "100000" << 2;
        QTest::newRow("not a number") << "big" << 2;
    }
    void thumbnailSizes()
    {
        QFETCH(QString, size);
        QFETCH(int, code);
        const auto character = fixtureCharacter();
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("thumb.png"));
        QString errors;
        QTextStream err(&errors);
        QCOMPARE(acsview::writeThumbnail(*character, size, out, err), code);
        QCOMPARE(QFile::exists(out), code == 0);
        QCOMPARE(acsview::writeThumbnail(*character, QStringLiteral("64"),
                                         dir.filePath(QStringLiteral("no/such/x.png")), err),
                 1);
    }
};

QTEST_GUILESS_MAIN(TestViewerCommandLine)
#include "tst_viewercommandline.moc"
