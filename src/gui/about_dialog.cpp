#include "about_dialog.h"

#include "messages/messages.h"
#include "product_artwork.h"
#include "qt_prompts.h"
#include "qt_shell_opener.h"

#include <QAbstractTextDocumentLayout>
#include <QBoxLayout>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextBlock>
#include <QTextDocument>
#include <cmath>
#include <functional>

namespace velmora
{

namespace
{

const QColor Navy(0, 0, 128);
const QColor HoverBlue(0, 0, 255);
const QColor LineLight(255, 204, 153);
const QColor LineDark(0, 51, 102);

// Control sizes of the design, in pixels at 96 dpi.
constexpr QSize LogoSize(256, 64);
constexpr QSize IconSize(32, 32);
constexpr QSize MemoSize(393, 49);
constexpr QSize LineSize(387, 1);
constexpr QSize HeadingSize(387, 15);
constexpr QSize CaptionSize(65, 15);
constexpr QSize LinkSize(313, 15);
constexpr QSize ButtonSize(75, 23);

// A picture drawn as vectors at the widget's own size, so it is sharp at any screen density.
class TArtworkView : public QWidget
{
public:
    using TPaint = std::function<void(QPainter&, const QRectF&)>;
    TArtworkView(const QString& name, QSize size, TPaint paint, QWidget* parent)
        : QWidget(parent)
        , m_paint(std::move(paint))
    {
        setObjectName(name);
        setFixedSize(size);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        m_paint(painter, QRectF(rect()));
    }

private:
    TPaint m_paint;
};

// The monospaced font of the texts, 12 pixels high.
QFont FixedFont(bool bold)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(12);
    font.setBold(bold);
    return font;
}

void SetTextColor(QWidget* widget, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    widget->setPalette(palette);
}

QLabel* MakeLabel(
    const QString& name, std::string_view text, bool bold, const QColor* color, QWidget* parent)
{
    auto* label = new QLabel(UiText(text), parent);
    label->setObjectName(name);
    label->setFont(FixedFont(bold));
    if (color)
        SetTextColor(label, *color);
    return label;
}

QFrame* MakeLine(const QString& name, const QColor& color, QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setObjectName(name);
    line->setFrameShape(QFrame::NoFrame);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, color);
    line->setPalette(palette);
    line->setFixedSize(LineSize);
    return line;
}

// The design size, or the size that the widget's text needs where that is more.
void FitSize(QWidget* widget, QSize design)
{
    widget->setFixedSize(design.expandedTo(widget->sizeHint()));
}

// The width of text in a font, each tab advancing to the next multiple of tabStop.
qreal TextWidth(const QString& text, const QFontMetricsF& metrics, qreal tabStop)
{
    qreal x = 0;
    const QStringList parts = text.split(QLatin1Char('\t'));
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0)
            x = (std::floor(x / tabStop) + 1) * tabStop;
        x += metrics.horizontalAdvance(parts[i]);
    }
    return x;
}

// A row of the dialog: a left margin, the widgets with the gaps between them, and space after.
QHBoxLayout* Row(int left, std::initializer_list<std::pair<QWidget*, int>> widgets)
{
    auto* row = new QHBoxLayout;
    row->setSpacing(0);
    row->addSpacing(left);
    for (const auto& [widget, gapAfter] : widgets) {
        row->addWidget(widget);
        if (gapAfter > 0)
            row->addSpacing(gapAfter);
    }
    row->addStretch(1);
    return row;
}

} // namespace

TFormDlgAbout::TFormDlgAbout(QWidget* parent, IShellOpener* shell, TShowMessage showMessage)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FormDlgAbout"));
    SetShellOpener(shell);
    m_showMessage = showMessage
        ? std::move(showMessage)
        : TShowMessage([this](const std::string& text) { TQtPrompts(this).ShowMessage(text); });
    // A white form.
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::Base, Qt::white);
    setPalette(palette);
    setAutoFillBackground(true);
    CreateControls();
    FitControlsToTexts();
}

TFormDlgAbout::~TFormDlgAbout() = default;

void TFormDlgAbout::SetShellOpener(IShellOpener* shell)
{
    if (!shell && !m_ownShell)
        m_ownShell = std::make_unique<TQtShellOpener>();
    m_shell = shell ? shell : m_ownShell.get();
}

