#pragma once

#include <QList>
#include <QString>

// The areas of the program that rights are given for, and the records of one user's rights as
// the rights editor shows them. A right is stored under the area word followed by the action
// number ("IncomeDoc2": may create incoming documents).

// The actions of an area; the numbers are stored in the rights keys.
enum class RightsAction {
    Heading = 0, // a group heading of the editor; never stored
    Open = 1,
    New = 2,
    Edit = 3,
    Delete = 4,
    Hide = 5,
    Recalculate = 6,
    Print = 7,
    Export = 8,
};

struct RightsArea {
    const char* caption;
    const char* word; // empty for a group heading
    int actions;      // bit n set: action n is offered
};

// The sixteen rows of the editor, headings among them, in their order.
const QList<RightsArea>& rightsAreas();

// The editor's caption of an operation ("Новый" … "Экспорт"); empty for Heading and Open, which
// show the area's own caption.
QString rightsActionCaption(RightsAction action);

// The stored key of an action of an area: "IncomeDoc" + "2".
QString rightsKey(const RightsArea& area, RightsAction action);

// One offered (area, action) pair and whether it is allowed.
struct Permission {
    int area; // index into rightsAreas()
    RightsAction action;
    bool allowed;
};

// The records of a rights text: for each area in order, its offered actions in the order
// heading, open, new, edit, recalculate, delete, hide, print, export; each allowed unless the
// text denies its key. Headings are always allowed.
QList<Permission> permissionsFromText(const QString& rights);

// The rights text of the records: "Y" or "N" under the key of each record of an area with a
// word, in record order.
QString permissionsText(const QList<Permission>& permissions);
