#include "preparation_script.h"
#include "prepare/project_check.h"

#include <QTest>

using namespace Script;

namespace {

const QString lightwave = QStringLiteral("Lightwave");

enum class Bitness
{
    NotAsked,
    Yes,
    No,
};

const QString radiosityFor10 = QStringLiteral(
    "The radiosity directory must be called 'radiosity' with Lightwave version >= 10, please correct it.");
const QString radiosityFor9 =
    QStringLiteral("The radiosity directory must be called 'radiositycache' with Lightwave 9.6, please correct it.");
const QString need10Bit64 = QStringLiteral("Your LWEXT*-64.CFG file is needed in your project directory.");
const QString need10Bit32 = QStringLiteral("The LWEXT10.CFG or LWEXT11.CFG file is needed in your project directory.");
const QString need9Bit64 = QStringLiteral("The LWEXT9-64.CFG file is needed in your project directory.");
const QString need9Bit32 = QStringLiteral("The LWEXT9.CFG file is needed in your project directory.");

} // namespace

Q_DECLARE_METATYPE(Bitness)

class TestLightwaveRequirements : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void requirements_data();
    void requirements();
    void otherApplicationsSkipTheQuestions_data();
    void otherApplicationsSkipTheQuestions();
};

// The project holds "scenes/shot.lws" plus `layout`. An empty error text means
// the checks pass and the archive stage follows.
void TestLightwaveRequirements::requirements_data()
{
    QTest::addColumn<QStringList>("layout");
    QTest::addColumn<bool>("version10");
    QTest::addColumn<Bitness>("bitness");
    QTest::addColumn<QString>("errorText");

    const QString pass;
    const QString plugin = QStringLiteral("tools.p");

    QTest::newRow("10: radiosity and radiositycache directories")
        << QStringList{QStringLiteral("radiosity/"), QStringLiteral("radiositycache/")} << true << Bitness::NotAsked
        << radiosityFor10;
    QTest::newRow("10: radiositycache link to a directory")
        << QStringList{QStringLiteral("cache/"), QStringLiteral("radiositycache -> cache")} << true << Bitness::NotAsked
        << radiosityFor10;
    QTest::newRow("10: radiositycache a plain file")
        << QStringList{QStringLiteral("radiositycache")} << true << Bitness::NotAsked << pass;
    QTest::newRow("10: radiosity directory")
        << QStringList{QStringLiteral("radiosity/")} << true << Bitness::NotAsked << pass;
    QTest::newRow("10: radiositycache only inside scenes")
        << QStringList{QStringLiteral("scenes/radiositycache/")} << true << Bitness::NotAsked << pass;
    QTest::newRow("9.6: radiositycache directory only")
        << QStringList{QStringLiteral("radiositycache/")} << false << Bitness::NotAsked << pass;
    QTest::newRow("9.6: radiosity directory")
        << QStringList{QStringLiteral("radiosity/")} << false << Bitness::NotAsked << radiosityFor9;
    QTest::newRow("9.6: radiosity a plain file")
        << QStringList{QStringLiteral("radiosity")} << false << Bitness::NotAsked << pass;
    QTest::newRow("9.6: radiosity directory stops before the plug-ins")
        << QStringList{QStringLiteral("radiosity/"), plugin} << false << Bitness::NotAsked << radiosityFor9;

    QTest::newRow("10: no plug-in, no configuration file") << QStringList{} << true << Bitness::NotAsked << pass;
    QTest::newRow("9.6: no plug-in, wrong configuration file")
        << QStringList{QStringLiteral("LWEXT2018-64.CFG")} << false << Bitness::NotAsked << pass;
    QTest::newRow("plug-in in scenes is not looked at")
        << QStringList{QStringLiteral("scenes/tools.p")} << true << Bitness::NotAsked << pass;
    QTest::newRow("tools.pl is no plug-in")
        << QStringList{QStringLiteral("tools.pl")} << true << Bitness::NotAsked << pass;

    QTest::newRow("10/64: LWEXT2018-64.CFG")
        << QStringList{plugin, QStringLiteral("LWEXT2018-64.CFG")} << true << Bitness::Yes << pass;
    QTest::newRow("10/64: lower-case LWEXT2018-64.cfg")
        << QStringList{plugin, QStringLiteral("LWEXT2018-64.cfg")} << true << Bitness::Yes << need10Bit64;
    QTest::newRow("10/64: none") << QStringList{plugin} << true << Bitness::Yes << need10Bit64;
    QTest::newRow("10/64: 32-bit files only")
        << QStringList{plugin, QStringLiteral("LWEXT11.CFG")} << true << Bitness::Yes << need10Bit64;
    QTest::newRow("10/64: a directory matching the pattern")
        << QStringList{plugin, QStringLiteral("LWEXT11-64.CFG/")} << true << Bitness::Yes << pass;

    QTest::newRow("10/32: LWEXT11.CFG") << QStringList{plugin, QStringLiteral("LWEXT11.CFG")} << true << Bitness::No
                                        << pass;
    QTest::newRow("10/32: LWEXT10.CFG") << QStringList{plugin, QStringLiteral("LWEXT10.CFG")} << true << Bitness::No
                                        << pass;
    QTest::newRow("10/32: LWEXT2015.CFG only")
        << QStringList{plugin, QStringLiteral("LWEXT2015.CFG")} << true << Bitness::No << need10Bit32;
    QTest::newRow("10/32: none") << QStringList{plugin} << true << Bitness::No << need10Bit32;

    QTest::newRow("9.6/64: LWEXT9.CFG but no LWEXT9-64.CFG")
        << QStringList{plugin, QStringLiteral("LWEXT9.CFG")} << false << Bitness::Yes << need9Bit64;
    QTest::newRow("9.6/64: LWEXT9-64.CFG")
        << QStringList{plugin, QStringLiteral("LWEXT9-64.CFG")} << false << Bitness::Yes << pass;

    QTest::newRow("9.6/32: empty LWEXT9.CFG")
        << QStringList{plugin, QStringLiteral("LWEXT9.CFG")} << false << Bitness::No << pass;
    QTest::newRow("9.6/32: LWEXT9.CFG a directory")
        << QStringList{plugin, QStringLiteral("LWEXT9.CFG/")} << false << Bitness::No << pass;
    QTest::newRow("9.6/32: LWEXT9.CFG a dangling link")
        << QStringList{plugin, QStringLiteral("LWEXT9.CFG -> nowhere")} << false << Bitness::No << need9Bit32;
    QTest::newRow("9.6/32: only LWEXT9-64.CFG")
        << QStringList{plugin, QStringLiteral("LWEXT9-64.CFG")} << false << Bitness::No << need9Bit32;

    QTest::newRow("directory old.p brings the bitness question")
        << QStringList{QStringLiteral("old.p/"), QStringLiteral("LWEXT9.CFG")} << false << Bitness::No << pass;
    QTest::newRow("hidden .tools.p brings the bitness question")
        << QStringList{QStringLiteral(".tools.p")} << false << Bitness::No << need9Bit32;
}

