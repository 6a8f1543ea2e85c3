#pragma once

#include "core/numbers.h"

#include <QString>

class SheetGrid;

// The stored text of a sheet: one line of commands, each a name, its arguments in parentheses
// (escaped by CommandList::encodeParam) and one blank:
//   RS(fixed columns,fixed rows,data columns,data rows), then per column that holds cells X(x)
//   and per cell Y(y), Vn(amount) or Vs(text), B(left,right,top,bottom), A(alignment + 1),
//   Nf(mask), Sd(tags), WW(), CC(colour), TC(text colour) as they differ from the defaults;
//   then CW(column,width) and RH(row,height) for the columns and rows saved.
// X and Y are relative to the rectangle saved and to the origin loaded at; CW, RH and RS are not.
//
// A text is read only as far as a sheet can show it: a column or row from 0 to
// SheetCells::kMaxIndex (999 999), at most SheetCells::kMaxIndex + 1 columns and rows in RS,
// widths and heights in CW and RH from 0 to SheetGrid::kMaxCellSize (5000 pixels, where the
// widest column of a report is 400 and the highest row 60), borders no wider than that. Anything
// beyond is refused with Exception, as a malformed text is.

// An amount as the text writes it: currencyText with "." as the decimal separator and no
// thousands separator, whatever the locale.
QString currencyDotText(Currency value);

// Registers the text's commands on the grid's command list (the grid does so when it is made).
void registerSheetTextCommands(SheetGrid& grid);

// The text of the cells of columns x1..x2 and rows y1..y2 with the grid's shape and sizes; the
// grid's onSaveCell text follows each cell, its onSaveExtra text ends it. An open editor is
// committed first.
QString saveSheetText(SheetGrid& grid, int x1, int y1, int x2, int y2);

// Runs a stored text through the grid's commands, its cells placed from (x0, y0). Updates are
// locked while it reads, unless they already were, and released however the reading ends: an
// error of the text (an unknown command, a missing bracket or argument, a number that does not
// read or lies beyond the limits above) passes on to the caller, the cells read before it kept.
void loadSheetText(SheetGrid& grid, int x0, int y0, const QString& text);
