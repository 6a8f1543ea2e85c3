#pragma once

#include "reports/grid_axis.h"
#include "reports/sheet_cells.h"
#include "script/command_list.h"

#include <QAbstractScrollArea>
#include <QList>
#include <QRect>
#include <functional>

class QFocusEvent;
class QLineEdit;
class QMenu;

// A sheet of cells on the screen and the API through which reports build sheets: per cell a
// value, a number format, borders, colours, alignment, wrap and tags; column widths, row heights
// and fixed columns and rows that stay in place while the rest scrolls. The grid paints every
// cell itself (reports/sheet_painter.h), so a text can run over empty cells on its right.
//
// Every event of the grid goes to a virtual hook that does nothing here; the interactive sheet
// (reports/interactive_sheet.h) gives them their behaviour. Moving to a cell asks gridSelectCell,
// then gridCanEditCell switches editing on or off for that cell. The in-place editor starts from
// gridGetEditText (typing starts it with the character typed, F2 with the text); its text reaches
// gridSetEditText on Enter, on leaving the cell, before a key hook runs and through commitEdit().
//
// Cell writers repaint unless updates are locked (beginUpdate .. endUpdate, setRedraw).
class SheetGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    enum class Option {
        FixedVertLine = 0x01,
        FixedHorzLine = 0x02,
        VertLine = 0x04,
        HorzLine = 0x08,
        RangeSelect = 0x10,
        Editing = 0x20,
        RowSelect = 0x40,
    };
    Q_DECLARE_FLAGS(Options, Option)

    struct Borders {
        int left = 0;
        int right = 0;
        int top = 0;
        int bottom = 0;
        friend bool operator==(const Borders&, const Borders&) = default;
    };

    // Where the sheet text being read puts its cells (reports/sheet_text.h).
    struct LoadPlace {
        int originX = 0;
        int originY = 0;
        int x = 0;
        int y = 0;
    };

    static constexpr int kDefaultRowHeight = 20;
    static constexpr int kDefaultColWidth = 64;
    // The widest column and the highest row in pixels: a larger width or height is taken as it.
    static constexpr int kMaxCellSize = GridAxis::kMaxSize;

    explicit SheetGrid(QWidget* parent = nullptr);
    ~SheetGrid() override;

    // Cell writers: each makes the cell when it is missing and sets one field. A column or row
    // below 0 or above SheetCells::kMaxIndex raises Exception.
    void setCellCurrency(int x, int y, Currency value);
    void setCellString(int x, int y, const QString& text);
    void setCellNumberFormat(int x, int y, const QString& mask);
    void setCellAlignment(int x, int y, CellAlignment alignment);
    void setCellWordWrap(int x, int y, bool wrap);
    void setCellParams(int x, int y, const QString& tags);
    void setCellColor(int x, int y, SheetColor color);
    void setCellTextColor(int x, int y, SheetColor color);
    // A width of -1 leaves that border as it is.
    void setCellBorders(int x, int y, int left, int right, int top, int bottom);
    // One tag of the cell; repaints only when the cell had to be made.
    void setCellParam(int x, int y, const QString& key, const QString& value);
    // Empty when the cell or the key is missing.
    QString cellParam(int x, int y, const QString& key) const;

    // Rectangles (columns left..right, rows top..bottom, inclusive) that setSelectionBorders
    // frames cell by cell.
    void addSelectedRect(int left, int top, int right, int bottom);
    void clearSelectedRects();
    void setSelectionBorders(int left, int right, int top, int bottom);

    // Cell readers; a missing cell reads as empty, without borders, left-aligned, without wrap,
    // in the window's colours.
    const SheetCells& cells() const { return m_cells; }
    bool cellExists(int x, int y) const { return m_cells.cell(x, y) != nullptr; }
    CellValueKind cellValueKind(int x, int y) const;
    // An amount as it stands, a text read as an amount (ConvertError when it is none), 0 for an
    // empty value.
    Currency cellCurrency(int x, int y) const;
    // An amount as currencyText writes it, a text as it stands.
    QString cellText(int x, int y) const;
    Borders cellBorders(int x, int y) const;
    CellAlignment cellAlignment(int x, int y) const;
    QString cellNumberFormat(int x, int y) const;
    bool cellWordWrap(int x, int y) const;
    QString cellParams(int x, int y) const;
    SheetColor cellColor(int x, int y) const;
    SheetColor cellTextColor(int x, int y) const;

    // One more than the largest column and row written since the last clear.
    int xCount() const { return m_cells.xCount(); }
    int yCount() const { return m_cells.yCount(); }
    void clearCells();

    // Grid geometry. Setting the default column width gives it to every column. Sizes are kept
    // between 0 and kMaxCellSize.
    int colCount() const { return m_columns.count(); }
    int rowCount() const { return m_rows.count(); }
    void setDefaultColWidth(int width);
    int defaultColWidth() const { return m_columns.defaultSize(); }
    int defaultRowHeight() const { return m_rows.defaultSize(); }
    int colWidth(int x) const { return m_columns.size(x); }
    void setColWidth(int x, int width);
    int rowHeight(int y) const { return m_rows.size(y); }
    void setRowHeight(int y, int height);
    int fixedCols() const { return m_columns.fixed(); }
    int fixedRows() const { return m_rows.fixed(); }
    // Exception unless 0 <= count < colCount() (rowCount()).
    void setFixedCols(int count);
    void setFixedRows(int count);
    Options gridOptions() const { return m_options; }
    void setGridOptions(Options options);
    // Editing switched on or off for the current cell as gridCanEditCell says, as a move to it
    // does: for cells rewritten under a current cell that stays.
    void recheckEditing();
    // colCount := fixedCols + dataCols, rowCount := fixedRows + dataRows, then the fixed counts.
    // Exception for a count below 0, or one that makes the grid larger than a sheet may be.
    void setGridSize(int fixedCols, int fixedRows, int dataCols, int dataRows);

    // The current cell.
    int currentCol() const { return m_col; }
    int currentRow() const { return m_row; }
    // Moves the current cell there as the user would (the hooks are asked); false when refused.
    bool setCurrentCell(int col, int row);
    void setGridCursor(const QCursor& cursor);
    // The menu a right click shows when gridContextPopup leaves the click unhandled (not owned).
    void setPopupMenu(QMenu* menu);
    // The cell under a point of the viewport; false (and -1, -1) when there is none.
    bool mouseToCell(const QPoint& point, int& col, int& row) const;
    // The cell's rectangle on the viewport; empty when it is not shown.
    QRect cellRect(int col, int row) const;

    // Repainting: endUpdate repaints once; setRedraw only locks or unlocks.
    void beginUpdate() { m_updateLocked = true; }
    void endUpdate();
    void setRedraw(bool on) { m_updateLocked = !on; }
    bool isUpdateLocked() const { return m_updateLocked; }
    // Repaints unless updates are locked.
    void refresh();

    // The text colour of hot cells (tag "H" = "1") that have the window's text colour.
    SheetColor hotColor() const { return m_hotColor; }
    void setHotColor(SheetColor color);

    // The in-place editor.
    bool isEditing() const { return m_editing; }
    // The editor's text to gridSetEditText, and the editor closed; nothing when it is closed.
    void commitEdit();

    // The commands of the stored sheet text (reports/sheet_text.h) and where its cells go.
    CommandList& commands() { return m_commands; }
    LoadPlace& loadPlace() { return m_loadPlace; }
    // Called while the sheet is saved: text appended after each cell written, and at the end.
    std::function<QString(int x, int y)> onSaveCell;
    std::function<QString()> onSaveExtra;

