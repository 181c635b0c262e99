#include "links/web_actions.h"
#include "test_session.h"

#include <QTest>
#include <QUrl>
#include <QUrlQuery>

using Platform::Buttons;

namespace {

using Action = void (*)(Session &);

const QString guideMissingTitle = QStringLiteral("KORVObinder error");
const QString guideMissingText = QStringLiteral("The KORVObinder_Mac.pdf file cannot be found!");

} // namespace

class TestWebActions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pages_data();
    void pages();
    void accountIsEncoded_data();
    void accountIsEncoded();
    void lightwaveSendsNoAccount();
    void accountIsReadAtThePress();
    void noApplicationOpensNothing_data();
    void noApplicationOpensNothing();
    void applicationNameIsComparedExactly();
    void readHelp_data();
    void readHelp();
    void readHelpWithoutApplication();
    void aboutText();
    void aboutTextFollowsTheContext();
};

void TestWebActions::pages_data()
{
    QTest::addColumn<QString>("application");
    QTest::addColumn<Action>("action");
    QTest::addColumn<QString>("expected");

    const QString login = QStringLiteral("&login=jdoe&password=secret");
    const struct
    {
        const char *control;
        Action action;
    } controls[] = {
        {"Upload", WebActions::upload},
        {"logo", WebActions::logo},
        {"Price info", WebActions::priceInfo},
        {"Estimate", WebActions::estimate},
    };
    const struct
    {
        const char *application;
        const char *pages[4];
    } rows[] = {
        {"Cinema4D",
         {"http://www.example.test/index.php?produit=cinema4d&caractere=identification&page=produit&login=jdoe"
          "&password=secret",
          "http://www.example.test/cinema4d-home-produit.en.html",
          "http://www.example.test/cinema4d-pay_per_project-produit.en.html",
          "http://www.example.test/cinema4d-cost_estimator-produit.en.html"}},
        {"Maya",
         {"http://www.example.test/index.php?produit=maya&caractere=identification&page=produit&login=jdoe"
          "&password=secret",
          "http://www.example.test/maya-home-produit.en.html",
          "http://www.example.test/maya-pay_per_project-produit.en.html",
          "http://www.example.test/maya-cost_estimator-produit.en.html"}},
        {"Lightwave",
         {"https://www.example.test/en/estimate-the-rendering-time/lightwave",
          "https://www.example.test/en/rendering/lightwave", "https://www.example.test/en/renderfarm/prices",
          "https://www.example.test/en/estimate-the-rendering-time/lightwave"}},
        {"Terragen",
         {"http://www.example.test/index.php?produit=terragen&caractere=identification&page=produit&login=jdoe"
          "&password=secret",
          "http://www.example.test/terragen-home-produit.en.html",
          "http://www.example.test/terragen-pay_per_project-produit.en.html",
          "http://www.example.test/terragen-cost_estimator-produit.en.html"}},
    };
    for (const auto &row : rows) {
        for (int column = 0; column < 4; ++column) {
            QTest::addRow("%s %s", row.application, controls[column].control)
                << QString::fromLatin1(row.application) << controls[column].action
                << QString::fromLatin1(row.pages[column]);
        }
    }
}

void TestWebActions::pages()
{
    QFETCH(QString, application);
    QFETCH(Action, action);
    QFETCH(QString, expected);

    TestSession ts;
    ts.choose(application);
    QVERIFY(ts.session->application);
    ts.session->settings.login = QStringLiteral("jdoe");
    ts.session->settings.password = QStringLiteral("secret");

    action(*ts.session);

    QCOMPARE(ts.opener.opened, QStringList{expected});
    KORVO_VERIFY_SCRIPT(ts.windows);
}

