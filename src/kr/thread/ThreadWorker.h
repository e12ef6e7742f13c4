#pragma once
// The work that a framework thread runs for its owner.

#include "kr/core/RCPtr.h"
#include "kr/core/RefCountedObject.h"
#include "kr/core/Types.h"

#include <string_view>

namespace KR
{

class LThreadWorker : public virtual LRefCountedObject
{
public:
    // Runs on the threader's thread, never on the thread that asked for the run.
    // `param` is what the owner handed over with the run (may be null); 0 for success.
    virtual Result DoWork(RCPtr<LRefCountedObject>& param) = 0;
};

// Calls DoWork so that an exception it throws is logged (naming `runner`) and the
// thread goes on; the result is then kFail.
Result RunWorker(LThreadWorker& worker, RCPtr<LRefCountedObject>& param, std::string_view runner);

} // namespace KR
