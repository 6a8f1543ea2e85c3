#pragma once

#include <QList>
#include <functional>

// The seconds work takes.
double timed(const std::function<void()>& work);
double median(QList<double> values);
// The job's line, "<job> ours_s=<s> bare_s=<s> ratio=<x>", written out at once.
void reportJob(const char* job, double ours, double bare);
