#pragma once

#include "core/date_time.h"
#include "core/numbers.h"

#include <optional>

namespace fb {
class DataSet;
class Transaction;
} // namespace fb

// Which cash documents a document browser lists: those of one type (OPER.TYP) dated within a
// period, of every partner or of one.
struct DocumentListFilter {
    int type = 0;
    DateTime start = 0;
    DateTime end = 0;
    std::optional<int> partner; // a key of PARTS; none for every partner
};

// Puts on rows the select of the listed documents, every column of OPER with the partner's name
// (LNAM), the latest first and those of one date by the partner's name.
void selectDocumentList(fb::DataSet& rows, const DocumentListFilter& filter);

// The total of the amounts (SUM1) of the listed documents, each taken to four decimals as the
// documents hold them, read in transaction.
Currency documentListTotal(fb::Transaction& transaction, const DocumentListFilter& filter);
