#pragma once

#include "pane/icon_pane.h"

#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <QTableView>

namespace velmora
{

/// The pane's grid as a Qt table: the image cells of the pane's grid are the table's cells, its
/// fixed header row and column are the table's headers (so they stay in place while the cells
/// scroll).
class TImageGridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit TImageGridModel(const TIconPane& pane, QObject* parent = nullptr);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    /// The pane laid its grid out anew.
    void Reset();

private:
    const TIconPane& m_pane;
};

/// Paints an image cell through the pane, then the focus rectangle of a selected cell.
class TImageCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit TImageCellDelegate(const TIconPane& pane, QObject* parent = nullptr);
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
        const QModelIndex& index) const override;

private:
    const TIconPane& m_pane;
};

/// The grid key of a released Qt key: F9 to F12 and Delete, or Other.
TGridKey GridKeyOf(int qtKey);

/// The grid `StringGridMain`: shows the pane's grid, reports selection changes and released
/// function keys to the pane.
class TImageGridView : public QTableView
{
    Q_OBJECT
public:
    explicit TImageGridView(TIconPane& pane, QWidget* parent = nullptr);
    /// Takes the pane's layout: cells, sizes, selection and visibility.
    void Rebuild();

protected:
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    int sizeHintForColumn(int column) const override;
    int sizeHintForRow(int row) const override;

private:
    void SelectionChanged();
    int HeaderMargin() const;

    TIconPane& m_pane;
    TImageGridModel* m_model;
    bool m_rebuilding = false;
    // A press outside the cells: the drag and release that follow it select nothing either.
    bool m_pressOutside = false;
};

} // namespace velmora
