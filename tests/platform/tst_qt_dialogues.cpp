#include "platform/qt_window_system.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace Platform;

namespace {

WindowLayout mainWindow()
{
    WindowLayout layout;
    layout.number = 0;
    layout.title = QStringLiteral("Main window");
    layout.contentSize = QSize(420, 300);
    return layout;
}

// Acts on the next modal dialogue once it is shown, as the person in front of it would.
void whenModal(std::function<void(QWidget *)> act)
{
    auto *timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (QWidget *dialogue = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            act(dialogue);
        }
    });
    timer->start();
}

} // namespace

// The modal boxes with Qt's own widgets, answered through the active modal widget.
class TestQtDialogues : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void messageBox_data();
    void messageBox();
    void inputBox_data();
    void inputBox();
    void chooseDirectory_data();
    void chooseDirectory();

private:
    std::unique_ptr<QtWindowSystem> m_windows;
};

void TestQtDialogues::init()
{
    m_windows = std::make_unique<QtWindowSystem>(false);
}

void TestQtDialogues::cleanup()
{
    m_windows.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void TestQtDialogues::messageBox_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("press"); // a standard button, or a key
    QTest::addColumn<int>("expected");
    QTest::newRow("OK") << int(Buttons::Ok) << int(QMessageBox::Ok) << int(Answer::Ok);
    QTest::newRow("OK box closed") << int(Buttons::Ok) << int(Qt::Key_Escape) << int(Answer::Ok);
    QTest::newRow("Yes") << int(Buttons::YesNo) << int(QMessageBox::Yes) << int(Answer::Yes);
    QTest::newRow("No") << int(Buttons::YesNo) << int(QMessageBox::No) << int(Answer::No);
    QTest::newRow("Return takes Yes") << int(Buttons::YesNo) << int(Qt::Key_Return) << int(Answer::Yes);
    QTest::newRow("closing is No") << int(Buttons::YesNo) << int(Qt::Key_Escape) << int(Answer::No);
}

void TestQtDialogues::messageBox()
{
    QFETCH(int, buttons);
    QFETCH(int, press);
    QFETCH(int, expected);
    QVERIFY(m_windows->openWindow(mainWindow()));

    QString windowTitle;
    QString headline;
    QString informative;
    Qt::TextFormat informativeFormat = Qt::AutoText;
    QMessageBox::Icon icon = QMessageBox::Warning;
    QMessageBox::StandardButtons offered;
    whenModal([&](QWidget *dialogue) {
        auto *box = qobject_cast<QMessageBox *>(dialogue);
        if (!box) {
            dialogue->close();
            return;
        }
        windowTitle = box->windowTitle();
        headline = box->text();
        informative = box->informativeText();
        informativeFormat = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_informativelabel"))->textFormat();
        icon = box->icon();
        offered = box->standardButtons();
        if (press == Qt::Key_Escape || press == Qt::Key_Return)
            QTest::keyClick(box, Qt::Key(press));
        else if (QAbstractButton *button = box->button(QMessageBox::StandardButton(press)))
            button->click();
        else
            box->close();
    });
    const Answer answer = m_windows->messageBox(
        QStringLiteral("Disclaimer"), QStringLiteral("Is <b>this</b> your 'project directory!"), Buttons(buttons));
    QCOMPARE(int(answer), expected);
    QCOMPARE(windowTitle, QStringLiteral("Disclaimer"));
    QCOMPARE(headline, QStringLiteral("Disclaimer"));
    QCOMPARE(informative, QStringLiteral("Is <b>this</b> your 'project directory!"));
    QCOMPARE(informativeFormat, Qt::PlainText);
    QCOMPARE(icon, QMessageBox::NoIcon);
    QCOMPARE(offered, Buttons(buttons) == Buttons::Ok ? QMessageBox::StandardButtons(QMessageBox::Ok)
                                                      : QMessageBox::Yes | QMessageBox::No);
}

