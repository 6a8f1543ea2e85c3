#pragma once

class SheetGrid;

// A rectangle of a sheet: columns x1..x2 and rows y1..y2, both ends included.
struct SheetRange {
    int x1 = 0;
    int y1 = 0;
    int x2 = -1;
    int y2 = -1;

    bool operator==(const SheetRange&) const = default;
};

// Every cell written: columns 0..xCount() - 1 and rows 0..yCount() - 1.
SheetRange wholeSheet(const SheetGrid& sheet);
