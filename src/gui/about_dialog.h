#pragma once

#include "platform/shell_execute.h"
#include "programs/version_stamp.h"

#include <QDialog>
#include <memory>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace velmora
{

class TQtShellOpener;

/// The About dialog: the product's logo and icon, the version block of the version stamp, and
/// links to the home page and the mail address. It is made once at start-up, hidden until
/// shown modally, and filled anew from the stamp at each showing. "Ok", Enter and Esc close it
/// with the result Accepted.
class TFormDlgAbout : public QDialog
{
    Q_OBJECT
public:
    /// shell: where the links go (nullptr: the desktop's opener). showMessage: how the shell's
    /// refusal is told (empty: a message box over the dialog).
    explicit TFormDlgAbout(
        QWidget* parent = nullptr, IShellOpener* shell = nullptr, TShowMessage showMessage = {});
    ~TFormDlgAbout() override;

    /// The stamp that the next showing shows.
    void SetVersionStamp(const TVersionStamp& stamp) { m_stamp = stamp; }
    const TVersionStamp& VersionStamp() const { return m_stamp; }
    /// Replaces where the links go (nullptr: the desktop's opener).
    void SetShellOpener(IShellOpener* shell);

    /// Fills title, version block and links from the stamp; runs at each showing.
    void FormShow();
    /// Opens the link that the hint of a link label holds.
    void ExecuteLabel(QWidget* sender);
    /// Pointing at a link label turns it blue; leaving it, navy again.
    void Label_MouseEnter(QWidget* sender);
    void Label_MouseLeave(QWidget* sender);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    /// Gives each control its design size, or more where its text needs it.
    void FitControlsToTexts();
    void CenterOverOwner();
    bool IsLinkLabel(const QObject* object) const;

    TVersionStamp m_stamp;
    std::unique_ptr<TQtShellOpener> m_ownShell;
    IShellOpener* m_shell = nullptr;
    TShowMessage m_showMessage;

    QPlainTextEdit* m_memoVersionStamp = nullptr;
    QLabel* m_labelUpdate = nullptr;
    QLabel* m_labelInternet = nullptr;
    QLabel* m_labelHomepageURL = nullptr;
    QLabel* m_labelContact = nullptr;
    QLabel* m_labelEMail = nullptr;
    QLabel* m_labelEMailURL = nullptr;
    QPushButton* m_buttonOk = nullptr;
};

} // namespace velmora
