#pragma once

#include "ui/owned_dialog.h"

#include <functional>
#include <memory>

class QAction;
class DataGrid;

namespace fb {
class Attachment;
class DataSet;
} // namespace fb

// A window that lists the rows of a query and lets the user pick one, several times unless it
// closes on a pick. The caller creates it with create (on the database given, with its own
// transaction), fills query(), lays out the grid's columns with setGridColumns and calls
// execute; the callbacks read the picked row from query(). The window deletes itself when
// closed:
//
//   auto* dialog = PickDialog::create(database, this);
//   dialog->setCloseOnPick(true);
//   dialog->setWindowTitle(...);
//   dialog->query().setSQL(...);
//   dialog->query().open();
//   setGridColumns(*dialog->grid(), columns);
//   dialog->execute([&] { key = dialog->query().field("PRKEY").asInteger(); }, {});
//
// The select action ("Открыть"; Enter and a double click in the grid trigger it too) picks the
// current row; the close action ("Закрыть") and Escape close the window without a pick. The
// tool buttons "selectButton" and "closeButton" carry the two actions.
class PickDialog : public OwnedDialog {
    Q_OBJECT
public:
    using PickHandler = std::function<void()>;
    using PickSenderHandler = std::function<void(PickDialog* sender)>;

    // Makes a pick dialog, or one of a descendant's kind (with a public constructor of the same
    // arguments), and runs its initForm before the caller sets it up.
    template <class Dialog = PickDialog>
    static Dialog* create(fb::Attachment& database, QWidget* owner = nullptr) {
        std::unique_ptr<Dialog> dialog(new Dialog(database, owner));
        static_cast<PickDialog*>(dialog.get())->initForm();
        return dialog.release();
    }
    ~PickDialog() override;

    // Keeps both callbacks (either may be empty) and shows the window maximised and modal for
    // its owner's window; returns when it is closed (and deleted).
    void execute(PickHandler onPick, PickSenderHandler onPickSender);

    fb::DataSet& query() { return *m_query; }
    DataGrid* grid() const { return m_grid; }
    QAction* selectAction() const { return m_selectAction; }
    QAction* closeAction() const { return m_closeAction; }

    // Whether a pick closes the window; false by default.
    bool closeOnPick() const { return m_closeOnPick; }
    void setCloseOnPick(bool close) { m_closeOnPick = close; }

protected:
    PickDialog(fb::Attachment& database, QWidget* owner);

    // The dialog's own set-up, run once by create when the window is built and before the
    // caller's: empty here; a descendant adds its controls or its defaults there.
    virtual void initForm();

private slots:
    // A pick of the current row: the pick callback, then the sender callback, then the close
    // when the window closes on a pick. A callback that raises shows its message and leaves
    // the window open.
    void onSelectTriggered();

private:
    void createActions();
    QWidget* createToolBars();

    std::unique_ptr<fb::DataSet> m_query;
    DataGrid* m_grid;
    QAction* m_selectAction;
    QAction* m_closeAction;
    bool m_closeOnPick = false;
    PickHandler m_onPick;
    PickSenderHandler m_onPickSender;
};
