#include "cell_drag.h"

#include "application.h"
#include "graphics/icon_decoder.h"
#include "image_grid_view.h"
#include "pane/icon_pane.h"
#include "qt_bitmap.h"

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QUrl>
#include <charconv>

namespace velmora
{

std::unique_ptr<QMimeData> MakeImageDragData(
    const TIconPane& pane, int imageIndex, QTemporaryDir& folder)
{
    const TIconDirectory& document = pane.IconDirectory();
    if (imageIndex < 0 || imageIndex >= document.Count() || !folder.isValid())
        return nullptr;
    QImage picture;
    try {
        // The decoded pixels carry the transparency: alpha 0 where the mask lets through.
        picture = ToQImage(DecodeIcon(*document.GetImage(imageIndex).Icon).Pixels)
                      .convertToFormat(QImage::Format_ARGB32);
    } catch (const std::exception&) {
        return nullptr;
    }
    const TIconDirectoryEntry& entry = document.GetEntry(imageIndex);
    const QString file = folder.filePath(QStringLiteral("icon-%1-image-%2-%3x%4.png")
                                             .arg(pane.IconNumber())
                                             .arg(imageIndex)
                                             .arg(entry.ImageWidth())
                                             .arg(entry.ImageHeight()));
    if (!picture.save(file, "PNG"))
        return nullptr;
    auto data = std::make_unique<QMimeData>();
    data->setData(QString::fromLatin1(ImageCellMimeType), QByteArray::number(pane.IconNumber()));
    data->setUrls({ QUrl::fromLocalFile(file) });
    data->setImageData(picture);
    return data;
}

int DraggedCellPane(const QMimeData* data)
{
    if (!data || !data->hasFormat(QString::fromLatin1(ImageCellMimeType)))
        return 0;
    return data->data(QString::fromLatin1(ImageCellMimeType)).toInt();
}

TCellDragger::TCellDragger(TIconPane& pane, TImageGridView* grid, QObject* parent)
    : QObject(parent)
    , m_pane(pane)
    , m_grid(grid)
{
    m_grid->viewport()->installEventFilter(this);
}

TCellDragger::~TCellDragger() = default;

int TCellDragger::ImageAt(const QPoint& point) const
{
    const QModelIndex index = m_grid->indexAt(point);
    if (!index.isValid())
        return -1;
    const TImageGrid& grid = m_pane.Grid();
    const int col = index.column() + grid.FixedCols();
    const int row = index.row() + grid.FixedRows();
    // Only a selected cell is dragged: from any other cell the mouse selects a range.
    if (!grid.IsSelected(col, row))
        return -1;
    const std::string& cell = grid.Cell(col, row);
    // A cell names its image in its last field, after the last "|".
    const size_t bar = cell.rfind('|');
    if (bar == std::string::npos)
        return -1;
    int value = -1;
    const char* first = cell.data() + bar + 1;
    const char* last = cell.data() + cell.size();
    const auto [end, error] = std::from_chars(first, last, value);
    return error == std::errc() && end == last && first != last ? value : -1;
}

bool TCellDragger::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        m_pressedImage
            = mouse->button() == Qt::LeftButton ? ImageAt(mouse->position().toPoint()) : -1;
        m_pressed = mouse->position().toPoint();
    } else if (event->type() == QEvent::MouseButtonRelease) {
        m_pressedImage = -1;
    } else if (event->type() == QEvent::MouseMove && m_pressedImage >= 0) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (!(mouse->buttons() & Qt::LeftButton)) {
            m_pressedImage = -1;
        } else if ((mouse->position().toPoint() - m_pressed).manhattanLength()
            >= QApplication::startDragDistance()) {
            const int image = m_pressedImage;
            m_pressedImage = -1;
            if (!m_folder)
                m_folder = std::make_unique<QTemporaryDir>();
            std::unique_ptr<QMimeData> data;
            RunGuarded([&] { data = MakeImageDragData(m_pane, image, *m_folder); });
            if (!data)
                return false;
            auto* drag = new QDrag(m_grid);
            drag->setMimeData(data.release());
            const QImage picture = qvariant_cast<QImage>(drag->mimeData()->imageData());
            drag->setPixmap(QPixmap::fromImage(picture.width() > 64
                    ? picture.scaled(64, 64, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                    : picture));
            drag->exec(Qt::CopyAction);
            // The drag took the release: the grid gets one, so that it stops selecting.
            QMouseEvent release(QEvent::MouseButtonRelease, m_pressed,
                m_grid->viewport()->mapToGlobal(m_pressed), Qt::LeftButton, Qt::NoButton,
                Qt::NoModifier);
            QCoreApplication::sendEvent(m_grid->viewport(), &release);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace velmora
