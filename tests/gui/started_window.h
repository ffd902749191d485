#pragma once

#include "application.h"
#include "fakes/fake_pane_platform.h"
#include "frame_icon_directory.h"
#include "main_window.h"

#include <QDropEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

namespace velmora::test
{

/// A main window over scripted prompts, started with the arguments, shown and active. Errors
/// that reach the application's guard are collected in Errors. With realClipboard the panes
/// use the desktop's clipboard, otherwise an in-memory one. Prompts that have a Window member
/// are given the window.
template <class TPrompts = TFakePanePlatform> struct TStartedWindowOf {
    TPrompts Prompts;
    TFakeClipboard Clipboard;
    TFormQEBMain Window;
    std::vector<std::string> Errors;

    explicit TStartedWindowOf(bool realClipboard = false, const QStringList& arguments = {})
        : Window(arguments, &Prompts, realClipboard ? nullptr : &Clipboard)
    {
        if constexpr (requires { Prompts.Window; })
            Prompts.Window = &Window;
        App()->SetErrorHandler([this](const std::string& text) { Errors.push_back(text); });
        QSignalSpy started(&Window, &TFormQEBMain::StartupDone);
        Window.show();
        EXPECT_TRUE(started.count() == 1 || started.wait(5000));
        Window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&Window));
    }
    ~TStartedWindowOf() { App()->SetErrorHandler({}); }
    TStartedWindowOf(const TStartedWindowOf&) = delete;
    TStartedWindowOf& operator=(const TStartedWindowOf&) = delete;

    static TVelmoraApplication* App()
    {
        return static_cast<TVelmoraApplication*>(QCoreApplication::instance());
    }
    TIconPane& Pane1() { return Window.FrameIcon1()->Pane(); }
    TIconPane& Pane2() { return Window.FrameIcon2()->Pane(); }
    template <class T> T* Find(const char* name)
    {
        return Window.findChild<T*>(QString::fromLatin1(name));
    }
};

using TStartedWindow = TStartedWindowOf<>;

/// Drags data onto the window at the middle of a widget in it, and drops it there.
inline void DropOn(QWidget& window, QWidget* onto, QMimeData& data)
{
    const QPoint at = onto->mapTo(&window, onto->rect().center());
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &drop);
}

/// Drops local files there, in this order.
inline void DropFiles(QWidget& window, QWidget* onto, const std::vector<std::string>& files)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const std::string& file : files)
        urls.push_back(QUrl::fromLocalFile(QString::fromStdString(file)));
    data.setUrls(urls);
    DropOn(window, onto, data);
}

} // namespace velmora::test
