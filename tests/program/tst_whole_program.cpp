#include "shell/program.h"
#include "shell/settings.h"
#include "standard_actions.h"
#include "test_session.h"

#include <QDir>
#include <QProcess>
#include <QTest>

using Platform::Answer;
using Platform::Buttons;

namespace {

constexpr int mainWindow = 0;
constexpr int lightwaveButton = 22;
constexpr int prepareButton = 5;

bool copyTree(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    const QDir source(from);
    for (const QString &name : source.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (!QFile::copy(from + u'/' + name, to + u'/' + name))
            return false;
    }
    for (const QString &name : source.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden)) {
        if (!copyTree(from + u'/' + name, to + u'/' + name))
            return false;
    }
    return true;
}

QStringList archivedNames(const QString &archive)
{
    QProcess sevenZip;
    sevenZip.start(sevenZipProgram(), {QStringLiteral("l"), QStringLiteral("-slt"), archive});
    if (!sevenZip.waitForFinished(60000))
        return {};
    QStringList names;
    for (const QString &line : QString::fromUtf8(sevenZip.readAllStandardOutput()).split(u'\n')) {
        if (line.startsWith(QLatin1String("Path = ")) && line != QLatin1String("Path = ") + archive)
            names.append(line.mid(7));
    }
    names.sort();
    return names;
}

} // namespace

// The program as main() wires it, from start-up to shutdown, with only the
// person in front of it and the desktop opener replaced.
class TestWholeProgram : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void preparesTheExampleProject();
};

void TestWholeProgram::preparesTheExampleProject()
{
    TestSession ts;
    QVERIFY(ts.installSevenZip());
    const QString project = ts.scratch() + QStringLiteral("/crate turntable/");
    QVERIFY(copyTree(QStringLiteral(KORVO_EXAMPLES_DIRECTORY "/lightwave_project"), project));

    Settings &settings = ts.session->settings;
    settings = {QStringLiteral("jdoe"), QStringLiteral("secret"), ts.scratch(), QStringLiteral("No"),
                QStringLiteral("localhost")};
    QVERIFY(SettingsFile::save(*ts.session));
    settings = {};

    ts.windows.queueClick(lightwaveButton);
    ts.windows.queueClick(prepareButton);
    ts.windows.queueClose(mainWindow);
    ts.windows.expectMessage(
        QStringLiteral("Disclaimer"),
        QStringLiteral("I have prepared this project following the KORVO for Lightwave PDF user guide instructions"),
        Buttons::YesNo, Answer::Yes);
    ts.windows.expectDirectory(QStringLiteral("Select the main path of your project"), ts.scratch(), project);
    ts.windows.expectMessage(QStringLiteral("Lightwave version"),
                             QStringLiteral("Is it a Lightwave 10, 11, 2015 or 2018 project?"), Buttons::YesNo,
                             Answer::Yes);
    ts.windows.expectMessage(QStringLiteral("Lightwave compilation"), QStringLiteral("Is it a 64-bit project?"),
                             Buttons::YesNo, Answer::Yes);
    ts.windows.expectMessage(QStringLiteral("Compression level"),
                             QStringLiteral("Maximum compression? (if No, maximum speed)"), Buttons::YesNo,
                             Answer::Yes);

    QCOMPARE(runProgram(*ts.session, standardActions()), 0);
    KORVO_VERIFY_SCRIPT(ts.windows);

    const QString archive = ts.base() + QStringLiteral("/archive/crate_turntable.vul");
    QCOMPARE(archivedNames(archive),
             (QStringList{QStringLiteral("KORVObinder.log"), QStringLiteral("LWEXT2018-64.CFG"),
                          QStringLiteral("crate_shader.p"), QStringLiteral("images"),
                          QStringLiteral("images/crate_bump.tga"), QStringLiteral("images/crate_diffuse.png"),
                          QStringLiteral("images/sky_backdrop.png"), QStringLiteral("objects"),
                          QStringLiteral("objects/crate.lwo"), QStringLiteral("scenes"),
                          QStringLiteral("scenes/crate_turntable.lws")}));
    QCOMPARE(ts.opener.opened, (QStringList{ts.base() + QStringLiteral("/Checklist_Lightwave.txt"),
                                            ts.base() + QStringLiteral("/archive")}));
    QVERIFY(!QFile::exists(ts.base() + QStringLiteral("/KORVObinder.log")));
    QVERIFY(!QFile::exists(ts.base() + QStringLiteral("/temp")));

    // The chosen project is remembered for the next run.
    const QList<QByteArray> lines = readFile(SettingsFile::path(ts.base())).split('\n');
    QCOMPARE(lines.value(5), project.toUtf8());
}

QTEST_GUILESS_MAIN(TestWholeProgram)
#include "tst_whole_program.moc"
