#pragma once
// For tests and benchmarks that build the editor's tree, or trees of their own skins, in
// process: the classes nobody registered become plain panels, so a tree of test classes
// lays out whole. The program itself does not do this: a skin class it does not know stops
// its start-up.

namespace KR
{
class LControlFactory;
}

// Registers a plain panel for each class of the loaded skins that has no creator yet;
// the number of classes registered.
int RegisterPlainPanelsForUnbuiltClasses(KR::LControlFactory& factory);
