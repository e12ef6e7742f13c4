#include "editor/edit/RootModuleEngineAccess.h"

#include <mutex>

namespace
{

// Installed and read on the UI thread; the lock keeps a read from another thread whole.
std::mutex gLock;
KR::RCPtr<LRootModuleEngine> gEngine;

} // namespace

KR::RCPtr<LRootModuleEngine> GetRootModuleEngine()
{
    const std::lock_guard lock(gLock);
    return gEngine;
}

void SetRootModuleEngine(const KR::RCPtr<LRootModuleEngine>& engine)
{
    KR::RCPtr<LRootModuleEngine> previous;
    {
        const std::lock_guard lock(gLock);
        previous = gEngine;
        gEngine = engine;
    }
    // The old engine's last reference may go here, outside the lock.
}
