#pragma once

#include "reports/interactive_sheet.h"

#include <QStringList>

class QAction;

// The sheet that report builders fill: running column and row counters, tags on whole columns
// (kept in row 0) and rows (kept in column 0) with searches by them, and the "_MCR" record of the
// stored text that keeps the counters, the header's size and the grid lines. Ctrl+Alt+Y shows
// the tags of the current column, row and cell.
class ReportSheet : public InteractiveSheet {
    Q_OBJECT
public:
    // Grid lines and range selection only; counters at 0; "_MCR" registered and saved.
    explicit ReportSheet(QWidget* parent = nullptr);

    // The next free column and row of a builder.
    int colCounter() const { return m_colCounter; }
    int rowCounter() const { return m_rowCounter; }
    void setColCounter(int value) { m_colCounter = value; }
    void setRowCounter(int value) { m_rowCounter = value; }
    // The leading columns and rows that make the report's header.
    int fixedWidth() const { return m_fixedWidth; }
    int fixedHeight() const { return m_fixedHeight; }
    void setFixedWidth(int value) { m_fixedWidth = value; }
    void setFixedHeight(int value) { m_fixedHeight = value; }

    // The counter, then the counter increased by 1.
    int nextCol() { return m_colCounter++; }
    int nextRow() { return m_rowCounter++; }
    // The counters behind the cells written: xCount() + 1 and yCount() + 1.
    void resetCounters();
    // Counters and header sizes to 0.
    void zeroCounters();

    // Tags of column x (cell (x, 0)) and of row y (cell (0, y)); keys and values pair up by
    // index, and lists of different lengths raise Exception with nothing set.
    void setColumnTags(int x, const QStringList& keys, const QStringList& values);
    void setRowTags(int y, const QStringList& keys, const QStringList& values);
    QString columnTag(int x, const QString& key) const;
    QString rowTag(int y, const QString& key) const;

    // The first column (row) whose tags hold every key with its value (exactly; a missing tag
    // reads as empty), searched from column 0 (row 0) or from the one after x (y); true and its
    // index, or false. No keys match every column (row).
    bool findFirstColumn(int& x, const QStringList& keys, const QStringList& values) const;
    bool findNextColumn(int& x, const QStringList& keys, const QStringList& values) const;
    bool findFirstRow(int& y, const QStringList& keys, const QStringList& values) const;
    bool findNextRow(int& y, const QStringList& keys, const QStringList& values) const;

    // Called after the sheet has handled a key press.
    std::function<void()> onAfterKeyPress;

    QAction* tagDumpAction() const { return m_tagDumpAction; }

protected:
    void gridKeyPress(QChar& key) override;

private:
    // The "_MCR" record: written unescaped, read field by field; a counter or header size that
    // no sheet can have (below 0, beyond SheetCells::kMaxIndex + 2) raises Exception.
    QString mcrText() const;
    void readMcr(const QString& text);
    bool tagsMatch(int x, int y, const QStringList& keys, const QStringList& values) const;
    // The tags of the current column, row and cell, one to a line.
    QString tagDump() const;
    void onTagDumpTriggered();

    int m_colCounter = 0;
    int m_rowCounter = 0;
    int m_fixedWidth = 0;
    int m_fixedHeight = 0;
    QAction* m_tagDumpAction = nullptr;
};
