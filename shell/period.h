#pragma once

#include "core/date_time.h"

// A date range, passed by reference to the period dialog and kept by the main window as the
// browse period of every period browser.
struct Period {
    DateTime start = 0;
    DateTime end = 0;
};
