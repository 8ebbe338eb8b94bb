// The common dialog control: filters, what a cancel leaves behind, the
// preset answer of the first file dialog, and calls it cannot serve.
#include "platform/dialogs/commondialog.h"

#include <QtTest>

using namespace component;
using dialogs::CommonDialog;
namespace member = dialogs::member;

namespace
{

class Scripted final : public dialogs::DialogProvider
{
  public:
    std::optional<QString> openFile(const QString &, const QString &filter, const QString &) override
    {
        filters << filter;
        return file;
    }
    std::optional<QColor> pickColor(const QColor &) override { return colour; }
    std::optional<QString> file;
    std::optional<QColor> colour;
    QStringList filters;
};

Result call(CommonDialog &dialog, DispId id, CallKind kind, Args args = {})
{
    return dialog.invoke(id, kind, args);
}

} // namespace

class TestCommonDialog : public QObject
{
    Q_OBJECT
  private slots:
    void filters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("qtFilter");
        QTest::newRow("characters") << "Files of the characters|*.acs"
                                    << "Files of the characters (*.acs)";
        QTest::newRow("patterns already in the description") << "Icons (*.ico)|*.ico"
                                                             << "Icons (*.ico)";
        QTest::newRow("Russian, its pattern with a doubled star") << "Файлы значков (**.ico)|*.ico"
                                                                  << "Файлы значков (**.ico)";
        QTest::newRow("other patterns in the description") << "Pictures (*.png)|*.ico"
                                                           << "Pictures (*.png) (*.ico)";
        QTest::newRow("two entries, several patterns") << "Pictures|*.png;*.ico|All|*.*"
                                                       << "Pictures (*.png *.ico);;All (*.*)";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("description without patterns") << "Odd"
                                                      << "";
    }
    void filters()
    {
        QFETCH(QString, filter);
        QFETCH(QString, qtFilter);
        QCOMPARE(CommonDialog::toQtFilter(filter), qtFilter);
    }

    void cancelEmptiesTheFileNameAndKeepsTheColour()
    {
        Scripted provider;
        CommonDialog dialog(provider);
        QVERIFY(
            call(dialog, member::FileName, CallKind::PropertyPut, {Value(QStringLiteral("/old.ico"))}).ok());
        QVERIFY(call(dialog, member::ShowOpen, CallKind::Method).ok());
        QCOMPARE(call(dialog, member::FileName, CallKind::PropertyGet).value(), Value(QString()));

        QVERIFY(call(dialog, member::Color, CallKind::PropertyPut, {Value(int32_t(0x00E1FFFF))}).ok());
        QVERIFY(call(dialog, member::ShowColor, CallKind::Method).ok());
        QCOMPARE(call(dialog, member::Color, CallKind::PropertyGet).value(), Value(int32_t(0x00E1FFFF)));

        provider.colour = QColor(0x11, 0x22, 0x33);
        QVERIFY(call(dialog, member::ShowColor, CallKind::Method).ok());
        QCOMPARE(call(dialog, member::Color, CallKind::PropertyGet).value(), Value(int32_t(0x00332211)));
    }

    void presetAnswersOnlyTheFirstFileDialog_data()
    {
        QTest::addColumn<QString>("preset");
        QTest::addColumn<QString>("first");
        QTest::newRow("a file") << "/data/robby.acs"
                                << "/data/robby.acs";
        QTest::newRow("empty answers as a cancel") << ""
                                                   << "";
    }
    void presetAnswersOnlyTheFirstFileDialog()
    {
        QFETCH(QString, preset);
        QFETCH(QString, first);
        Scripted provider;
        provider.file = QStringLiteral("/from/the/dialog.ico");
        dialogs::PresetFirstOpen presetFirst(provider, preset);
        CommonDialog dialog(presetFirst);
        QVERIFY(call(dialog, member::ShowOpen, CallKind::Method).ok());
        QCOMPARE(call(dialog, member::FileName, CallKind::PropertyGet).value(), Value(first));
        QVERIFY(provider.filters.isEmpty()); // the first dialog was never shown
        QVERIFY(call(dialog, member::ShowOpen, CallKind::Method).ok());
        QCOMPARE(call(dialog, member::FileName, CallKind::PropertyGet).value(),
                 Value(QStringLiteral("/from/the/dialog.ico")));
    }

    void callsItCannotServe_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("argCount");
        QTest::addColumn<int>("number");
        QTest::newRow("unknown member") << 0x7777 << int(CallKind::PropertyGet) << 0 << 438;
        QTest::newRow("colour as a string") << int(member::Color) << int(CallKind::PropertyPut) << -1 << 13;
        QTest::newRow("title by reference")
            << int(member::DialogTitle) << int(CallKind::PropertyPutRef) << 1 << 438;
        QTest::newRow("put without a value") << int(member::Filter) << int(CallKind::PropertyPut) << 0 << 450;
        QTest::newRow("get with an argument")
            << int(member::FileName) << int(CallKind::PropertyGet) << 1 << 450;
        QTest::newRow("method as a property")
            << int(member::ShowOpen) << int(CallKind::PropertyGet) << 0 << 438;
    }
    void callsItCannotServe()
    {
        QFETCH(int, id);
        QFETCH(int, kind);
        QFETCH(int, argCount);
        QFETCH(int, number);
        Scripted provider;
        CommonDialog dialog(provider);
        Args args;
        if (argCount < 0) args.emplace_back(Value(QStringLiteral("red")));
        for (int i = 0; i < argCount; ++i)
            args.emplace_back(Value(QStringLiteral("x")));
        const Result result = dialog.invoke(id, CallKind(kind), args);
        QVERIFY(!result.ok());
        QCOMPARE(result.error().number, number);
    }
};

QTEST_MAIN(TestCommonDialog)
#include "tst_commondialog.moc"
