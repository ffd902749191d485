#include "qt_prompts.h"

#include "file_dialog_setup.h"
#include "messages/messages.h"
#include "platform/system_colors.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QRegularExpression>
#include <QScopeGuard>
#include <limits>

namespace velmora
{

namespace
{

// "Bitmaps (*.bmp)|*.bmp|PNG picture (*.png)|*.png" as Qt name filters: the labels,
// "Bitmaps (*.bmp)" and "PNG picture (*.png)".
QStringList NameFilters(const std::string& filter)
{
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList labels;
    for (qsizetype i = 0; i < parts.size(); i += 2)
        labels.push_back(parts[i]);
    return labels;
}

void SetUp(QFileDialog& dialog, const TFileDialogSetup& setup)
{
    dialog.setWindowTitle(QString::fromStdString(setup.Title));
    dialog.setNameFilters(NameFilters(setup.Filter));
    dialog.setDefaultSuffix(QString::fromStdString(setup.DefaultExt));
    // A name typed without an extension takes the one of the chosen filter, so that choosing
    // "PNG picture (*.png)" writes a PNG file.
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& label) {
            const qsizetype star = label.indexOf(QStringLiteral("*."));
            if (star < 0)
                return;
            const qsizetype end = label.indexOf(QRegularExpression(QStringLiteral("[ ;)]")), star);
            const QString suffix = label.mid(star + 2, end < 0 ? -1 : end - star - 2);
            if (!suffix.contains(QLatin1Char('*')))
                dialog.setDefaultSuffix(suffix);
        });
}

QColor ToQColor(TColor color)
{
    const TColor rgb = ColorToRGB(color);
    return QColor(static_cast<int>(rgb & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
        static_cast<int>((rgb >> 16) & 0xFF));
}

// The icon of a notice: errors and script errors are critical, refusals warnings, anything
// else (a script's comment) a plain information. The texts come from the message table, so
// their fixed beginnings tell them apart.
QMessageBox::Icon MessageIcon(std::string_view text)
{
    auto startsWith = [text](std::string_view format) {
        const std::string_view prefix = format.substr(0, format.find("%s"));
        return !prefix.empty() && text.substr(0, prefix.size()) == prefix;
    };
    for (std::string_view error : { Messages::IconFileNotOpened, Messages::FileNotSaved,
             Messages::BitmapNotCopied, Messages::ScriptError })
        if (startsWith(error))
            return QMessageBox::Critical;
    for (std::string_view refusal : { Messages::FormatExistsNotAdded, Messages::LastImageNotDeleted,
             Messages::BitmapFileNotFound, Messages::BitmapFormatNotSupported,
             Messages::BitmapNotImported, Messages::BitmapNotRead, Messages::BitmapTooSmall,
             Messages::BitmapTooLarge, Messages::PaletteBitmapRefused })
        if (startsWith(refusal))
            return QMessageBox::Warning;
    return QMessageBox::Information;
}

TColor FromQColor(const QColor& color)
{
    return RGB(static_cast<uint8_t>(color.red()), static_cast<uint8_t>(color.green()),
        static_cast<uint8_t>(color.blue()));
}

} // namespace

QString UiText(std::string_view text)
{
    QString result = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return result;
}

void SetMessageText(QMessageBox& box, std::string_view text, int ownLines)
{
    box.setTextFormat(Qt::PlainText);
    const QString whole = UiText(text);
    const QStringList lines = whole.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (lines.size() <= ownLines) {
        box.setText(whole);
        return;
    }
    box.setText(lines.back());
    box.setInformativeText(lines.mid(0, ownLines).join(QLatin1Char('\n')));
    box.setDetailedText(whole);
}

TQtPrompts::TQtPrompts(QWidget* parent)
    : m_parent(parent)
{
}

void TQtPrompts::ShowMessage(const std::string& text)
{
    const QMessageBox::Icon icon = MessageIcon(text);
    QMessageBox box(icon, UiText(Messages::ProductName), QString(), QMessageBox::Ok,
        m_parent ? m_parent->window() : nullptr);
    // An error names the file and then gives its reasons; "File not saved" names it on a
    // line of its own. Comments and refusals are shown as they are.
    const bool notSaved = text.starts_with(Messages::FileNotSaved);
    // A file the import could not read: the heading and the file, then the reasons.
    const std::string_view notRead
        = Messages::BitmapNotRead.substr(0, Messages::BitmapNotRead.find("%s"));
    if (icon == QMessageBox::Critical)
        SetMessageText(box, text, notSaved ? 2 : 1);
    else if (text.starts_with(notRead))
        SetMessageText(box, text, 2);
    else
        SetMessageText(box, text, std::numeric_limits<int>::max());
    box.exec();
}

