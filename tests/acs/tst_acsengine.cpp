// The engine's side of a damaged character file: an image that cannot be
// decoded is reported once, naming the animation, frame and image, and the
// frames that show it come out empty (the player skips them).
#include "acscharacter.h"
#include "acsfixtures.h"

#include <QTemporaryDir>
#include <QtTest>

#include <fstream>

using namespace acsfixtures;

namespace
{

QStringList warnings;

void collect(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtWarningMsg) warnings << message;
}

} // namespace

class TestAcsEngine : public QObject
{
    Q_OBJECT

  private slots:
    void brokenImageReportedOnce()
    {
        auto file = acswriter::write(smallCharacter());
        file.bytes.at(file.layout.images[small::Body].offset + 10) = 5; // pixel data must start with 0
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("broken.acs"));
        std::ofstream(path.toStdString(), std::ios::binary)
            .write(reinterpret_cast<const char *>(file.bytes.data()), std::streamsize(file.bytes.size()));
        QString why;
        const auto character = agent::AcsCharacter::load(path, &why);
        QVERIFY2(character, qPrintable(why));
        const int wave = *character->findAnimation(QStringLiteral("Wave"));

        warnings.clear();
        const QtMessageHandler previous = qInstallMessageHandler(collect);
        for (int round = 0; round < 3; ++round)
            for (int frame = 0; frame < character->frameCount(wave); ++frame)
                if (frame < 2) QVERIFY(character->frameImage(wave, frame).isNull());
        qInstallMessageHandler(previous);

        QCOMPARE(warnings.size(), 1);
        QVERIFY2(warnings[0].startsWith(QLatin1String("animation \"Wave\", frame 0: image 0: pixel data:")),
                 qPrintable(warnings[0]));
        QVERIFY2(warnings[0].endsWith(QLatin1String("frames that show image 0 are skipped")),
                 qPrintable(warnings[0]));
    }
};

QTEST_GUILESS_MAIN(TestAcsEngine)
#include "tst_acsengine.moc"
