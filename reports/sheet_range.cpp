#include "reports/sheet_range.h"

#include "reports/sheet_grid.h"

SheetRange wholeSheet(const SheetGrid& sheet) {
    return {0, 0, sheet.xCount() - 1, sheet.yCount() - 1};
}
