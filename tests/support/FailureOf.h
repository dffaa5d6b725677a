// The message of the failure an action raises, for tests that compare what the operator reads.
#pragma once

#include "common/KibicError.h"

#include <QString>
#include <functional>

namespace kibic::test {

// The message of the KibicError that action raised; empty when it raised none.
inline QString FailureOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const KibicError& error) {
        return error.Message();
    }
    return {};
}

} // namespace kibic::test
