#include "qt_window_system.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

// The modal dialogues of the Qt window system.
namespace Platform {

QWidget *QtWindowSystem::dialogueParent() const
{
    return QApplication::activeWindow();
}

Answer QtWindowSystem::messageBox(const QString &title, const QString &text, Buttons buttons)
{
    QMessageBox box(dialogueParent());
    box.setIcon(QMessageBox::NoIcon);
    box.setWindowTitle(title);
    box.setTextFormat(Qt::PlainText);
    box.setText(title);
    box.setInformativeText(text);
    if (auto *informative = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_informativelabel")))
        informative->setTextFormat(Qt::PlainText);
    // The title is the headline, set off from the text as macOS does it.
    if (auto *headline = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label"))) {
        QFont font = headline->font();
        font.setBold(true);
        headline->setFont(font);
    }
    if (buttons == Buttons::Ok) {
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return Answer::Ok;
    }
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    box.exec();
    return box.clickedButton() == box.button(QMessageBox::Yes) ? Answer::Yes : Answer::No;
}

QString QtWindowSystem::inputBox(const QString &title, const QString &prompt, const QString &prefilled)
{
    QDialog dialog(dialogueParent());
    dialog.setWindowTitle(title);
    auto *layout = new QVBoxLayout(&dialog);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto *label = new QLabel(prompt, &dialog);
    label->setObjectName(QStringLiteral("inputPrompt"));
    label->setTextFormat(Qt::PlainText);
    auto *field = new QLineEdit(prefilled, &dialog);
    field->setObjectName(QStringLiteral("inputText"));
    field->setMinimumWidth(300);
    auto *ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setObjectName(QStringLiteral("inputOk"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    layout->addWidget(label);
    layout->addWidget(field);
    layout->addWidget(ok, 0, Qt::AlignRight);
    return dialog.exec() == QDialog::Accepted ? field->text() : QString();
}

QString QtWindowSystem::chooseDirectory(const QString &title, const QString &startPath)
{
    QFileDialog dialog(dialogueParent(), title);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setOption(QFileDialog::DontUseNativeDialog, !m_nativeDialogues);
    const qsizetype slash = startPath.lastIndexOf(u'/');
    if (slash >= 0)
        dialog.setDirectory(slash == 0 ? QStringLiteral("/") : startPath.left(slash));
    const QString selected = startPath.mid(slash + 1);
    if (!selected.isEmpty())
        dialog.selectFile(selected);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    QString chosen = dialog.selectedFiles().value(0);
    if (chosen.isEmpty())
        return {};
    if (!chosen.endsWith(u'/'))
        chosen += u'/';
    return chosen;
}

} // namespace Platform
