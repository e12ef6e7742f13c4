#pragma once
// The application base's window work that does not depend on the program's own class:
// controls made in the main window, the program's icon, and (beside it) the creation of
// the main, root and modal windows. KR::LApplicationBase<T> calls these; tests call them
// directly. UI thread only.

#include "kr/core/RCPtr.h"
#include "kr/core/StringT.h"
#include "kr/render/Bitmap.h"

#include <vector>

namespace KR
{

class LControl;
class LFrameworkApp;

// The current skin's control of that name made for the main window: placed against it, but
// with no parent, so that a dialog takes its texts from its own top-level string table
// ("<application>|<name>") and can be made again once closed (a child would keep its name
// taken in the root control). Null for an unknown name, without a factory or before the
// main window has a root control.
RCPtr<LControl> CreateControlInMainWindow(const LFrameworkApp& app, const String& name);

// The program's icon images ("::icon-16.png", "::icon-32.png", ... from the resources),
// smallest first; empty when the program has none.
std::vector<ConstRCPtr<LBitmap>> LoadApplicationIcons();

} // namespace KR