void TFormDlgAbout::CreateControls()
{
    auto* imageLogo = new TArtworkView(
        QStringLiteral("ImageLogo"), LogoSize,
        [](QPainter& p, const QRectF& r) { PaintProductLogo(p, r, UiText(Messages::ProductName)); },
        this);
    auto* image1 = new TArtworkView(QStringLiteral("Image1"), IconSize, PaintProgramIcon, this);

    m_memoVersionStamp = new QPlainTextEdit(this);
    m_memoVersionStamp->setObjectName(QStringLiteral("MemoVersionStamp"));
    m_memoVersionStamp->setReadOnly(true);
    m_memoVersionStamp->setTextInteractionFlags(
        Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_memoVersionStamp->setFocusPolicy(Qt::StrongFocus);
    m_memoVersionStamp->setFrameShape(QFrame::NoFrame);
    m_memoVersionStamp->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_memoVersionStamp->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_memoVersionStamp->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_memoVersionStamp->setFont(FixedFont(true));
    // Tab stops every eight characters, as a text editor sets them.
    m_memoVersionStamp->setTabStopDistance(
        8 * QFontMetricsF(m_memoVersionStamp->font()).horizontalAdvance(QLatin1Char(' ')));
    m_memoVersionStamp->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    auto* staticText1 = MakeLine(QStringLiteral("StaticText1"), LineLight, this);
    auto* staticText2 = MakeLine(QStringLiteral("StaticText2"), LineDark, this);

    m_labelUpdate
        = MakeLabel(QStringLiteral("LabelUpdate"), Messages::AboutUpdate, true, &Navy, this);
    m_labelInternet
        = MakeLabel(QStringLiteral("LabelInternet"), Messages::AboutInternet, false, nullptr, this);
    m_labelHomepageURL = MakeLabel(QStringLiteral("LabelHomepageURL"), {}, false, &Navy, this);
    m_labelContact
        = MakeLabel(QStringLiteral("LabelContact"), Messages::AboutContact, true, &Navy, this);
    m_labelEMail
        = MakeLabel(QStringLiteral("LabelEMail"), Messages::AboutEMail, false, nullptr, this);
    m_labelEMailURL = MakeLabel(QStringLiteral("LabelEMailURL"), {}, false, &Navy, this);
    for (QLabel* link : { m_labelHomepageURL, m_labelEMailURL }) {
        link->setCursor(Qt::PointingHandCursor);
        link->installEventFilter(this);
    }

    m_buttonOk = new QPushButton(UiText(Messages::AboutOk), this);
    m_buttonOk->setObjectName(QStringLiteral("ButtonOk"));
    m_buttonOk->setDefault(true);
    connect(m_buttonOk, &QPushButton::clicked, this, &QDialog::accept);
    setTabOrder(m_buttonOk, m_memoVersionStamp);

    // The design places every control in pixels on a client area of 416 x 258; the rows keep
    // those places and move apart only where a text needs more room.
    auto* form = new QVBoxLayout(this);
    form->setSizeConstraint(QLayout::SetFixedSize);
    form->setContentsMargins(0, 8, 0, 11);
    form->setSpacing(0);

    auto* iconColumn = new QVBoxLayout;
    iconColumn->setSpacing(0);
    iconColumn->addSpacing(31);
    iconColumn->addWidget(image1);
    iconColumn->addStretch(1);
    // The logo keeps to the right edge.
    auto* header = new QHBoxLayout;
    header->setSpacing(0);
    header->addSpacing(12);
    header->addLayout(iconColumn);
    header->addSpacing(36);
    header->addStretch(1);
    header->addWidget(imageLogo);
    header->addSpacing(80);
    form->addLayout(header);
    form->addSpacing(8);

    // The version block spans the width.
    auto* memoRow = new QHBoxLayout;
    memoRow->setSpacing(0);
    memoRow->addSpacing(16);
    memoRow->addWidget(m_memoVersionStamp);
    memoRow->addSpacing(7);
    form->addLayout(memoRow);
    form->addSpacing(7);
    form->addLayout(Row(16, { { staticText1, 0 } }));
    form->addLayout(Row(16, { { staticText2, 0 } }));
    form->addSpacing(6);
    form->addLayout(Row(10, { { m_labelUpdate, 19 } }));
    form->addSpacing(1);
    form->addLayout(Row(16, { { m_labelInternet, 7 }, { m_labelHomepageURL, 15 } }));
    form->addSpacing(1);
    form->addLayout(Row(10, { { m_labelContact, 19 } }));
    form->addSpacing(1);
    form->addLayout(Row(16, { { m_labelEMail, 7 }, { m_labelEMailURL, 15 } }));
    form->addSpacing(17);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(m_buttonOk);
    buttonRow->addStretch(1);
    form->addLayout(buttonRow);
}

void TFormDlgAbout::FitControlsToTexts()
{
    for (QLabel* heading : { m_labelUpdate, m_labelContact })
        FitSize(heading, HeadingSize);
    for (QLabel* caption : { m_labelInternet, m_labelEMail })
        FitSize(caption, CaptionSize);
    for (QLabel* link : { m_labelHomepageURL, m_labelEMailURL })
        FitSize(link, LinkSize);
    FitSize(m_buttonOk, ButtonSize);

    // The version block shows all its lines whole, without scrolling.
    QTextDocument* document = m_memoVersionStamp->document();
    QAbstractTextDocumentLayout* textLayout = document->documentLayout();
    const QFontMetricsF metrics(m_memoVersionStamp->font());
    const qreal tabStop = m_memoVersionStamp->tabStopDistance();
    qreal width = 0;
    qreal height = 0;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        width = std::max(width, TextWidth(block.text(), metrics, tabStop));
        height += textLayout->blockBoundingRect(block).height();
    }
    const qreal margins = 2 * document->documentMargin() + 2 * m_memoVersionStamp->frameWidth();
    // One pixel more each way: for the text cursor, and for the last line, which the view
    // counts as whole only with a pixel to spare.
    const QSize needed(static_cast<int>(std::ceil(width + margins)) + 1,
        static_cast<int>(std::ceil(height + margins)) + 1);
    const QSize memo = MemoSize.expandedTo(needed);
    m_memoVersionStamp->setMinimumWidth(memo.width());
    m_memoVersionStamp->setFixedHeight(memo.height());
    if (QLayout* form = layout())
        form->activate();
}

