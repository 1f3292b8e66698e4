#pragma once

#include <QRect>
#include <QWidget>

namespace kestrin {

/// The sixteen standard colours of PickerColours() in two columns of eight, numbered left to
/// right and top to bottom; a click selects a cell and reports its number.
class ColourPicker : public QWidget {
    Q_OBJECT

public:
    /// A picker with no cell selected.
    explicit ColourPicker(QWidget* parent = nullptr);

    /// The area of cell `index` (0..15) in the picker's own coordinates.
    QRect CellRect(int index) const;
    /// The selected cell, or -1 when none is.
    int SelectedIndex() const { return selected_; }
    /// Forgets the selected cell.
    void ClearSelection();

signals:
    /// The user clicked cell `index`; its colour is PickerColours()[index].
    void ColourPicked(int index);

protected:
    /// Draws every cell, the selected one framed; a disabled picker is drawn faded.
    void paintEvent(QPaintEvent* event) override;
    /// A left click on a cell selects it and reports it.
    void mousePressEvent(QMouseEvent* event) override;

private:
    int CellAt(QPoint point) const;

    int selected_ = -1;
};

}  // namespace kestrin
