#pragma once

#include <QString>

class DataStore;

// The reports' jobs on the generated book of year, each beside the bare client library reading
// the same figures on a connection of its own: the money movement, payers and recipients of the
// year, the register of a month and of the year, the expense analysis of a month and of each
// month in turn, and the year's movement report reopened from its stored text (stored for the
// job and deleted after).
void runReportJobs(DataStore& store, const QString& book, int year, int runs);