void TFormDlgAbout::FormShow()
{
    setWindowTitle(QString::fromStdString(m_stamp.AboutTitle()));
    const QString mailAddress = UiText(Messages::MailAddress);
    m_labelEMailURL->setText(mailAddress);
    m_labelEMailURL->setToolTip(
        QString::fromStdString(m_stamp.MailLink(mailAddress.toStdString())));
    m_labelHomepageURL->setText(UiText(Messages::HomepageAddress));
    m_labelHomepageURL->setToolTip(UiText(Messages::ProductPageAddress));
    m_memoVersionStamp->setPlainText(UiText(m_stamp.VersionBlock()));
    FitControlsToTexts();
}

void TFormDlgAbout::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        FormShow();
        CenterOverOwner();
        // "Ok" comes first in the tab order.
        m_buttonOk->setFocus();
    }
    QDialog::showEvent(event);
}

void TFormDlgAbout::CenterOverOwner()
{
    QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    QScreen* screen = owner ? owner->screen() : this->screen();
    const QRect area = owner && owner->isVisible()
        ? owner->frameGeometry()
        : (screen ? screen->availableGeometry() : QRect());
    if (area.isEmpty())
        return;
    QRect place(QPoint(0, 0), frameGeometry().size());
    place.moveCenter(area.center());
    // Keep the dialog on the owner's screen.
    if (screen) {
        const QRect available = screen->availableGeometry();
        place.moveRight(std::min(place.right(), available.right()));
        place.moveBottom(std::min(place.bottom(), available.bottom()));
        place.moveLeft(std::max(place.left(), available.left()));
        place.moveTop(std::max(place.top(), available.top()));
    }
    move(place.topLeft());
}

void TFormDlgAbout::keyPressEvent(QKeyEvent* event)
{
    // "Ok" is the cancel button too: Esc presses it, so the dialog closes with Accepted.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        m_buttonOk->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TFormDlgAbout::IsLinkLabel(const QObject* object) const
{
    return object == m_labelHomepageURL || object == m_labelEMailURL;
}

bool TFormDlgAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (IsLinkLabel(watched)) {
        auto* label = static_cast<QLabel*>(watched);
        switch (event->type()) {
        case QEvent::Enter:
            Label_MouseEnter(label);
            break;
        case QEvent::Leave:
            Label_MouseLeave(label);
            break;
        case QEvent::MouseButtonRelease: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton
                && label->rect().contains(mouse->position().toPoint()))
                ExecuteLabel(label);
            return true;
        }
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFormDlgAbout::ExecuteLabel(QWidget* sender)
{
    if (!IsLinkLabel(sender))
        return;
    const std::string link = sender->toolTip().toStdString();
    if (link.empty())
        return;
    // A refusal is told by the message; the dialog stays open either way.
    ShellExecuteWithMessages(
        *m_shell, m_showMessage, link, 0, "open", "", "", IShellOpener::ShowNormal);
}

void TFormDlgAbout::Label_MouseEnter(QWidget* sender)
{
    SetTextColor(sender, HoverBlue);
}

void TFormDlgAbout::Label_MouseLeave(QWidget* sender)
{
    SetTextColor(sender, Navy);
}

} // namespace velmora
