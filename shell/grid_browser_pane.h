#pragma once

#include "shell/pane.h"

#include <memory>

class QAction;
class QMenu;
class DataGrid;

namespace fb {
class DataSet;
}

// A pane that shows the rows of a query in a grid, with the commands New and Open: their tool
// buttons, the grid's pop-up menu, Insert (New), and Enter and a double click in the grid
// (Open). Descendants write the query (prepareQuery), lay the grid's columns out in their
// constructor, and do what New and Open mean. The user's column widths and order are kept
// under the pane's layout key: restored when the pane is embedded, stored when the grid loses
// the focus and when the pane closes.
class GridBrowserPane : public Pane {
    Q_OBJECT
public:
    explicit GridBrowserPane(QWidget* owner = nullptr);
    ~GridBrowserPane() override;

    void showEmbedded() override;
    // Embeds, restores the user's columns and reads the rows.
    void embed(std::unique_ptr<PaneInfo> paneInfo) override;

    // Sets the query's SQL and parameters.
    virtual void prepareQuery() = 0;
    // Reads the rows again and stands on the row of key, or (key 0) on the row that is current
    // now; on the first row when that row is gone. Database errors pass on.
    virtual void refreshRows(int key);

    // The query with a transaction of its own, and the grid that shows it.
    fb::DataSet& query() const { return *m_query; }
    DataGrid* grid() const { return m_grid; }
    QAction* newAction() const { return m_newAction; }
    QAction* openAction() const { return m_openAction; }

protected:
    // What New and Open do: nothing here. An exception is shown to the user.
    virtual void onNewTriggered();
    virtual void onOpenTriggered();
    // The grid's pop-up menu, for descendants to add their commands to.
    QMenu* gridMenu() const { return m_gridMenu; }
    void saveOnClose() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The user's column layout into the user's data of the data store.
    void saveLayout();

    std::unique_ptr<fb::DataSet> m_query;
    DataGrid* m_grid = nullptr;
    QMenu* m_gridMenu = nullptr;
    QAction* m_newAction = nullptr;
    QAction* m_openAction = nullptr;
};
