#pragma once

#include <QApplication>
#include <functional>
#include <string>

namespace velmora
{

/// The application object. Every event goes through one guard: an error that no handler
/// caught is shown with its text in a message box (the application's standard error handler)
/// and the program goes on, so that no exception ever escapes into Qt's event loop.
class TVelmoraApplication : public QApplication
{
    Q_OBJECT
public:
    TVelmoraApplication(int& argc, char** argv);
    ~TVelmoraApplication() override;

    bool notify(QObject* receiver, QEvent* event) override;

    /// Shows an error text; by default in a message box. Tests replace it.
    using TErrorHandler = std::function<void(const std::string&)>;
    void SetErrorHandler(TErrorHandler handler) { m_errorHandler = std::move(handler); }
    void ShowError(const std::string& text);

private:
    TErrorHandler m_errorHandler;
    bool m_showingError = false;
};

/// Runs a step under the application's guard: an error it raises is shown, not passed on. Every
/// place where Qt calls the program's own code runs it so: Qt's widget libraries are built
/// without unwinding tables, so an error must never travel through them.
void RunGuarded(const std::function<void()>& step);

} // namespace velmora
