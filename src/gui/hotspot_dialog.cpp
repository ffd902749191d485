// The dialog of "Hotspot...": the cursor image enlarged, where a click picks the hotspot
// pixel, and the two numbers, which follow the click and can be typed.

#include "messages/messages.h"
#include "qt_bitmap.h"
#include "qt_prompts.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

namespace velmora
{

namespace
{

// The image at a whole-number zoom over a checkerboard, the chosen pixel framed.
class THotspotView : public QWidget
{
public:
    THotspotView(QImage image, std::function<void(int, int)> picked)
        : m_image(std::move(image))
        , m_zoom(std::max(1, 256 / std::max({ m_image.width(), m_image.height(), 1 })))
        , m_picked(std::move(picked))
    {
        setObjectName(QStringLiteral("ViewHotspot"));
        setFixedSize(m_image.width() * m_zoom, m_image.height() * m_zoom);
        setCursor(Qt::CrossCursor);
    }
    void SetPoint(int x, int y)
    {
        m_x = x;
        m_y = y;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const int cell = std::max(4, m_zoom);
        for (int y = 0; y < height(); y += cell)
            for (int x = 0; x < width(); x += cell)
                painter.fillRect(x, y, cell, cell,
                    ((x / cell + y / cell) % 2) ? QColor(204, 204, 204) : QColor(255, 255, 255));
        painter.drawImage(rect(), m_image);
        painter.setPen(QPen(Qt::red, 1));
        painter.drawRect(m_x * m_zoom, m_y * m_zoom, m_zoom - 1, m_zoom - 1);
        painter.drawLine(m_x * m_zoom + m_zoom / 2, 0, m_x * m_zoom + m_zoom / 2, height());
        painter.drawLine(0, m_y * m_zoom + m_zoom / 2, width(), m_y * m_zoom + m_zoom / 2);
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        const QPoint at = event->position().toPoint();
        m_picked(std::clamp(at.x() / m_zoom, 0, m_image.width() - 1),
            std::clamp(at.y() / m_zoom, 0, m_image.height() - 1));
    }

private:
    QImage m_image;
    int m_zoom;
    std::function<void(int, int)> m_picked;
    int m_x = 0;
    int m_y = 0;
};

} // namespace

std::optional<std::pair<int, int>> TQtPrompts::ChooseHotspot(const TBitmap& picture, int x, int y)
{
    QDialog dialog(m_parent ? m_parent->window() : nullptr);
    dialog.setObjectName(QStringLiteral("DialogHotspot"));
    dialog.setWindowTitle(QObject::tr("Hotspot"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* spinX = new QSpinBox;
    auto* spinY = new QSpinBox;
    spinX->setObjectName(QStringLiteral("SpinHotspotX"));
    spinY->setObjectName(QStringLiteral("SpinHotspotY"));
    spinX->setRange(0, std::max(0, picture.Width() - 1));
    spinY->setRange(0, std::max(0, picture.Height() - 1));
    auto* view = new THotspotView(ToQImage(picture), [=](int px, int py) {
        spinX->setValue(px);
        spinY->setValue(py);
    });
    layout->addWidget(view, 0, Qt::AlignHCenter);
    auto* numbers = new QFormLayout;
    numbers->addRow(QObject::tr("&X:"), spinX);
    numbers->addRow(QObject::tr("&Y:"), spinY);
    layout->addLayout(numbers);
    const auto follow = [=] { view->SetPoint(spinX->value(), spinY->value()); };
    QObject::connect(spinX, &QSpinBox::valueChanged, &dialog, follow);
    QObject::connect(spinY, &QSpinBox::valueChanged, &dialog, follow);
    spinX->setValue(x);
    spinY->setValue(y);
    follow();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    spinX->setFocus();
    spinX->selectAll();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return std::pair(spinX->value(), spinY->value());
}

} // namespace velmora
