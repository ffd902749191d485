#include "about_dialog.h"
#include "fakes/fake_shell_opener.h"
#include "product_artwork.h"
#include "started_window.h"

#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace velmora::test
{

namespace
{

const QColor Navy(0, 0, 128);
const QColor Blue(0, 0, 255);

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

QColor TextColor(const QWidget* widget)
{
    return widget->palette().color(QPalette::WindowText);
}

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

TEST(AboutDialogTest, TitleComesFromTheProgramsVersionOnce)
{
    TStartedWindow w;
    EXPECT_EQ(w.Window.windowTitle(),
        QStringLiteral("velmora icon manager 0.1 - Editor for Windows icon files"));
    const TVersionStamp stamp = w.Window.VersionStamp();

    // Later activations leave the title and the stamp alone.
    w.Window.setWindowTitle(QStringLiteral("changed"));
    QEvent change(QEvent::ActivationChange);
    QCoreApplication::sendEvent(&w.Window, &change);
    w.Window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&w.Window));
    EXPECT_EQ(w.Window.windowTitle(), QStringLiteral("changed"));
    EXPECT_EQ(w.Window.VersionStamp(), stamp);
}

TEST(AboutDialogTest, F1ShowsTheProgramsVersionEachTime)
{
    TStartedWindow w;
    const QString block
        = QStringLiteral("Version\t  0.1.0.0\tCopyright (c) 2026 velmora developers\n"
                         "Release\t  0\nBuild\t  0\tEditor for Windows icon files");
    int shown = 0;
    auto check = [&](TFormDlgAbout* dialog) {
        ++shown;
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("About velmora icon manager"));
        EXPECT_EQ(
            dialog->findChild<QPlainTextEdit*>(QStringLiteral("MemoVersionStamp"))->toPlainText(),
            block);
        QTest::keyClick(dialog, Qt::Key_Escape);
    };
    WhenModal(check);
    QTest::keyClick(w.Window.windowHandle(), Qt::Key_F1);
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(w.Window.FormDlgAbout()->isVisible());

    // The menu entry shows it again, with the same values.
    WhenModal(check);
    w.Window.findChild<QAction*>(QStringLiteral("About1"))->trigger();
    EXPECT_EQ(shown, 2);
}

TEST(AboutDialogTest, ShowsTheStampAndItsLinks)
{
    TShownDialog d;
    EXPECT_EQ(d.Dialog.windowTitle(), QStringLiteral("About Example Product"));
    EXPECT_EQ(d.Find<QPlainTextEdit>("MemoVersionStamp")->toPlainText(),
        QStringLiteral(
            "Version\t  1.0\tCopyright (c) Example\nRelease\t  1\nBuild\t  38\tEditor for icons"));
    auto* mail = d.Find<QLabel>("LabelEMailURL");
    auto* home = d.Find<QLabel>("LabelHomepageURL");
    EXPECT_EQ(mail->toolTip(),
        QStringLiteral("mailto:velmora@example.com?subject=Example%20Product%201.0.1.38"));
    EXPECT_EQ(home->toolTip(), QStringLiteral("https://velmora.example.com/icon-manager/"));
    // A click opens the link of the label's hint; the message of a refusal is shown and the
    // dialog stays open.
    QTest::mouseClick(mail, Qt::LeftButton);
    d.Shell.SetAnswer(IShellOpener::NoAssociation);
    QTest::mouseClick(home, Qt::LeftButton);
    using TCall = TFakeShellOpener::TCall;
    const std::vector<TCall> calls {
        { 0, "open", "mailto:velmora@example.com?subject=Example%20Product%201.0.1.38", "", "", 1 },
        { 0, "open", "https://velmora.example.com/icon-manager/", "", "", 1 },
    };
    EXPECT_EQ(d.Shell.Calls(), calls);
    EXPECT_EQ(d.Messages, std::vector<std::string> { "No application associated." });
    EXPECT_TRUE(d.Dialog.isVisible());

    // Other labels open nothing.
    d.Dialog.ExecuteLabel(d.Find<QLabel>("LabelEMail"));
    EXPECT_EQ(d.Shell.Calls().size(), 2u);

    // Each showing fills it anew: the empty stamp of an unreadable version shows empty texts
    // and zeros.
    d.Dialog.hide();
    d.Dialog.SetVersionStamp({});
    d.Dialog.show();
    EXPECT_EQ(d.Dialog.windowTitle(), QStringLiteral("About "));
    EXPECT_EQ(d.Find<QPlainTextEdit>("MemoVersionStamp")->toPlainText(),
        QStringLiteral("Version\t  \t\nRelease\t  0\nBuild\t  0\t"));
}

TEST(AboutDialogTest, LinksTurnBlueWhilePointedAt)
{
    TShownDialog d;
    for (const char* name : { "LabelHomepageURL", "LabelEMailURL" }) {
        auto* link = d.Find<QLabel>(name);
        EXPECT_EQ(TextColor(link), Navy) << name;
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QCoreApplication::sendEvent(link, &enter);
        EXPECT_EQ(TextColor(link), Blue) << name;
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(link, &leave);
        EXPECT_EQ(TextColor(link), Navy) << name;
    }
}

TEST(AboutDialogTest, OkEnterAndEscCloseIt)
{
    struct TRow {
        const char* Name;
        const char* FocusOn; // the control with the focus when the key comes
        Qt::Key Key;
    };
    const std::vector<TRow> rows {
        { "Enter on Ok", "ButtonOk", Qt::Key_Return },
        { "Esc in the version block", "MemoVersionStamp", Qt::Key_Escape },
    };
    for (const TRow& row : rows) {
        TShownDialog d;
        auto* ok = d.Find<QPushButton>("ButtonOk");
        EXPECT_TRUE(ok->isDefault()) << row.Name;
        // "Ok" comes first in the tab order and has the focus when the dialog opens.
        EXPECT_EQ(d.Dialog.focusWidget(), ok) << row.Name;
        QWidget* focus = d.Find<QWidget>(row.FocusOn);
        focus->setFocus();
        QTest::keyClick(focus, row.Key);
        EXPECT_FALSE(d.Dialog.isVisible()) << row.Name;
        EXPECT_EQ(d.Dialog.result(), QDialog::Accepted) << row.Name;
    }
}

TEST(AboutDialogTest, RefusalsReachTheWindowsPrompts)
{
    TStartedWindow w;
    TFakeShellOpener shell(IShellOpener::NoAssociation);
    TFormDlgAbout* about = w.Window.FormDlgAbout();
    about->SetShellOpener(&shell);
    about->SetVersionStamp(w.Window.VersionStamp());
    about->FormShow();
    about->ExecuteLabel(about->findChild<QLabel*>(QStringLiteral("LabelHomepageURL")));
    ASSERT_EQ(shell.Calls().size(), 1u);
    EXPECT_EQ(w.Prompts.Messages, std::vector<std::string> { "No application associated." });
}

} // namespace velmora::test
