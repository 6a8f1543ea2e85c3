#pragma once

#include "core/exceptions.h"

#include <QString>
#include <functional>

namespace testsupport {

// The message of the Exception that action raises; empty when it raises none.
inline QString messageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Exception& e) {
        return e.message();
    }
    return QString();
}

} // namespace testsupport
