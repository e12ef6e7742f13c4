#pragma once
// The model reports programming faults (an id routed to the wrong node, a node
// numbered at the wrong place) as logic errors with fixed texts.

namespace ModelErrors
{

[[noreturn]] void ThrowLogicError(const char* text);

} // namespace ModelErrors
