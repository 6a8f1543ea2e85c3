#pragma once

#include "printing/printed_document.h"
#include "printing/report.h"
#include "store/printed_forms.h"

namespace printing {

// A form filled in with a document, ready to print.
struct FilledForm {
    Report report;
    ReportData data;
};

// The form (store/printed_forms.h) filled in with document. A payment order prints its whole form
// copies times on one run; a cash order prints once.
FilledForm fillSimpleForm(SimpleForm form, const PrintedDocument& document, int copies = 1);

} // namespace printing
