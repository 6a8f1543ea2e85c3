#include "bench/bench_timing.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>

double timed(const std::function<void()>& work) {
    QElapsedTimer clock;
    clock.start();
    work();
    return clock.nsecsElapsed() / 1e9;
}

double median(QList<double> values) {
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

void reportJob(const char* job, double ours, double bare) {
    std::printf("%s ours_s=%.4f bare_s=%.4f ratio=%.2f\n", job, ours, bare, ours / bare);
    std::fflush(stdout);
}