void TestLightwaveRequirements::requirements()
{
    QFETCH(QStringList, layout);
    QFETCH(bool, version10);
    QFETCH(Bitness, bitness);
    QFETCH(QString, errorText);

    TestSession ts;
    const QString project =
        projectForLaterPress(ts, lightwave, QStringList{QStringLiteral("scenes/shot.lws")} + layout);
    QVERIFY(!project.isEmpty());

    expectPress(ts, project);
    ExpectedBoxes boxes{versionQuestion(version10 ? Answer::Yes : Answer::No)};
    if (bitness != Bitness::NotAsked)
        boxes.append(bitnessQuestion(bitness == Bitness::Yes ? Answer::Yes : Answer::No));
    if (errorText.isEmpty())
        boxes.append(archiveWithoutSevenZip());
    else
        boxes.append(error(errorText));
    expectBoxes(ts, boxes, project);
    ProjectCheck::prepareProject(*ts.session);

    KORVO_VERIFY_SCRIPT(ts.windows);
    // After a stop here no folder is shown, and nothing on disk has changed.
    QVERIFY(ts.opener.opened.isEmpty());
    for (const QString &entry : std::as_const(layout))
        QVERIFY2(entryExists(project + entry.section(QStringLiteral(" -> "), 0, 0)), qPrintable(entry));
}

// Projects of the other applications go from the scene name straight to the
// archive, whatever LightWave files they hold.
void TestLightwaveRequirements::otherApplicationsSkipTheQuestions_data()
{
    QTest::addColumn<QString>("application");
    QTest::addColumn<QStringList>("layout");

    const QStringList lightwaveTraps{QStringLiteral("radiositycache/"), QStringLiteral("radiosity/"),
                                     QStringLiteral("tools.p")};
    QTest::newRow("Maya") << QStringLiteral("Maya")
                          << QStringList{QStringLiteral("workspace.mel"), QStringLiteral("scenes/shot.mb")} +
                                 lightwaveTraps;
    QTest::newRow("Cinema4D") << QStringLiteral("Cinema4D") << QStringList{QStringLiteral("main.c4d")} + lightwaveTraps;
    QTest::newRow("Terragen") << QStringLiteral("Terragen") << QStringList{QStringLiteral("main.tgd")} + lightwaveTraps;
}

void TestLightwaveRequirements::otherApplicationsSkipTheQuestions()
{
    QFETCH(QString, application);
    QFETCH(QStringList, layout);

    TestSession ts;
    const QString project = projectForLaterPress(ts, application, layout);
    QVERIFY(!project.isEmpty());

    expectPress(ts, project);
    expectBoxes(ts, archiveWithoutSevenZip(), project);
    ProjectCheck::prepareProject(*ts.session);
    KORVO_VERIFY_SCRIPT(ts.windows);
}

QTEST_GUILESS_MAIN(TestLightwaveRequirements)
#include "tst_lightwave_requirements.moc"
