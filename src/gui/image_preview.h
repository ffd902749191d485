#pragma once

#include <QImage>
#include <QScrollArea>

namespace velmora
{

class TIconPane;

/// The selected image of a pane at its real size, and also at twice its size when it is small,
/// drawn over a checkerboard so that its transparency shows. It sits beside the pane's grid,
/// follows the selection (Refresh), does not depend on the grid's zoom and never takes the
/// keyboard focus: keys stay with the grid. The area keeps a fixed width that shows the
/// common sizes whole; a larger image scrolls inside it.
class TImagePreview : public QScrollArea
{
    Q_OBJECT
public:
    explicit TImagePreview(const TIconPane& pane, QWidget* parent = nullptr);

    /// Shows the one selected image of the pane, or nothing when no single image is selected.
    void Refresh();
    /// The image shown at its real size; null when nothing is shown.
    const QImage& Shown() const { return m_image; }

private:
    const TIconPane& m_pane;
    QImage m_image;
    class TCanvas;
    TCanvas* m_canvas = nullptr;
};

} // namespace velmora