namespace
{

// The question box of AskQuestion and AskReplace: no owner window, so the activation and the
// focus it took are handed back when it closes; without that the keys of the focused pane
// (Ctrl+Z right after a replace) go nowhere.
QMessageBox::StandardButton Ask(
    const std::string& text, const std::string& caption, QMessageBox::StandardButtons buttons)
{
    const QPointer<QWidget> active = QApplication::activeWindow();
    const QPointer<QWidget> focus = QApplication::focusWidget();
    const auto restore = qScopeGuard([&active, &focus] {
        if (active)
            active->activateWindow();
        if (focus)
            focus->setFocus(Qt::OtherFocusReason);
    });
    QMessageBox box(QMessageBox::Question, UiText(caption), UiText(text), buttons);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

bool TQtPrompts::AskQuestion(const std::string& text, const std::string& caption)
{
    return Ask(text, caption, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

TReplaceAnswer TQtPrompts::AskReplace(const std::string& text, const std::string& caption)
{
    switch (Ask(text, caption,
        QMessageBox::Yes | QMessageBox::No | QMessageBox::YesToAll | QMessageBox::NoToAll)) {
    case QMessageBox::Yes:
        return TReplaceAnswer::Yes;
    case QMessageBox::YesToAll:
        return TReplaceAnswer::YesToAll;
    case QMessageBox::NoToAll:
        return TReplaceAnswer::NoToAll;
    default:
        return TReplaceAnswer::No;
    }
}

TSaveChangesAnswer TQtPrompts::AskSaveChanges(const std::string& text)
{
    QMessageBox box(QMessageBox::Warning, UiText(Messages::ProductName), UiText(text),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
        m_parent ? m_parent->window() : nullptr);
    box.setObjectName(QStringLiteral("SaveChangesQuestion"));
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save:
        return TSaveChangesAnswer::Save;
    case QMessageBox::Discard:
        return TSaveChangesAnswer::Discard;
    default:
        return TSaveChangesAnswer::Cancel;
    }
}

std::vector<std::string> TQtPrompts::OpenFileDialog(const TFileDialogSetup& setup)
{
    QFileDialog dialog(m_parent ? m_parent->window() : nullptr);
    dialog.setObjectName(QStringLiteral("OpenDialogMain"));
    SetUp(dialog, setup);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(setup.MultiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    PrepareFileDialog(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    RememberDialogFolder(dialog);
    std::vector<std::string> files;
    for (const QString& file : dialog.selectedFiles())
        files.push_back(file.toStdString());
    return files;
}

std::optional<std::string> TQtPrompts::SaveFileDialog(const TFileDialogSetup& setup)
{
    QFileDialog dialog(m_parent ? m_parent->window() : nullptr);
    dialog.setObjectName(QStringLiteral("SaveDialogMain"));
    SetUp(dialog, setup);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // Qt's own question comes before an existing file is named: nobody replaces a file by a
    // slip of the mouse.
    PrepareFileDialog(dialog);
    // The current name, in its folder, is proposed.
    if (!setup.InitialName.empty())
        dialog.selectFile(QString::fromStdString(setup.InitialName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    RememberDialogFolder(dialog);
    return dialog.selectedFiles().front().toStdString();
}

std::optional<TColor> TQtPrompts::ChooseColor(TColor color, TStringList& customColors)
{
    LoadCustomColors(customColors);
    QColorDialog dialog(ToQColor(color), m_parent ? m_parent->window() : nullptr);
    dialog.setObjectName(QStringLiteral("ColorDialogMain"));
    // Qt's own dialog: a desktop's native one may ignore the custom colours given to it.
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    customColors = SaveCustomColors();
    return FromQColor(dialog.selectedColor());
}

void LoadCustomColors(const TStringList& lines)
{
    // The dialog's custom colours are shared by the whole application: each list starts from
    // white, so that no colour of another list shows through.
    for (int i = 0; i < QColorDialog::customCount(); ++i)
        QColorDialog::setCustomColor(i, Qt::white);
    for (const std::string& line : lines.Lines()) {
        // "ColorX=BBGGRR": X from A to P names one of the sixteen custom colours.
        if (line.size() < 8 || line.compare(0, 5, "Color") != 0 || line[6] != '=')
            continue;
        const int index = line[5] - 'A';
        if (index < 0 || index >= QColorDialog::customCount())
            continue;
        bool ok = false;
        const uint value = QString::fromStdString(line.substr(7)).toUInt(&ok, 16);
        if (ok)
            QColorDialog::setCustomColor(index, ToQColor(value & 0xFFFFFF));
    }
}

TStringList SaveCustomColors()
{
    TStringList lines;
    for (int i = 0; i < QColorDialog::customCount(); ++i) {
        const TColor color = FromQColor(QColorDialog::customColor(i));
        lines.Add(QStringLiteral("Color%1=%2")
                      .arg(QChar('A' + i))
                      .arg(color, 6, 16, QChar('0'))
                      .toUpper()
                      .replace(QStringLiteral("COLOR"), QStringLiteral("Color"))
                      .toStdString());
    }
    return lines;
}

} // namespace velmora
