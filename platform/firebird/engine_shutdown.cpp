#include "platform/firebird/engine_shutdown.h"

#include "platform/firebird/error.h"

#include <ibase.h>

namespace fb {

namespace {

// The answers of a shutdown callback: zero lets the shutdown go on.
constexpr int kAllow = 0;
constexpr int kRefuse = 1;

constexpr unsigned int kShutdownWaitMs = 5000;

int confirmShutdown(const int reason, const int, void*) {
    return reason == fb_shutrsn_signal ? kRefuse : kAllow;
}

} // namespace

void refuseSignalShutdown() {
    Status status{};
    fb_shutdown_callback(status, confirmShutdown, fb_shut_confirmation, nullptr);
    check(status);
}

void shutDownEngine() {
    fb_shutdown(kShutdownWaitMs, fb_shutrsn_app_stopped);
}

} // namespace fb