void TestWebActions::accountIsEncoded_data()
{
    QTest::addColumn<QString>("application");
    QTest::addColumn<QString>("login");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("expectedQueryTail");

    QTest::newRow("plain") << QStringLiteral("Maya") << QStringLiteral("jdoe") << QStringLiteral("s3cret-._~")
                           << QStringLiteral("login=jdoe&password=s3cret-._~");
    QTest::newRow("query characters") << QStringLiteral("Maya") << QStringLiteral("a&b=c") << QStringLiteral("x#y+z%20")
                                      << QStringLiteral("login=a%26b%3Dc&password=x%23y%2Bz%2520");
    QTest::newRow("blanks") << QStringLiteral("Cinema4D") << QStringLiteral("john doe")
                            << QStringLiteral("tab\there\nline")
                            << QStringLiteral("login=john%20doe&password=tab%09here%0Aline");
    QTest::newRow("non-ASCII") << QStringLiteral("Terragen") << QStringLiteral("J\u00FCrgen")
                               << QStringLiteral("\u00E9t\u00E9 \u20AC")
                               << QStringLiteral("login=J%C3%BCrgen&password=%C3%A9t%C3%A9%20%E2%82%AC");
    QTest::newRow("everything at once") << QStringLiteral("Maya") << QStringLiteral("m\u00FCller & co")
                                        << QStringLiteral("p&w#d+1%2 \u00F8") << QString();
    QTest::newRow("a parameter smuggled in")
        << QStringLiteral("Maya") << QStringLiteral("jdoe&page=admin") << QStringLiteral("x") << QString();
}

// The description pasted the account into the address as it was; every value
// must arrive at the farm's page exactly as stored, in one argument.
void TestWebActions::accountIsEncoded()
{
    QFETCH(QString, application);
    QFETCH(QString, login);
    QFETCH(QString, password);
    QFETCH(QString, expectedQueryTail);

    TestSession ts;
    ts.choose(application);
    ts.session->settings.login = login;
    ts.session->settings.password = password;

    WebActions::upload(*ts.session);

    QCOMPARE(ts.opener.opened.size(), 1);
    const QString address = ts.opener.opened.first();
    for (const QChar character : address)
        QVERIFY2(character.unicode() > 0x20 && character.unicode() < 0x7F, qPrintable(address));
    if (!expectedQueryTail.isEmpty())
        QVERIFY2(address.endsWith(u'&' + expectedQueryTail), qPrintable(address));

    const QUrl url(address, QUrl::StrictMode);
    QVERIFY2(url.isValid(), qPrintable(url.errorString()));
    QCOMPARE(url.scheme(), QStringLiteral("http"));
    QCOMPARE(url.host(), QStringLiteral("www.example.test"));
    QCOMPARE(url.path(), QStringLiteral("/index.php"));
    QVERIFY(!url.hasFragment());
    const QUrlQuery query(url);
    const QList<QPair<QString, QString>> items = query.queryItems(QUrl::FullyDecoded);
    const QList<QPair<QString, QString>> expectedItems{
        {QStringLiteral("produit"), application.toLower()},
        {QStringLiteral("caractere"), QStringLiteral("identification")},
        {QStringLiteral("page"), QStringLiteral("produit")},
        {QStringLiteral("login"), login},
        {QStringLiteral("password"), password},
    };
    QCOMPARE(items, expectedItems);
    KORVO_VERIFY_SCRIPT(ts.windows);
}

void TestWebActions::lightwaveSendsNoAccount()
{
    TestSession ts;
    ts.choose(QStringLiteral("Lightwave"));
    ts.session->settings.login = QStringLiteral("jdoe user");
    ts.session->settings.password = QStringLiteral("secret&more");

    WebActions::upload(*ts.session);
    WebActions::estimate(*ts.session);

    const QString page = QStringLiteral("https://www.example.test/en/estimate-the-rendering-time/lightwave");
    QCOMPARE(ts.opener.opened, (QStringList{page, page}));
}

void TestWebActions::accountIsReadAtThePress()
{
    TestSession ts;
    ts.choose(QStringLiteral("Maya"));
    ts.session->settings.login = QStringLiteral("old");
    ts.session->settings.password = QStringLiteral("one");
    WebActions::upload(*ts.session);
    ts.session->settings.login = QStringLiteral("new");
    ts.session->settings.password = QStringLiteral("two");
    WebActions::upload(*ts.session);

    QCOMPARE(ts.opener.opened.size(), 2);
    QVERIFY(ts.opener.opened.at(0).endsWith(QStringLiteral("login=old&password=one")));
    QVERIFY(ts.opener.opened.at(1).endsWith(QStringLiteral("login=new&password=two")));
}

void TestWebActions::noApplicationOpensNothing_data()
{
    QTest::addColumn<Action>("action");
    QTest::newRow("Upload") << Action(WebActions::upload);
    QTest::newRow("logo") << Action(WebActions::logo);
    QTest::newRow("Price info") << Action(WebActions::priceInfo);
    QTest::newRow("Estimate") << Action(WebActions::estimate);
}

