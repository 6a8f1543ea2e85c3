#pragma once

#include "shell/pane.h"

#include <memory>

class QAction;
class QMenu;
class DataGrid;

namespace fb {
class DataSet;
}

// A pane that shows the rows of a query in a grid, with the commands New and Open. Descendants
// write the query (prepareQuery), lay the grid's columns out in their constructor, and do what
// New and Open mean. The user's column widths and order are kept per browser class: restored
// when the pane is embedded, stored when the grid loses the focus and when the pane closes.
class GridBrowserPane : public Pane {
    Q_OBJECT
public:
    explicit GridBrowserPane(QWidget* owner = nullptr);
    ~GridBrowserPane() override;

    void showEmbedded() override;
    // Embeds, restores the user's columns and reads the rows.
    void embed(PaneInfo* paneInfo) override;

    // Sets m_query's SQL and parameters.
    virtual void prepareQuery() = 0;
    // Reads the rows again and stands on the row of key, or (key 0) on the row that is current
    // now; on the first row when that row is gone. Database errors pass on.
    virtual void refreshRows(int key);

    // New and Open (also Insert, the pop-up menu, Enter and a double click in the grid): nothing
    // here.
    virtual void onNewTriggered();
    virtual void onOpenTriggered();

    QToolButton* m_newButton = nullptr;
    QToolButton* m_openButton = nullptr;
    DataGrid* m_grid = nullptr;
    QMenu* m_gridMenu = nullptr;
    QAction* m_newAction = nullptr;
    QAction* m_openAction = nullptr;
    // The query with a transaction of its own.
    std::unique_ptr<fb::DataSet> m_query;

protected:
    void saveOnClose() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The user's column layout into the user's data of the data store.
    void saveLayout();
};
