// The edge of one user action: a failure ends the action and the operator sees its message.
#pragma once

#include "common/Operator.h"

#include <functional>

namespace kibic {

// Runs action. A KibicError or any other exception ends it: the busy cursor goes off and the error's
// message is shown with ShowError; nothing passes on, so no exception ever reaches the event loop.
// What the action did before the error stays done. Returns true when the action ran to its end.
bool GuardAction(Operator& op, const std::function<void()>& action);

} // namespace kibic
