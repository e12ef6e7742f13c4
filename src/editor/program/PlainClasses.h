#pragma once
// Until every class the editor's skin names is built, the program makes the ones nobody
// registered as plain panels, so the main window opens with the whole skin laid out.

namespace KR
{
class LControlFactory;
}

// Registers a plain panel for each class of the loaded skins that has no creator yet;
// the number of classes registered.
int RegisterPlainPanelsForUnbuiltClasses(KR::LControlFactory& factory);
