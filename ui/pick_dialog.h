#pragma once

#include "ui/owned_dialog.h"

#include <functional>
#include <memory>

class QToolButton;
class DataGrid;

namespace fb {
class Attachment;
class DataSet;
} // namespace fb

// A window that lists the rows of a query and lets the user pick one, several times unless
// m_closeOnPick. The caller fills query (on the database given, with its own transaction),
// lays out the grid's columns with setGridColumns and calls Execute; the callbacks read the
// picked row from query. The window deletes itself when closed:
//
//   auto* dialog = new PickDialog(database, this);
//   dialog->m_closeOnPick = true;
//   dialog->setWindowTitle(...);
//   dialog->query().setSQL(...);
//   dialog->query().open();
//   setGridColumns(*dialog->m_grid, columns);
//   dialog->Execute([&] { key = dialog->query().field("PRKEY").asInteger(); }, {});
class PickDialog : public OwnedDialog {
    Q_OBJECT
public:
    using PickHandler = std::function<void()>;
    using PickSenderHandler = std::function<void(PickDialog* sender)>;

    explicit PickDialog(fb::Attachment& database, QWidget* owner = nullptr);
    ~PickDialog() override;

    // Keeps both callbacks (either may be empty) and shows the window modally for its owner's
    // window; returns when it is closed (and deleted).
    virtual void execute(PickHandler onPick, PickSenderHandler onPickSender);
    // A pick of the current row: OnPick, then OnPickSender, then the close when m_closeOnPick.
    void pick();

    fb::DataSet& query() { return *m_query; }

    bool m_closeOnPick = false;
    DataGrid* m_grid;
    QToolButton* m_selectButton;
    QToolButton* m_closeButton;

private:
    std::unique_ptr<fb::DataSet> m_query;
    PickHandler m_onPick;
    PickSenderHandler m_onPickSender;
};
