#pragma once

#include "printing/simple_forms.h"

namespace printing {

// The payment order of an incoming payment (the partner pays the book's owner) or of an issue
// (the owner pays the partner), in the Ukrainian or the Russian layout, copies times on one run.
FilledForm paymentOrderForm(const PrintedDocument& document, bool incoming, bool ukrainian,
                            int copies);

} // namespace printing
