#pragma once

#include "printing/simple_forms.h"

namespace printing {

// The cash receipt order with its receipt for the payer, in the Ukrainian or the Russian layout.
FilledForm cashReceiptForm(const PrintedDocument& document, bool ukrainian);
// The cash disbursement order, in the Ukrainian or the Russian layout.
FilledForm cashDisbursementForm(const PrintedDocument& document, bool ukrainian);

} // namespace printing
