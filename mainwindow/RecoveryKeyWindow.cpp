#include "mainwindow/RecoveryKeyWindow.h"

#include "config/AtomicFile.h"
#include "config/DataFolder.h"
#include "mainwindow/SealingTexts.h"
#include "reasons/ReasonSentence.h"
#include "toolkit/FileDialog.h"
#include "toolkit/MessageBox.h"
#include "toolkit/ModalDialog.h"
#include "toolkit/ProgramDirectory.h"
#include "toolkit/ToolkitTexts.h"

#include <QDir>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

RecoveryKeyWindow::RecoveryKeyWindow(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(SealingText::RecoveryTitle);
    setObjectName(u"RecoveryKeyWindow"_s);
}

void RecoveryKeyWindow::createControls(const QString &explanation)
{
    m_explanation = new QLabel(explanation, this);
    m_explanation->setObjectName(u"explanation"_s);
    m_explanation->setWordWrap(true);
    m_keyBox = new QLineEdit(this);
    m_keyBox->setObjectName(u"keyBox"_s);
    QFont keyFont = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    keyFont.setPointSize(14);
    m_keyBox->setFont(keyFont);
    m_keyBox->setMinimumWidth(QFontMetrics(keyFont).horizontalAdvance(u'M') * 42);
    m_okButton = new QPushButton(this);
    m_okButton->setObjectName(u"okButton"_s);
    m_okButton->setDefault(true);
    m_otherButton = new QPushButton(this);
    m_otherButton->setObjectName(u"otherButton"_s);
    m_quitButton = new QPushButton(SealingText::Quit, this);
    m_quitButton->setObjectName(u"quitButton"_s);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *button : {m_otherButton, m_okButton, m_quitButton})
        buttons->addWidget(button);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_explanation);
    layout->addWidget(m_keyBox);
    layout->addLayout(buttons);
    setMaximumWidth(560);
}

void RecoveryKeyWindow::showNewKey(const QString &keyText, QWidget *parent)
{
    RecoveryKeyWindow window(parent);
    window.createControls(SealingText::NewKeyExplanation);
    window.m_keyBox->setText(keyText);
    window.m_keyBox->setReadOnly(true);
    window.m_okButton->setText(SealingText::KeyNoted);
    window.m_otherButton->setText(SealingText::SaveKey);
    window.m_quitButton->hide();
    connect(window.m_okButton, &QPushButton::clicked, &window, &QDialog::accept);
    connect(window.m_otherButton, &QPushButton::clicked, &window, &RecoveryKeyWindow::saveToFile);
    execDialog(window);
}

RecoveryKeyWindow::Choice RecoveryKeyWindow::askForKey(const QString &account, const QString &message,
                                                       QString &typed, QWidget *parent)
{
    RecoveryKeyWindow window(parent);
    const QString explanation = SealingText::LockedExplanation.arg(account);
    window.createControls(message.isEmpty() ? explanation : message + u"\n\n"_s + explanation);
    window.m_keyBox->setText(typed);
    window.m_keyBox->setPlaceholderText(u"XXXX-XXXX-XXXX-XXXX-XXXX-XXXX-XXXX-XXXX"_s);
    window.m_okButton->setText(SealingText::OpenWithKey);
    window.m_otherButton->setText(SealingText::RestoreUserInfo);
    const auto choose = [&window](Choice choice) {
        window.m_choice = choice;
        window.accept();
    };
    connect(window.m_okButton, &QPushButton::clicked, &window, [choose] { choose(Choice::Key); });
    connect(window.m_otherButton, &QPushButton::clicked, &window, [choose] { choose(Choice::RestoreUserInfo); });
    connect(window.m_quitButton, &QPushButton::clicked, &window, [choose] { choose(Choice::Quit); });
    execDialog(window);
    typed = window.m_keyBox->text();
    return window.m_choice;
}

void RecoveryKeyWindow::saveToFile()
{
    const std::optional<QString> chosen = showFileDialog({.kind = FileDialogKind::Save,
                                                          .title = SealingText::SaveDialogTitle,
                                                          .initialName = SealingText::SaveName,
                                                          .filter = SealingText::SaveFilter,
                                                          .defaultExtension = SealingText::SaveExtension});
    if (!chosen)
        return;
    const QString shown = QDir::toNativeSeparators(*chosen);
    if (const std::optional<QString> held = DataFolder(programDirectory()).heldFile(*chosen)) {
        messageBox(SealingText::SaveOntoProgramFile.arg(QDir::toNativeSeparators(*held)), MessageKind::Warning,
                   ToolkitText::ErrorTitle);
        return;
    }
    const QByteArray content = (SealingText::FileHeading + u"\r\n"_s + m_keyBox->text() + u"\r\n"_s).toUtf8();
    if (const auto written = writeFileAtomically(*chosen, content); !written) {
        messageBox(SealingText::KeyNotSaved.arg(shown, reasonSentence(written.error())), MessageKind::Warning,
                   ToolkitText::ErrorTitle);
        return;
    }
    messageBox(SealingText::KeySaved.arg(shown), MessageKind::Information, SealingText::RecoveryTitle);
}
