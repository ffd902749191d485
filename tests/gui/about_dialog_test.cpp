#include "about_dialog.h"
#include "fakes/fake_shell_opener.h"
#include "started_window.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace velmora::test
{

namespace
{

// Product version 1.1.1.38 whose string table says "1.0".
const TVersionStamp Sample { .VersionBuild = 38,
    .VersionComments = "Editor for icons",
    .VersionLegalNotice = "Copyright (c) Example",
    .VersionText = "1.0",
    .VersionMajor = 1,
    .VersionMinor = 1,
    .VersionProductName = "Example Product",
    .VersionRelease = 1 };

// An About dialog over a fake shell, with the messages it shows collected.
struct TShownDialog {
    TFakeShellOpener Shell;
    std::vector<std::string> Messages;
    TFormDlgAbout Dialog { nullptr, &Shell,
        [this](const std::string& text) { Messages.push_back(text); } };

    explicit TShownDialog(const TVersionStamp& stamp = Sample)
    {
        Dialog.SetVersionStamp(stamp);
        Dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&Dialog));
    }
    template <class T> T* Find(const char* name)
    {
        T* child = Dialog.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
};

// Runs a step as soon as the next modal dialog is showing; it must be closed by then.
void WhenModal(const std::function<void(TFormDlgAbout*)>& step)
{
    QTimer::singleShot(0, [step] {
        auto* dialog = qobject_cast<TFormDlgAbout*>(QApplication::activeModalWidget());
        EXPECT_NE(dialog, nullptr);
        if (!dialog)
            return;
        step(dialog);
        if (dialog->isVisible()) {
            ADD_FAILURE() << "the dialog is still open";
            dialog->reject();
        }
    });
}

} // namespace

TEST(AboutDialogTest, F1AndTheMenuShowTheProgramsVersion)
{
    TStartedWindow w;
    EXPECT_EQ(w.Window.windowTitle(),
        QStringLiteral("velmora icon manager 0.1 - Editor for Windows icon files"));
    // Later activations leave the title alone.
    w.Window.setWindowTitle(QStringLiteral("changed"));
    QEvent change(QEvent::ActivationChange);
    QCoreApplication::sendEvent(&w.Window, &change);
    EXPECT_EQ(w.Window.windowTitle(), QStringLiteral("changed"));

    // A link that cannot be opened reports through the window's prompts.
    TFakeShellOpener shell(IShellOpener::NoAssociation);
    w.Window.FormDlgAbout()->SetShellOpener(&shell);
    int shown = 0;
    auto check = [&](TFormDlgAbout* dialog) {
        ++shown;
        EXPECT_EQ(
            dialog->findChild<QPlainTextEdit*>(QStringLiteral("MemoVersionStamp"))->toPlainText(),
            QStringLiteral("Version\t  0.1.0.0\tCopyright (c) 2026 velmora developers\n"
                           "Release\t  0\nBuild\t  0\tEditor for Windows icon files"));
        dialog->ExecuteLabel(dialog->findChild<QLabel*>(QStringLiteral("LabelHomepageURL")));
        QTest::keyClick(dialog, Qt::Key_Escape);
    };
    WhenModal(check);
    QTest::keyClick(w.Window.windowHandle(), Qt::Key_F1);
    WhenModal(check);
    w.Window.findChild<QAction*>(QStringLiteral("About1"))->trigger();
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(w.Prompts.Messages, std::vector<std::string>(2, "No application associated."));
}

TEST(AboutDialogTest, LinksOpenAndTurnBlueWhilePointedAt)
{
    TShownDialog d;
    EXPECT_EQ(d.Dialog.windowTitle(), QStringLiteral("About Example Product"));
    auto* mail = d.Find<QLabel>("LabelEMailURL");
    auto* home = d.Find<QLabel>("LabelHomepageURL");
    // A click opens the link of the label's hint; a refusal's message is shown, the dialog
    // stays open.
    QTest::mouseClick(mail, Qt::LeftButton);
    d.Shell.SetAnswer(IShellOpener::NoAssociation);
    QTest::mouseClick(home, Qt::LeftButton);
    d.Dialog.ExecuteLabel(d.Find<QLabel>("LabelEMail")); // opens nothing
    const std::vector<TFakeShellOpener::TCall> calls {
        { 0, "open", "mailto:velmora@example.com?subject=Example%20Product%201.0.1.38", "", "", 1 },
        { 0, "open", "https://velmora.example.com/icon-manager/", "", "", 1 },
    };
    EXPECT_EQ(d.Shell.Calls(), calls);
    EXPECT_EQ(d.Messages, std::vector<std::string> { "No application associated." });
    EXPECT_TRUE(d.Dialog.isVisible());

    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(home, &enter);
    EXPECT_EQ(home->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(home, &leave);
    EXPECT_EQ(home->palette().color(QPalette::WindowText), QColor(0, 0, 128));

    // Each showing fills it anew: an unreadable version shows empty texts and zeros.
    d.Dialog.hide();
    d.Dialog.SetVersionStamp({});
    d.Dialog.show();
    EXPECT_EQ(d.Find<QPlainTextEdit>("MemoVersionStamp")->toPlainText(),
        QStringLiteral("Version\t  \t\nRelease\t  0\nBuild\t  0\t"));
}

TEST(AboutDialogTest, OkHasTheFocusAndEnterClosesIt)
{
    TShownDialog d;
    EXPECT_EQ(d.Dialog.focusWidget(), d.Find<QPushButton>("ButtonOk"));
    QTest::keyClick(d.Dialog.focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(d.Dialog.isVisible());
    EXPECT_EQ(d.Dialog.result(), QDialog::Accepted);
}

} // namespace velmora::test
