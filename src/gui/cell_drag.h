#pragma once

#include <QObject>
#include <QPoint>
#include <memory>

class QMimeData;
class QTemporaryDir;

namespace velmora
{

class TFrameIconDirectory;
class TImageGridView;
class TIconPane;

/// The kind of drag data that carries an image cell of a pane: the pane's icon number.
inline constexpr char ImageCellMimeType[] = "application/x-velmora-image-cell";

/// The drag data of one image of a pane: the pane's number for the other pane, and for other
/// programs a PNG file of the image with its transparency (written into folder) and the
/// picture itself. Null when the image cannot be drawn.
std::unique_ptr<QMimeData> MakeImageDragData(
    const TIconPane& pane, int imageIndex, QTemporaryDir& folder);

/// The icon number of the pane a drag of an image cell comes from; 0 for other data.
int DraggedCellPane(const QMimeData* data);

/// Starts a drag when the mouse, pressed on a selected image cell of a pane's grid, moves far
/// enough.
class TCellDragger : public QObject
{
    Q_OBJECT
public:
    TCellDragger(TIconPane& pane, TImageGridView* grid, QObject* parent);
    ~TCellDragger() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// The image shown in a selected cell at a point of the grid's viewport, or -1.
    int ImageAt(const QPoint& point) const;

    TIconPane& m_pane;
    TImageGridView* m_grid;
    QPoint m_pressed;
    int m_pressedImage = -1;
    std::unique_ptr<QTemporaryDir> m_folder;
};

} // namespace velmora
