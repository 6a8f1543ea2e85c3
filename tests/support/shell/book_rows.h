#pragma once

#include <QString>
#include <functional>

namespace fb {
class Statement;
}

// Rows put straight into the open book (the data store's), each statement in a transaction of
// its own, committed.

// One statement; bind sets its parameters.
void runOnBook(const QString& sql, const std::function<void(fb::Statement&)>& bind);

// A partner (PARTS) or a payment type (REASONS) of a type, named name; its key.
int addPartnerRow(int type, const QString& name);
int addPaymentTypeRow(int type, const QString& name);

// The rights text (USERS.DATA2) of the logged-on user.
void setUserRights(const QString& rights);