protected:
    // The grid's hooks; here they do nothing and gridCanEditCell refuses.
    virtual bool gridCanEditCell(int x, int y);
    virtual void gridGetEditMask(int x, int y, QString& mask);
    virtual void gridGetEditText(int x, int y, QString& text);
    virtual void gridSetEditText(int x, int y, const QString& text);
    virtual void gridMouseMove(Qt::KeyboardModifiers modifiers, int x, int y);
    virtual void gridClick();
    virtual void gridContextPopup(const QPoint& position, bool& handled);
    virtual void gridDblClick();
    virtual void gridEnter();
    virtual void gridExit();
    // A key set to 0 (a character to null) is taken: the grid does nothing more with it.
    virtual void gridKeyDown(int& key, Qt::KeyboardModifiers modifiers);
    virtual void gridKeyPress(QChar& key);
    virtual void gridKeyUp(int& key, Qt::KeyboardModifiers modifiers);
    virtual void gridMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x,
                               int y);
    virtual void gridMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    virtual void gridMouseWheelDown(Qt::KeyboardModifiers modifiers, const QPoint& position,
                                    bool& handled);
    virtual void gridMouseWheelUp(Qt::KeyboardModifiers modifiers, const QPoint& position,
                                  bool& handled);
    virtual void gridSelectCell(int x, int y, bool& canSelect);
    virtual void gridTopLeftChanged();

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    SheetCell& writable(int x, int y);
    // The key's hooks and the grid's own handling of it.
    void processKey(QKeyEvent* event);
    // Arrows, pages, Home, End and F2; false for any other key.
    bool navigate(int key, Qt::KeyboardModifiers modifiers);
    // Moves the current cell; with extend (and range selection on) the selection grows.
    bool moveTo(int col, int row, bool extend);
    // Whether a change of focus enters or leaves the grid (not a move to or from its editor, a
    // pop-up or another window).
    bool crossesGrid(const QFocusEvent* event) const;
    bool canShowEditor() const;
    void showEditor(const QString* typed);
    void cancelEdit();
    void placeEditor();
    bool isSelected(int col, int row) const;
    // The lines and cells of the grid's fixed and scrolling parts.
    void paintLines(QPainter& painter, const std::vector<GridAxis::Span>& columns,
                    const std::vector<GridAxis::Span>& rows);
    void paintFixedEdges(QPainter& painter, const QRect& rect);
    void applyLines();
    // The scroll bars after a change of the grid's shape; put off until the next paint or event.
    void layoutChanged();
    void ensureLayout();
    void showCurrent();
    void setTopLeft(int leftCol, int topRow);

    SheetCells m_cells;
    QList<QRect> m_selectedRects;
    CommandList m_commands;
    LoadPlace m_loadPlace;
    bool m_updateLocked = false;
    SheetColor m_hotColor = kBlueColor;

    GridAxis m_columns{kDefaultColWidth};
    GridAxis m_rows{kDefaultRowHeight};
    Options m_options;
    int m_col = 1;
    int m_row = 1;
    int m_anchorCol = 1;
    int m_anchorRow = 1;
    bool m_layoutDirty = true;
    bool m_layoutQueued = false;
    bool m_selecting = false;

    QMenu* m_popupMenu = nullptr;
    QLineEdit* m_editor = nullptr;
    bool m_editing = false;
    // The focus moving between the grid and its editor: the grid is neither left nor entered.
    bool m_innerFocusMove = false;
    int m_editCol = 0;
    int m_editRow = 0;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(SheetGrid::Options)
