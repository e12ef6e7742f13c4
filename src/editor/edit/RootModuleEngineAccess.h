#pragma once
// The engine every panel reaches the device model through. The application installs its
// engine once it exists (and takes it back before it goes); tests install their own.
//
//     SetRootModuleEngine(engine);
//     if (const KR::RCPtr<LRootModuleEngine> engine = GetRootModuleEngine()) ...

#include "engine/RootModuleEngine.h"

// A new reference to the installed engine, or null when none is installed.
KR::RCPtr<LRootModuleEngine> GetRootModuleEngine();
// Installs `engine` (null takes the installation back).
void SetRootModuleEngine(const KR::RCPtr<LRootModuleEngine>& engine);