void TestWebActions::noApplicationOpensNothing()
{
    QFETCH(Action, action);
    TestSession ts;
    ts.session->settings.login = QStringLiteral("jdoe");
    ts.session->settings.password = QStringLiteral("secret");

    action(*ts.session);

    QVERIFY(ts.opener.opened.isEmpty());
    QVERIFY(ts.windows.shown.isEmpty());
}

void TestWebActions::applicationNameIsComparedExactly()
{
    static constexpr ApplicationProfile lowerCaseMaya{u"maya", 21, u".mb", u"*.mb", true, u".vua", u"/x.txt"};
    TestSession ts;
    ts.session->application = &lowerCaseMaya;

    WebActions::upload(*ts.session);
    WebActions::logo(*ts.session);
    WebActions::priceInfo(*ts.session);
    WebActions::estimate(*ts.session);

    QVERIFY(ts.opener.opened.isEmpty());
}

void TestWebActions::readHelp_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("opens");
    QTest::newRow("present") << QStringLiteral("file") << true;
    QTest::newRow("one byte") << QStringLiteral("byte") << true;
    QTest::newRow("empty") << QStringLiteral("empty") << false;
    QTest::newRow("missing") << QStringLiteral("missing") << false;
    QTest::newRow("a folder of that name") << QStringLiteral("folder") << false;
}

void TestWebActions::readHelp()
{
    QFETCH(QString, kind);
    QFETCH(bool, opens);

    TestSession ts;
    ts.choose(QStringLiteral("Lightwave"));
    const QString guide = ts.base() + QStringLiteral("/KORVObinder_Mac.pdf");
    if (kind == u"file")
        QVERIFY(writeFile(guide, QByteArrayLiteral("%PDF-1.4\n%%EOF\n")));
    else if (kind == u"byte")
        QVERIFY(writeFile(guide, QByteArrayLiteral("x")));
    else if (kind == u"empty")
        QVERIFY(writeFile(guide, QByteArray()));
    else if (kind == u"folder")
        QVERIFY(makeDirectory(guide));

    if (!opens)
        ts.windows.expectMessage(guideMissingTitle, guideMissingText, Buttons::Ok);

    WebActions::readHelp(*ts.session);

    QCOMPARE(ts.opener.opened, opens ? QStringList{guide} : QStringList());
    KORVO_VERIFY_SCRIPT(ts.windows);
}

// The guide belongs to the program, not to an application.
void TestWebActions::readHelpWithoutApplication()
{
    TestSession ts;
    const QString guide = ts.base() + QStringLiteral("/KORVObinder_Mac.pdf");
    QVERIFY(writeFile(guide, QByteArrayLiteral("%PDF")));

    WebActions::readHelp(*ts.session);

    QCOMPARE(ts.opener.opened, QStringList{guide});
}

void TestWebActions::aboutText()
{
    TestSession ts;
    ts.choose(QStringLiteral("Lightwave"));
    const QString expected = QStringLiteral("                    KORVObinder 1.6\n"
                                            "\u00A9 2026 KORVO Render Farm. All rights reserved.\n"
                                            "               www.example.test");
    ts.windows.expectMessage(QStringLiteral("About KORVObinder"), expected, Buttons::Ok);

    WebActions::about(*ts.session);

    KORVO_VERIFY_SCRIPT(ts.windows);
    QCOMPARE(ts.windows.shown.size(), 1);
    QCOMPARE(ts.windows.shown.first().text.toUtf8(), expected.toUtf8());
    QVERIFY(ts.opener.opened.isEmpty());
}

void TestWebActions::aboutTextFollowsTheContext()
{
    TestSession ts;
    Platform::AppContext context = testContext(ts.base());
    context.programVersion = QStringLiteral("2.0");
    context.webHost = QStringLiteral("farm.example.org");
    Session session(context, ts.windows, ts.opener);
    const QStringList lines{QStringLiteral("                    KORVObinder 2.0"),
                            QStringLiteral("\u00A9 2026 KORVO Render Farm. All rights reserved."),
                            QStringLiteral("               farm.example.org")};
    ts.windows.expectMessage(QStringLiteral("About KORVObinder"), lines.join(u'\n'), Buttons::Ok);

    WebActions::about(session);

    KORVO_VERIFY_SCRIPT(ts.windows);
}

QTEST_GUILESS_MAIN(TestWebActions)
#include "tst_web_actions.moc"
