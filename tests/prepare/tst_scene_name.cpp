#include "preparation_script.h"
#include "prepare/project_check.h"

#include <QTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#if defined(__linux__)
#include <linux/fs.h>
#include <sys/ioctl.h>
#endif

using namespace Script;

namespace {

const QString lightwave = QStringLiteral("Lightwave");
const QString maya = QStringLiteral("Maya");
const QString cinema4d = QStringLiteral("Cinema4D");
const QString terragen = QStringLiteral("Terragen");

const QString projectFolder = QStringLiteral("{project}");
const QString scenesFolder = QStringLiteral("{project}/scenes");

// What follows the scene steps when everything passes: the LightWave version
// question for LightWave, then the archive stage, which stops without 7za.
ExpectedBoxes rest(const QString &application)
{
    ExpectedBoxes boxes;
    if (application == lightwave)
        boxes.append(versionQuestion(Answer::Yes));
    return boxes + archiveWithoutSevenZip();
}

// Marks the scene folder unchangeable for as long as it lives: read-only
// permissions where they bind, the immutable flag for root. `active` is false
// when neither is possible here.
class UnchangeableFolder
{
public:
    explicit UnchangeableFolder(const QString &path)
        : m_path(path.toUtf8())
    {
        if (::geteuid() != 0) {
            m_readOnly = QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            return;
        }
        m_immutable = setImmutable(true);
    }
    ~UnchangeableFolder()
    {
        if (m_immutable)
            setImmutable(false);
        if (m_readOnly)
            QFile::setPermissions(QString::fromUtf8(m_path),
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    bool active() const { return m_readOnly || m_immutable; }

private:
    bool setImmutable(bool on)
    {
#if defined(__linux__)
        const int descriptor = ::open(m_path.constData(), O_RDONLY | O_DIRECTORY);
        if (descriptor < 0)
            return false;
        int flags = 0;
        bool done = ::ioctl(descriptor, FS_IOC_GETFLAGS, &flags) == 0;
        if (done) {
            flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
            done = ::ioctl(descriptor, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(descriptor);
        return done;
#elif defined(__APPLE__)
        struct stat info;
        if (::stat(m_path.constData(), &info) != 0)
            return false;
        const unsigned int flags = on ? info.st_flags | UF_IMMUTABLE : info.st_flags & ~UF_IMMUTABLE;
        return ::chflags(m_path.constData(), flags) == 0;
#else
        Q_UNUSED(on);
        return false;
#endif
    }

    QByteArray m_path;
    bool m_readOnly = false;
    bool m_immutable = false;
};

} // namespace

class TestSceneName : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void renames_data();
    void renames();
    void renameFailsWhenTheFolderIsGone();
    void renameFailsInAnUnchangeableFolder_data();
    void renameFailsInAnUnchangeableFolder();
};

// The steps on real files: the boxes in their order, the names on disk after.
void TestSceneName::renames_data()
{
    QTest::addColumn<QString>("application");
    QTest::addColumn<QStringList>("layout");
    QTest::addColumn<ExpectedBoxes>("boxes");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");

    const QString workspace = QStringLiteral("workspace.mel");

    QTest::newRow("Terragen: gathered text removed silently, then blanks")
        << terragen << QStringList{QStringLiteral("my scene (gathered) final.tgd")}
        << (ExpectedBoxes{spacesReplaced()} + rest(terragen)) << QStringList{QStringLiteral("my_scene_final.tgd")}
        << QStringList{QStringLiteral("my scene (gathered) final.tgd"), QStringLiteral("my scene final.tgd")};
    QTest::newRow("Terragen: gathered text only, no box")
        << terragen << QStringList{QStringLiteral("land (gathered).tgd")} << rest(terragen)
        << QStringList{QStringLiteral("land.tgd")} << QStringList{QStringLiteral("land (gathered).tgd")};
    QTest::newRow("Terragen: Gathered compared exactly")
        << terragen << QStringList{QStringLiteral("land (Gathered).tgd")}
        << (ExpectedBoxes{spacesReplaced()} + rest(terragen)) << QStringList{QStringLiteral("land_(Gathered).tgd")}
        << QStringList{QStringLiteral("land (Gathered).tgd"), QStringLiteral("land.tgd")};
    QTest::newRow("Terragen: hidden scene loses its leading dot")
        << terragen << QStringList{QStringLiteral(".backup.tgd")} << (ExpectedBoxes{dotsReplaced()} + rest(terragen))
        << QStringList{QStringLiteral("_backup.tgd")} << QStringList{QStringLiteral(".backup.tgd")};
    QTest::newRow("Cinema4D: gathered text kept outside Terragen")
        << cinema4d << QStringList{QStringLiteral("land (gathered).c4d")}
        << (ExpectedBoxes{spacesReplaced()} + rest(cinema4d)) << QStringList{QStringLiteral("land_(gathered).c4d")}
        << QStringList{QStringLiteral("land (gathered).c4d")};

    QTest::newRow("Lightwave: blanks then dots inside scenes/")
        << lightwave << QStringList{QStringLiteral("scenes/shot 1.take2.lws")}
        << (ExpectedBoxes{spacesReplaced(), dotsReplaced()} + rest(lightwave))
        << QStringList{QStringLiteral("scenes/shot_1_take2.lws")}
        << QStringList{QStringLiteral("scenes/shot 1.take2.lws"), QStringLiteral("scenes/shot_1.take2.lws"),
                       QStringLiteral("shot_1_take2.lws")};
    QTest::newRow("Lightwave: tab is not a blank")
        << lightwave << QStringList{QStringLiteral("scenes/shot\t1.lws")} << rest(lightwave)
        << QStringList{QStringLiteral("scenes/shot\t1.lws")} << QStringList{};
    QTest::newRow("Lightwave: extension inside the name removed ignoring case")
        << lightwave << QStringList{QStringLiteral("scenes/x.LWS.lws")}
        << (ExpectedBoxes{dotsReplaced()} + rest(lightwave)) << QStringList{QStringLiteral("scenes/x.lws")}
        << QStringList{QStringLiteral("scenes/x.LWS.lws")};
    QTest::newRow("Maya: a.MB.b.mb") << maya << QStringList{workspace, QStringLiteral("scenes/a.MB.b.mb")}
                                     << (ExpectedBoxes{dotsReplaced()} + rest(maya))
                                     << QStringList{QStringLiteral("scenes/a_b.mb")}
                                     << QStringList{QStringLiteral("scenes/a.MB.b.mb")};
    QTest::newRow("Maya: a.mbb.mb") << maya << QStringList{workspace, QStringLiteral("scenes/a.mbb.mb")}
                                    << (ExpectedBoxes{dotsReplaced()} + rest(maya))
                                    << QStringList{QStringLiteral("scenes/ab.mb")}
                                    << QStringList{QStringLiteral("scenes/a.mbb.mb")};
    QTest::newRow("Cinema4D: main.c4d untouched")
        << cinema4d << QStringList{QStringLiteral("main.c4d")} << rest(cinema4d)
        << QStringList{QStringLiteral("main.c4d")} << QStringList{};
    QTest::newRow("Cinema4D: the scene found, not the reference, is renamed")
        << cinema4d << QStringList{QStringLiteral("xref_tree.c4d"), QStringLiteral("main scene.c4d")}
        << (ExpectedBoxes{spacesReplaced()} + rest(cinema4d))
        << QStringList{QStringLiteral("main_scene.c4d"), QStringLiteral("xref_tree.c4d")}
        << QStringList{QStringLiteral("main scene.c4d")};

    const QString base20 = QStringLiteral("abcdefghijklmnopqrst");
    QTest::newRow("Cinema4D: base of 20 passes")
        << cinema4d << QStringList{base20 + QStringLiteral(".c4d")} << rest(cinema4d)
        << QStringList{base20 + QStringLiteral(".c4d")} << QStringList{};
    QTest::newRow("Cinema4D: base of 21, No")
        << cinema4d << QStringList{base20 + QStringLiteral("u.c4d")}
        << ExpectedBoxes{nameTooLong(base20 + QStringLiteral(".c4d"), Answer::No)}
        << QStringList{base20 + QStringLiteral("u.c4d")} << QStringList{base20 + QStringLiteral(".c4d")};
    QTest::newRow("Cinema4D: base of 21, Yes")
        << cinema4d << QStringList{base20 + QStringLiteral("u.c4d")}
        << (ExpectedBoxes{nameTooLong(base20 + QStringLiteral(".c4d"), Answer::Yes)} + rest(cinema4d))
        << QStringList{base20 + QStringLiteral(".c4d")} << QStringList{base20 + QStringLiteral("u.c4d")};
    QTest::newRow("Cinema4D: a_very_long_scene_name_final, Yes")
        << cinema4d << QStringList{QStringLiteral("a_very_long_scene_name_final.c4d")}
        << (ExpectedBoxes{nameTooLong(QStringLiteral("a_very_long_scene_na.c4d"), Answer::Yes)} + rest(cinema4d))
        << QStringList{QStringLiteral("a_very_long_scene_na.c4d")}
        << QStringList{QStringLiteral("a_very_long_scene_name_final.c4d")};
    QTest::newRow("Cinema4D: a_very_long_scene_name_final, No")
        << cinema4d << QStringList{QStringLiteral("a_very_long_scene_name_final.c4d")}
        << ExpectedBoxes{nameTooLong(QStringLiteral("a_very_long_scene_na.c4d"), Answer::No)}
        << QStringList{QStringLiteral("a_very_long_scene_name_final.c4d")}
        << QStringList{QStringLiteral("a_very_long_scene_na.c4d")};
    QTest::newRow("Lightwave: my long shot.final take, No after two renames")
        << lightwave << QStringList{QStringLiteral("scenes/my long shot.final take.lws")}
        << ExpectedBoxes{spacesReplaced(), dotsReplaced(),
                         nameTooLong(QStringLiteral("my_long_shot_final_t.lws"), Answer::No)}
        << QStringList{QStringLiteral("scenes/my_long_shot_final_take.lws")}
        << QStringList{QStringLiteral("scenes/my long shot.final take.lws"),
                       QStringLiteral("scenes/my_long_shot.final_take.lws"),
                       QStringLiteral("scenes/my_long_shot_final_t.lws")};
    QTest::newRow("Terragen: 21 characters only after the gathered text goes")
        << terragen << QStringList{QStringLiteral("abcdefghijklmnopqrst (gathered).tgd")} << rest(terragen)
        << QStringList{QStringLiteral("abcdefghijklmnopqrst.tgd")} << QStringList{};

    // A rename never replaces what is already there.
    QTest::newRow("Cinema4D: xref a.c4d beside xref_a.c4d")
        << cinema4d << QStringList{QStringLiteral("xref a.c4d"), QStringLiteral("xref_a.c4d")}
        << ExpectedBoxes{renameTaken(QStringLiteral("xref a.c4d"), QStringLiteral("xref_a.c4d"), projectFolder)}
        << QStringList{QStringLiteral("xref a.c4d"), QStringLiteral("xref_a.c4d")} << QStringList{};
    QTest::newRow("Maya: dotted name taken by a directory")
        << maya << QStringList{workspace, QStringLiteral("scenes/a.b.mb"), QStringLiteral("scenes/a_b.mb/")}
        << ExpectedBoxes{renameTaken(QStringLiteral("a.b.mb"), QStringLiteral("a_b.mb"), scenesFolder)}
        << QStringList{QStringLiteral("scenes/a.b.mb"), QStringLiteral("scenes/a_b.mb/")} << QStringList{};
    QTest::newRow("Lightwave: blanks renamed, then the dotted name is taken")
        << lightwave
        << QStringList{QStringLiteral("scenes/shot 1.take2.lws"), QStringLiteral("scenes/shot_1_take2.lws/")}
        << ExpectedBoxes{spacesReplaced(), renameTaken(QStringLiteral("shot_1.take2.lws"),
                                                       QStringLiteral("shot_1_take2.lws"), scenesFolder)}
        << QStringList{QStringLiteral("scenes/shot_1.take2.lws")}
        << QStringList{QStringLiteral("scenes/shot 1.take2.lws")};
    QTest::newRow("Lightwave: shortened name taken by a directory")
        << lightwave
        << QStringList{QStringLiteral("scenes/") + base20 + QStringLiteral("uv.lws"),
                       QStringLiteral("scenes/") + base20 + QStringLiteral(".lws/")}
        << ExpectedBoxes{nameTooLong(base20 + QStringLiteral(".lws"), Answer::Yes),
                         renameTaken(base20 + QStringLiteral("uv.lws"), base20 + QStringLiteral(".lws"), scenesFolder)}
        << QStringList{QStringLiteral("scenes/") + base20 + QStringLiteral("uv.lws")} << QStringList{};
    QTest::newRow("Terragen: shortened name taken by a directory")
        << terragen << QStringList{base20 + QStringLiteral("uv.tgd"), base20 + QStringLiteral(".tgd/")}
        << ExpectedBoxes{nameTooLong(base20 + QStringLiteral(".tgd"), Answer::Yes),
                         renameTaken(base20 + QStringLiteral("uv.tgd"), base20 + QStringLiteral(".tgd"), projectFolder)}
        << QStringList{base20 + QStringLiteral("uv.tgd")} << QStringList{};
    QTest::newRow("Terragen: gathered name taken")
        << terragen << QStringList{QStringLiteral("land (gathered).tgd"), QStringLiteral("land.tgd/")}
        << ExpectedBoxes{renameTaken(QStringLiteral("land (gathered).tgd"), QStringLiteral("land.tgd"), projectFolder)}
        << QStringList{QStringLiteral("land (gathered).tgd")} << QStringList{};
}

void TestSceneName::renames()
{
    QFETCH(QString, application);
    QFETCH(QStringList, layout);
    QFETCH(ExpectedBoxes, boxes);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);

    TestSession ts;
    const QString project = projectForLaterPress(ts, application, layout);
    QVERIFY(!project.isEmpty());

    expectPress(ts, project);
    expectBoxes(ts, boxes, project);
    ProjectCheck::prepareProject(*ts.session);

    KORVO_VERIFY_SCRIPT(ts.windows);
    for (const QString &name : std::as_const(present))
        QVERIFY2(entryExists(project + name), qPrintable(QStringLiteral("missing: ") + name));
    for (const QString &name : std::as_const(absent))
        QVERIFY2(!entryExists(project + name), qPrintable(QStringLiteral("still there: ") + name));
    // A directory standing in a scene's way is never touched.
    for (const QString &entry : std::as_const(layout)) {
        if (entry.endsWith(u'/'))
            QVERIFY(QFileInfo(project + entry).isDir());
    }
    QVERIFY(ts.opener.opened.isEmpty());
}

// The scene folder disappears while the length question is open (an unplugged
// volume): the rename fails, the user is told, and nothing goes on.
void TestSceneName::renameFailsWhenTheFolderIsGone()
{
    TestSession ts;
    ts.choose(lightwave);
    ts.session->checklistShown = true;
    const QString longName = QStringLiteral("my_long_shot_final_take.lws");
    const QString project = newProject(ts, {QStringLiteral("scenes/") + longName});
    QVERIFY(!project.isEmpty());

    expectPress(ts, project);
    ts.windows.expectMessage(QStringLiteral("Error: name too long"),
                             QStringLiteral("Your scene will be renamed to 'my_long_shot_final_t.lws' (to prevent "
                                            "command-line length problems)"),
                             Buttons::YesNo, Answer::Yes, [project] {
                                 QDir().rename(project + QStringLiteral("scenes"), project + QStringLiteral("away"));
                             });
    expectBoxes(ts, {renameFailed(longName, QStringLiteral("my_long_shot_final_t.lws"), scenesFolder)}, project);
    ProjectCheck::prepareProject(*ts.session);

    KORVO_VERIFY_SCRIPT(ts.windows);
    QVERIFY(QFileInfo::exists(project + QStringLiteral("away/") + longName));
    QVERIFY(!entryExists(project + QStringLiteral("away/my_long_shot_final_t.lws")));
}

// A folder the program may not change: the first rename fails, no box claims
// it was done, and the scene keeps its name.
void TestSceneName::renameFailsInAnUnchangeableFolder_data()
{
    QTest::addColumn<QString>("application");
    QTest::addColumn<QString>("scene");
    QTest::addColumn<QString>("newName");
    QTest::addColumn<ExpectedBoxes>("before");

    QTest::newRow("Lightwave: blanks") << lightwave << QStringLiteral("my shot.lws") << QStringLiteral("my_shot.lws")
                                       << ExpectedBoxes{};
    QTest::newRow("Lightwave: extra dots")
        << lightwave << QStringLiteral("my.shot.lws") << QStringLiteral("my_shot.lws") << ExpectedBoxes{};
    QTest::newRow("Lightwave: length answered Yes")
        << lightwave << QStringLiteral("abcdefghijklmnopqrstu.lws") << QStringLiteral("abcdefghijklmnopqrst.lws")
        << ExpectedBoxes{nameTooLong(QStringLiteral("abcdefghijklmnopqrst.lws"), Answer::Yes)};
}

void TestSceneName::renameFailsInAnUnchangeableFolder()
{
    QFETCH(QString, application);
    QFETCH(QString, scene);
    QFETCH(QString, newName);
    QFETCH(ExpectedBoxes, before);

    TestSession ts;
    const QString project = projectForLaterPress(ts, application, {QStringLiteral("scenes/") + scene});
    QVERIFY(!project.isEmpty());
    const UnchangeableFolder unchangeable(project + QStringLiteral("scenes"));
    if (!unchangeable.active())
        QSKIP("This file system lets neither permissions nor the immutable flag stop a rename");

    expectPress(ts, project);
    expectBoxes(ts, before + ExpectedBoxes{renameFailed(scene, newName, scenesFolder)}, project);
    ProjectCheck::prepareProject(*ts.session);

    KORVO_VERIFY_SCRIPT(ts.windows);
    QVERIFY(QFileInfo::exists(project + QStringLiteral("scenes/") + scene));
    QVERIFY(!entryExists(project + QStringLiteral("scenes/") + newName));
}

QTEST_GUILESS_MAIN(TestSceneName)
#include "tst_scene_name.moc"
