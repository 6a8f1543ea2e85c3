#pragma once

#include "util/fmFormUseWndParent.h"

#include <QVariant>
#include <functional>
#include <memory>

class QToolButton;
class TDBGrid;

namespace fb {
class DataSet;
}

// A window that lists the rows of a query and lets the user pick one, several times unless
// CloseOnPick. The caller fills qrySelect (on the open database, with its own transaction),
// lays out the grid's columns with SetGridColumns and calls Execute; the callbacks read the
// picked row from qrySelect. The window deletes itself when closed:
//
//   auto* dialog = new TfrmDBGridSelect(this);
//   dialog->CloseOnPick = true;
//   dialog->setWindowTitle(...);
//   dialog->qrySelect().setSQL(...);
//   dialog->qrySelect().open();
//   SetGridColumns(*dialog->dbgrdSelect, columns);
//   dialog->Execute([&] { key = dialog->qrySelect().field("PRKEY").asInteger(); }, {});
class TfrmDBGridSelect : public TfrmFormUseWndParent {
    Q_OBJECT
public:
    using PickHandler = std::function<void()>;
    using PickSenderHandler = std::function<void(TfrmDBGridSelect* sender)>;

    explicit TfrmDBGridSelect(QWidget* owner = nullptr);
    ~TfrmDBGridSelect() override;

    // Keeps both callbacks (either may be empty) and shows the window modally for its owner's
    // window; returns when it is closed (and deleted).
    virtual void Execute(PickHandler onPick, PickSenderHandler onPickSender);
    // A pick of the current row: OnPick, then OnPickSender, then the close when CloseOnPick.
    void Pick();

    fb::DataSet& qrySelect() { return *m_qrySelect; }
    // Display text for the query's date fields: "dd.mm.yyyy", empty for null.
    static QString GetDateFieldText(const QVariant& value);

    bool CloseOnPick = false;
    TDBGrid* dbgrdSelect;
    QToolButton* btnSelect;
    QToolButton* ToolButton1;

private:
    std::unique_ptr<fb::DataSet> m_qrySelect;
    PickHandler m_onPick;
    PickSenderHandler m_onPickSender;
};
