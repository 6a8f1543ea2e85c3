#pragma once

#include <QString>

// The numbering of new issue documents (payment orders and cash disbursement orders).

// The number after last: last read as a whole decimal number, blanks around it allowed, plus
// one; "1" when last is empty, holds anything but blanks and digits, or the next number would
// not fit 64 bits.
QString nextDocumentNumber(const QString& last);

// The number proposed for a new issue document (OPER.TYP 2) of the open book: the one after
// the number of the latest issue document by date (of two on the same date the later entered),
// "1" when there is none.
QString proposedIssueNumber();
