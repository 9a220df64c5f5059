#include <AppKit/NSMatrix.h>

#include <QButtonGroup>
#include <QRadioButton>
#include <QVariant>

namespace {
QList<QRadioButton*> cellsOf(QWidget* widget)
{
    return widget->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly);
}

// Selecting none is only possible with exclusivity switched off for a moment.
void clearSelection(const QList<QRadioButton*>& cells)
{
    for (QRadioButton* cell : cells) {
        cell->setAutoExclusive(false);
        cell->setChecked(false);
        cell->setAutoExclusive(true);
    }
}
}  // namespace

NSMatrix::NSMatrix(QWidget* widget) : NSControl(widget)
{
    for (QRadioButton* cell : cellsOf(widget))
        QObject::connect(cell, &QRadioButton::clicked, cell, [this] { sendAction(); });
}

NSInteger NSMatrix::numberOfRows() const { return cellsOf(widget()).size(); }

NSInteger NSMatrix::selectedRow() const
{
    const auto cells = cellsOf(widget());
    for (qsizetype row = 0; row < cells.size(); ++row)
        if (cells[row]->isChecked())
            return row;
    return -1;
}

NSInteger NSMatrix::selectedTag() const
{
    NSInteger row = selectedRow();
    return row < 0 ? -1 : cellsOf(widget())[row]->property("tag").toInt();
}

BOOL NSMatrix::selectCellWithTag(NSInteger tag)
{
    for (QRadioButton* cell : cellsOf(widget())) {
        if (cell->property("tag").isValid() && cell->property("tag").toInt() == tag) {
            cell->setChecked(true);
            return YES;
        }
    }
    return NO;
}

void NSMatrix::selectCellAtRow(NSInteger row, NSInteger)
{
    const auto cells = cellsOf(widget());
    if (row >= 0 && row < cells.size())
        cells[row]->setChecked(true);
    else
        clearSelection(cells);
}
