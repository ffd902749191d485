// The width a pane asks for when the window opens: its whole toolbar, and the grid's columns of
// the common sizes at 100 %.

#include "frame_icon_directory.h"
#include "image_preview.h"
#include "messages/messages.h"
#include "qt_prompts.h"
#include "support/error.h"

#include <QFontMetrics>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <algorithm>

namespace velmora
{

int TFrameIconDirectory::PreferredWidth() const
{
    int toolBar = m_moreButton ? m_moreButton->sizeHint().width() : 0;
    for (const TToolItem& item : m_toolItems)
        toolBar += item.Item->sizeHint().width();

    const QFontMetrics metrics(font());
    const int margin = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this) + 4;
    int grid
        = metrics.horizontalAdvance(UiText(FormatText(Messages::DepthHeader, { "32" }))) + margin;
    for (int side : { 16, 24, 32, 48, 64 }) {
        const std::string size = std::to_string(side);
        const int text
            = metrics.horizontalAdvance(UiText(FormatText(Messages::SizeHeader, { size, size })));
        // A line between the columns, as the table draws it.
        grid += std::max(side + 4, text + margin) + 1;
    }
    grid += style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this)
        + 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    if (m_preview)
        grid += m_preview->width();
    return std::max(toolBar, grid);
}

} // namespace velmora
