// A column of radio cells (the Qt radio buttons inside one container widget, in the order the
// interface file lists them). Each cell's tag is the radio button's integer property "tag".
// Sends its action when the user picks a cell.
#pragma once

#include "NSView.h"

class NSMatrix : public NSControl {
public:
    explicit NSMatrix(QWidget* widget);

    NSInteger numberOfRows() const;
    // -1 when no cell is selected.
    NSInteger selectedRow() const;
    NSInteger selectedTag() const;
    // NO when no cell carries the tag; the selection is then unchanged.
    BOOL selectCellWithTag(NSInteger tag);
    // A row outside the matrix clears the selection.
    void selectCellAtRow(NSInteger row, NSInteger column);
};
