#pragma once

#include "shell/fmPane.h"

#include <memory>

class QAction;
class QMenu;
class TDBGrid;

namespace fb {
class DataSet;
}

// A pane that shows the rows of a query in a grid, with the commands New and Open. Descendants
// write the query (PrepareQuery), lay the grid's columns out in their constructor, and do what
// New and Open mean. The user's column widths and order are kept per browser class: restored
// when the pane is embedded, stored when the grid loses the focus and when the pane closes.
class TfrmDBGridBrowser : public TfrmPane {
    Q_OBJECT
public:
    explicit TfrmDBGridBrowser(QWidget* owner = nullptr);
    ~TfrmDBGridBrowser() override;

    void ShowEmbedded() override;
    // Embeds, restores the user's columns and reads the rows.
    void Embed(TPaneInfo* paneInfo) override;

    // Sets qryBrowse's SQL and parameters.
    virtual void PrepareQuery() = 0;
    // Reads the rows again and stands on the row of key, or (key 0) on the row that is current
    // now; on the first row when that row is gone. Database errors pass on.
    virtual void RefreshBrowse(int key);

    // New and Open (also Insert, the pop-up menu, Enter and a double click in the grid): nothing
    // here.
    virtual void btnAddClick();
    virtual void btnOpenClick();

    QToolButton* btnAdd = nullptr;
    QToolButton* btnOpen = nullptr;
    TDBGrid* dbgrdBrowse = nullptr;
    QMenu* ppmnBrowse = nullptr;
    QAction* mnitAdd = nullptr;
    QAction* mnitOpen = nullptr;
    // The query with a transaction of its own.
    std::unique_ptr<fb::DataSet> qryBrowse;

protected:
    void FormClose() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};