void TestQtDialogues::inputBox_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("closeInstead");
    QTest::addColumn<QString>("expected");
    QTest::newRow("pre-filled kept") << QString() << false << QStringLiteral("farmuser");
    QTest::newRow("typed over") << QStringLiteral("s3cret pass") << false << QStringLiteral("s3cret pass");
    QTest::newRow("closed") << QStringLiteral("typed") << true << QString();
}

void TestQtDialogues::inputBox()
{
    QFETCH(QString, typed);
    QFETCH(bool, closeInstead);
    QFETCH(QString, expected);
    QVERIFY(m_windows->openWindow(mainWindow()));

    QString title;
    QString prompt;
    QString prefilled;
    QLineEdit::EchoMode echo = QLineEdit::NoEcho;
    whenModal([&](QWidget *dialogue) {
        title = dialogue->windowTitle();
        auto *label = dialogue->findChild<QLabel *>(QStringLiteral("inputPrompt"));
        auto *field = dialogue->findChild<QLineEdit *>(QStringLiteral("inputText"));
        if (!label || !field) {
            dialogue->close();
            return;
        }
        prompt = label->text();
        prefilled = field->text();
        echo = field->echoMode();
        if (!typed.isEmpty()) {
            field->selectAll();
            QTest::keyClicks(field, typed);
        }
        if (closeInstead)
            dialogue->close();
        else
            QTest::keyClick(field, Qt::Key_Return);
    });
    const QString answer =
        m_windows->inputBox(QStringLiteral("Login"), QStringLiteral("Your farm login:"), QStringLiteral("farmuser"));
    QCOMPARE(answer, expected);
    QCOMPARE(title, QStringLiteral("Login"));
    QCOMPARE(prompt, QStringLiteral("Your farm login:"));
    QCOMPARE(prefilled, QStringLiteral("farmuser"));
    QCOMPARE(echo, QLineEdit::Normal);
}

void TestQtDialogues::chooseDirectory_data()
{
    QTest::addColumn<QString>("start"); // relative to the temporary directory
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("expected");
    QTest::newRow("pre-selected project") << QStringLiteral("/projects/My Project") << true
                                          << QStringLiteral("/projects") << QStringLiteral("/projects/My Project/");
    QTest::newRow("directory with its slash")
        << QStringLiteral("/projects/My Project/") << true << QStringLiteral("/projects/My Project")
        << QStringLiteral("/projects/My Project/");
    QTest::newRow("cancelled") << QStringLiteral("/projects/My Project") << false << QStringLiteral("/projects")
                               << QString();
}

void TestQtDialogues::chooseDirectory()
{
    QFETCH(QString, start);
    QFETCH(bool, accept);
    QFETCH(QString, shown);
    QFETCH(QString, expected);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    QVERIFY(QDir(root.path()).mkpath(QStringLiteral("projects/My Project/scenes")));

    QString title;
    QString directory;
    bool dirsOnly = false;
    whenModal([&](QWidget *dialogue) {
        auto *chooser = qobject_cast<QFileDialog *>(dialogue);
        if (!chooser) {
            dialogue->close();
            return;
        }
        title = chooser->windowTitle();
        directory = chooser->directory().absolutePath();
        dirsOnly = chooser->testOption(QFileDialog::ShowDirsOnly) && chooser->fileMode() == QFileDialog::Directory;
        // What the dialogue's own Choose and Cancel buttons
        // call.
        QDialog *asked = chooser;
        if (accept)
            asked->accept();
        else
            asked->reject();
    });
    const QString answer =
        m_windows->chooseDirectory(QStringLiteral("Choose the project directory"), root.path() + start);
    QCOMPARE(answer, expected.isEmpty() ? QString() : root.path() + expected);
    QCOMPARE(title, QStringLiteral("Choose the project directory"));
    QCOMPARE(directory, root.path() + shown);
    QVERIFY(dirsOnly);
}

QTEST_MAIN(TestQtDialogues)
#include "tst_qt_dialogues.moc"
