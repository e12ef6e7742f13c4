#pragma once
// KR::LControl: the base of every element of the skinned user interface. A control has a
// name, a frame (position and size, doubles) inside its parent, a scroll offset for its
// content, a tree of child controls, condition flags (focus, hover, capture, buttons,
// drags, enabled, shown), a normalised value, and a layout descriptor that the skin gives
// it. It is reference counted once, listens to notifications (LNotificationClient), sends
// its own (LNotificationDistributor) and takes input through UITarget.
//
// Ownership: a parent's child list holds its children; each child holds its parent too.
// That link counts as one of the parent's internal references, so when nothing but its
// children (and registrations) holds a control any more, releasing the last outside
// reference breaks the cycles and the whole tree is freed.
//
// Notifications a control sends, synchronously, on the UI thread, with itself as sender:
//   "NID_CONDITION_CHANGE" and the per-condition "NID_..._CONDITION_CHANGE" (one spelled
//       "NID_VISIBLITY_CONDITION_CHANGE"): LConditionsParam, the control's own record;
//   "NID_VALUE_CHANGE": LValueParam;  "NID_SCROLL_OFFSET_CHANGE": no payload;
//   "NID_LEFT_CLICK", "NID_MIDDLE_CLICK", "NID_RIGHT_CLICK": LMouseButtonParam.
//
// Setters answer 0 done, 1 nothing changed, kFail or kInvalidArg refused; every state
// change ends with UpdateConditions. Finders return a reference to a pointer held by the
// container, or to one static null pointer; callers test for null.
//
// A control made from a skin goes through its class's creator (CreateFromSkin): it is
// constructed, its descriptor applied (ApplyLayoutDescriptor), its children created
// (CreateChildControls), it initialises itself from the skin (Initialize) and places its
// parts (PlaceParts); only then is its creation finished. A later application of a
// descriptor (a new skin at run time) keeps the control, its children and its run-time
// state.
//
// The operations are split over the sources: ControlTree.cpp (construction, the child
// list, finders, coordinates, value mapping), ControlConditions.cpp (condition bits,
// enabled, visible, capture), ControlFocus.cpp (focus and the tab-order walks),
// ControlValues.cpp (value, clipping counts, idle, scroll offset, frame, detaching),
// ControlSkin.cpp (applying descriptors, creation, initialisation, fonts, placements),
// ControlPlacement.cpp (the placement passes of UpdateLayout), ControlText.cpp (text,
// looks, cursor, renaming, pop-ups), ControlKeys.cpp (key routing, local hot keys,
// sibling keys, the Tab walk), ControlContextMenu.cpp (context menus from the string
// table and their commands), ControlMouse.cpp (presses, moves, releases, clicks, the
// wheel), ControlDrag.cpp (the drag modes) and ControlIdle.cpp (the idle step: motion
// timers, throws, animations, the press hand-over, deferred removals).
//
// The road of a key: the window hands it to the focused control (OnKey). The control's
// local hot keys ("LHK" strings) see it first, then its own handler (OnKeyDown). A key it
// leaves goes to its parent: Tab (unless the control wants Tab) to the parent's Tab walk
// (NavigateChildren), which climbs while no child after the one the key came from can
// take the focus and at the top asks the window (FocusNextWindow); any other key to the
// parent's DispatchKey, which offers it to the controls registered there for their
// siblings' keys ("NID_SIBLING_KEY", OnSiblingKey) and then to the window's hot keys and
// the application's.
//
// Pointer input: a press on a shown, enabled control focuses it (or its first focusable
// ancestor), takes the capture and marks the button pressed; a move of at least the drag
// threshold from the press point turns the press into a drag, and while the left button
// drags in a drag mode other than 0 every move is a step of that mode (OnDragMove). A
// release that ends a press, or a drag in mode 0 over the control, is a click. Sent with
// the event's parameter: "NID_MOUSE_DOWN", "NID_MOUSE_MOVE", "NID_MOUSE_UP".
//
// Drag modes (SetDragMode, reset to 0 by every left press, so whoever reacts to the press
// sets it): 1 move with drop targets, 2 move, 3 move scrolling the parent near its edges,
// 4 resize, 5 resize scrolling the parent, 6 pan the content with a throw on release.
// Axes: 1 X, 2 Y; in modes 4 and 5 the edges 4 right, 8 left, 0x10 top, 0x20 bottom.

#include "kr/core/Array.h"
#include "kr/core/Point.h"
#include "kr/core/RCPtr.h"
#include "kr/core/RCPtrArray.h"
#include "kr/core/Rect.h"
#include "kr/core/StringT.h"
#include "kr/core/TaggableObject.h"
#include "kr/core/Types.h"
#include "kr/notify/NotificationCenter.h"
#include "kr/notify/NotificationClient.h"
#include "kr/notify/NotificationDistributor.h"
#include "kr/notify/NotificationHandler.h"
#include "kr/render/Font.h"
#include "kr/render/MenuDescriptor.h"
#include "kr/render/Region.h"
#include "kr/render/Renderer.h"
#include "kr/ui/ControlDescriptor.h"
#include "kr/ui/HotKeyMap.h"
#include "kr/ui/LayoutDescriptor.h"
#include "kr/ui/Look.h"
#include "kr/ui/NotificationParams.h"
#include "kr/ui/RootWindowServices.h"
#include "kr/ui/StringTable.h"
#include "kr/ui/UITarget.h"
#include "kr/ui/VisualPart.h"

#include <cstdint>
#include <type_traits>
#include <vector>

namespace KR
{

struct RootPlacementFrame;

// Condition bits (LControl::GetConditions).
namespace Condition
{
inline constexpr std::uint32_t kHasFocus = 0x1;
inline constexpr std::uint32_t kContainsFocus = 0x2;
inline constexpr std::uint32_t kHover = 0x4;
inline constexpr std::uint32_t kCapture = 0x8;
inline constexpr std::uint32_t kLeftPressed = 0x10;
inline constexpr std::uint32_t kMiddlePressed = 0x20;
inline constexpr std::uint32_t kRightPressed = 0x40;
inline constexpr std::uint32_t kLeftDrag = 0x80;
inline constexpr std::uint32_t kMiddleDrag = 0x100;
inline constexpr std::uint32_t kRightDrag = 0x200;
inline constexpr std::uint32_t kEnabled = 0x400;
inline constexpr std::uint32_t kShown = 0x800;
inline constexpr std::uint32_t kHoverOrForced = 0x1000;
} // namespace Condition

// Names match when they share one buffer or have the same characters (case counts).
inline bool ControlNamesMatch(const String& a, const String& b)
{
    return a.SharesBufferWith(b) || a == b;
}

// The orders in which a child list is read.
enum ChildOrder : std::int32_t
{
    kInsertionOrder = 0,
    kDrawingOrder = 1, // clipped children first, then by docked axes, Z_Order, insertion
    kTabOrder = 2,     // by TabStop, then insertion
};

class LControl : public LNotificationClient,
                 public LNotificationDistributor,
                 public LTaggableObject,
                 public UITarget
{
public:
    // The children of one control in insertion order, with the drawing and tab orders
    // kept as index arrays that are rebuilt on the first read after a change.
    class ChildControlList
    {
    public:
        explicit ChildControlList(LControl* owner) : mOwner(owner) {}
        virtual ~ChildControlList() = default;
        ChildControlList(const ChildControlList&) = delete;
        ChildControlList& operator=(const ChildControlList&) = delete;

        // 0; kInvalidArg for null; kFail when a child of that name is in the list already.
        Result Add(const RCPtr<LControl>& child);
        // The index the child had, or -1.
        std::int32_t Remove(const RCPtr<LControl>& child);
        // Takes every child out, last first.
        void RemoveAll();
        // Throws a runtime error for an index past the end or an unknown order.
        const RCPtr<LControl>& GetAt(std::uint32_t index, std::int32_t order);
        const RCPtr<LControl>& GetAt(std::uint32_t index, std::int32_t order) const;
        std::uint32_t GetCount() const { return mChildren.GetCount(); }
        // Starts loading the child slots and the drawing order.
        void PrefetchForDrawing() const
        {
            __builtin_prefetch(mChildren.GetData());
            __builtin_prefetch(mDrawingOrder.data());
        }
        // The child at `index` in insertion order, or null past the end: only to start
        // loading it early.
        const LControl* PeekForPrefetch(std::uint32_t index) const
        {
            return index < mChildren.GetCount() ? mChildren.ElementAt(index).Get() : nullptr;
        }
        // The same in drawing order.
        const LControl* PeekInDrawingOrder(std::uint32_t index) const
        {
            return index < mChildren.GetCount() ? &InDrawingOrder(index) : nullptr;
        }
        // The child at `index` (below GetCount) in drawing order, unchecked: a paint's walk.
        LControl& InDrawingOrder(std::uint32_t index) const
        {
            if (mSortedGeneration != mGeneration)
            {
                SortIfStale();
            }
            return *mChildren.ElementAt(mDrawingOrder[index]);
        }
        // 1 when the child bears the name already; kFail when another child does;
        // kInvalidArg when the child is not in the list. Later siblings' placements that
        // name the child follow the new name.
        Result RenameChild(const RCPtr<LControl>& child, const String& name);

        // Raised by every change of membership, and by a child's change of clipping or
        // focusability; the sorted orders follow it.
        std::uint32_t GetGeneration() const { return mGeneration; }
        void RaiseGeneration() { ++mGeneration; }

    private:
        friend class LControl;

        void SortIfStale() const;
        // Add without the test of names, for a caller that made it.
        void Append(const RCPtr<LControl>& child);
        // The removal's bookkeeping for the child at `index`.
        void Detach(std::uint32_t index);

        LControl* const mOwner;
        // In steps of four: a panel gains its children one by one, and a list that grew by
        // one each time was copied to a new block for each.
        RCPtrArray<LControl, 4, 4> mChildren;
        // What a paint reads first; the tab order is not.
        mutable std::vector<std::uint32_t> mDrawingOrder;
        std::uint32_t mGeneration = 1;
        mutable std::uint32_t mSortedGeneration = 0;
        mutable std::vector<std::uint32_t> mTabOrder;
    };

    // A control inside `parent` (which may be null: a control not yet placed).
    LControl(const RCPtr<LControl>& parent, const String& name);
    // A root control of a window.
    LControl(const RCPtr<IRootWindowServices>& rootWindow, const String& name);
    ~LControl() override;
    LControl(const LControl&) = delete;
    LControl& operator=(const LControl&) = delete;

    // Breaks the tree's cycles: the registrations at this control and of it, the menu-item
    // updater's link, the children. kOk when only the caller's reference is left.
    Result ReleaseInternalReferences() override;
    // Routes through the control's handler table ("NID_IDLE" among its entries). A class
    // with a table of its own offers a notification there first and passes it on here
    // when that table answers 0. While a creator is still making the control, nothing is
    // handed on: the handlers may need what Initialize has not set up yet.
    Result Receive(const RCPtr<LNotificationDistributor>& sender,
                   const RCPtr<LNotification>& notification) override;
    // Takes the control's table entry for (sender, name) out, held or not, then the
    // client's registration there, whose result it returns; created or not. A class with a
    // table of its own clears its entry first and passes the call on, so that no table
    // of the chain keeps a handler the sender no longer serves.
    Result UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                     NotificationName name) override;

    // ---- fields ------------------------------------------------------------------------
    const String& GetName() const { return mName; }
    // The skin element the control was last made from; null for a control made in code.
    const ConstRCPtr<LControlDescriptor>& GetControlDescriptor() const { return mDescriptor; }
    // The private layout descriptor, to change; null until the skin gives one (the flags
    // then read as the defaults: visible, enabled, clipped, tab stop 0, not docked). A
    // control reads its skin's layout until it changes it: this copies it first.
    const RCPtr<LLayoutDescriptor>& GetLayoutDescriptor() const;
    // The layout as it stands, to read only (it may be the skin's); null as above.
    const LLayoutDescriptor* ReadLayoutDescriptor() const { return mLayout.Get(); }
    // Takes the descriptor as it is (the skin's application clones it first).
    void SetLayoutDescriptor(const RCPtr<LLayoutDescriptor>& layout);
    PointD GetPosition() const { return mPosition; }
    PointD GetSize() const { return mSize; }
    RectD GetFrame() const { return RectD{mPosition.x, mPosition.y, mSize.x, mSize.y}; }
    PointD GetScrollOffset() const { return mScrollOffset; }
    double GetValue() const { return mValue; }
    std::int32_t GetUnclippedCount() const { return mUnclippedCount; }
    std::int32_t GetIdleRequestCount() const { return mIdleRequests; }
    float GetOpacity() const { return mOpacity; }
    void SetOpacity(float opacity) { mOpacity = opacity; }
    const String& GetText() const { return mText; }
    // Returns whether the text changed. The looks show it, a root control's window takes
    // it as its title, and with `relayout` a control whose size follows its text is laid
    // out again.
    bool SetText(const String& text, bool relayout = true);
    std::uint32_t GetCursor() const { return mCursor; }
    // Shown at once when the pointer is over the control.
    void SetCursor(std::uint32_t cursor);
    // Asks the window to show this control's cursor (0: the default arrow); kFail
    // without a window, else the cursor that was in force.
    Result ApplyCursor();
    // Set on a dragged control and its items so that the hit test passes them by.
    bool IsExcludedFromHitTest() const { return mExcludedFromHitTest; }
    void SetExcludedFromHitTest(bool excluded) { mExcludedFromHitTest = excluded; }
    bool IsFocusBarrier() const { return mFocusBarrier; }
    void SetFocusBarrier(bool barrier) { mFocusBarrier = barrier; }
    const RCPtr<LConditionsParam>& GetConditionsParam() const { return mConditions; }
    // Whether the control takes typed text through the input method (text boxes).
    bool TakesTextInput() const { return mTakesTextInput; }
    void SetTakesTextInput(bool takes) { mTakesTextInput = takes; }
    bool UsesParentToolTip() const { return mUseParentToolTip; }
    void SetUseParentToolTip(bool use) { mUseParentToolTip = use; }
    bool WantsTab() const { return mWantsTab; }
    void SetWantsTab(bool wants) { mWantsTab = wants; }
    const HotKeyMap& GetLocalHotKeys() const { return mLocalHotKeys; }
    // Whether a local hot key is bound to the notification; false for the empty name.
    bool HasHotKey(NotificationName name) const { return mLocalHotKeys.HasHotKey(name); }
    // The first local hot key bound to the notification, or the no-key code.
    KeyCode ParseKeyCode(NotificationName name) const { return KeyCodeFromText(mLocalHotKeys, name); }
    // The text of the control's string table under `key`; empty without either.
    String GetLocalizedString(const String& key);
    // Stores the position of `value` in the control's range (clamped to 0..1) and returns
    // the value of that position: `value` clamped into the range.
    double SetScaledValue(double value);

    // ---- creation from the skin ------------------------------------------------------------
    // Runs the creation steps on a control just constructed inside `parent` (null for a
    // window's root control) under the descriptor's name, and marks its creation finished.
    static RCPtr<LControl> CompleteCreation(const RCPtr<LControl>& control, const RCPtr<LControl>& parent,
                                            const RCPtr<LControlDescriptor>& descriptor);
    // A creator for the factory's registry: T is constructed from (parent, descriptor) when
    // it can be, else from (parent, name).
    template <typename T>
    static RCPtr<LControl> CreateFromSkin(const RCPtr<LControl>& parent,
                                          const RCPtr<LControlDescriptor>& descriptor)
    {
        RCPtr<LControl> control;
        if constexpr (std::is_constructible_v<T, const RCPtr<LControl>&, const RCPtr<LControlDescriptor>&>)
        {
            control = RCPtr<LControl>(new T(parent, descriptor));
        }
        else
        {
            control = RCPtr<LControl>(new T(parent, descriptor->GetName()));
        }
        return CompleteCreation(control, parent, descriptor);
    }
    // True once the creator is done: every later descriptor is a re-application.
    bool IsCreationFinished() const { return mCreationFinished; }
    void SetCreationFinished() { mCreationFinished = true; }
    // Whether the element's "DEFER_CREATE" parameter is true: its parent does not make it.
    static bool IsCreateDeferred(const ConstRCPtr<LControlDescriptor>& descriptor);

    // ---- placement and font ----------------------------------------------------------------
    // Each stores one axis' specs (0 X, 1 Y), lays the control out and answers whether the
    // stored specs then differ from the given ones (false for a bad axis: nothing stored).
    bool SetPlacement(std::int32_t axis, const DockedPositionSpec& position, const SizeSpec& size);
    bool SetPlacements(const DockedPositionSpec& xPosition, const SizeSpec& xSize,
                       const DockedPositionSpec& yPosition, const SizeSpec& ySize);
    bool SetSizeLimits(std::int32_t axis, const LimitSpec& minimum, const LimitSpec& maximum);
    // An empty face, a size of 0 or less (or a relative one: the size is the factor) and
    // style -1 are taken from the parent's font (when the font inherits from the parent)
    // or the application's default font. kFail when no font can be had.
    Result SetFont(const String& faceName, float size, std::int32_t style, bool sizeIsRelative);
    // 0 applied; 1 the control holds that font already; kInvalidArg for null.
    Result ApplyFont(const RCPtr<LFont>& font);
    const RCPtr<LFont>& GetFont() const { return mFont; }
    // The minimum and maximum steps of the placement; 1 changed, 0 not, kFail when the
    // anchor cannot meet a named minimum (that axis keeps its values).
    Result ApplyMinimumSize(PointD& position, PointD& size);
    Result ApplyMaximumSize(PointD& position, PointD& size);
    PointD GetPressPoint() const { return mPressPoint; }

    // ---- tree ---------------------------------------------------------------------------
    const RCPtr<LControl>& GetParent() const { return mParent; }
    ChildControlList& GetChildren() { return mChildList; }
    const ChildControlList& GetChildren() const { return mChildList; }
    // 1 when `parent` is the parent already; else 0.
    Result SetParent(const RCPtr<LControl>& parent);
    // The window link of a root control. kFail on a control that has a parent.
    Result SetRootWindow(const RCPtr<IRootWindowServices>& rootWindow);
    // The window of the tree (its root control's link), or null.
    RCPtr<IRootWindowServices> GetRootWindow() const;
    RCPtr<LControl> GetRootControl() const;
    // Takes a direct child out at the next idle step; it is hidden meanwhile.
    Result DeferChildRemoval(const RCPtr<LControl>& child);
    const RCPtr<LControl>& FindChildControl(const String& name) const;
    // Appends every control below this one named `name`; returns the array's count.
    std::uint32_t FindDescendantControls(const String& name, RCPtrArray<LControl>& found) const;
    std::int32_t GetChildIndex(const RCPtr<LControl>& child, std::int32_t order);
    // The updater menus ask about this control's items; made on the first call.
    const RCPtr<LMenuItemUpdater>& GetMenuItemUpdater();

    // ---- looks ---------------------------------------------------------------------------
    // The look at the index when there is one; else the first look weighing more than 0,
    // else the first look; else the static null look.
    const RCPtr<LLook>& GetActiveLook(std::int32_t index) const;
    // The first look weighing more than 0, or -1.
    std::int32_t GetActiveLookIndex() const;
    std::uint32_t GetLookCount() const { return mLooks.GetCount(); }
    // Whether any look slot holds a look (a control with none draws only its children).
    bool HasLook() const;
    float GetLookWeight(std::int32_t index) const;
    // Sets one look's weight; `exclusive` gives every other look 0. kInvalidArg for an
    // index without a look.
    Result SetLookWeight(std::int32_t index, float weight, bool exclusive);
    // The client rectangle of the active look for the index, or (0, 0, width, height).
    RectD GetLookRect(std::int32_t index) const;
    void ClearLookRegion(std::int32_t index);
    void ClearLookRegions();
    // Look i's region becomes the control's rectangle together with look j's region.
    void CombineLookRegions(std::int32_t i, std::int32_t j);
    // kInvalidArg when there is no look at the index.
    Result SetLookRegion(std::int32_t index, const LRegion& region);
    // The look's client part becomes the bitmap (null: no part). kFail without a look there.
    Result SetLookImage(std::int32_t index, const ConstRCPtr<LBitmap>& bitmap, std::int32_t resizeType);
    // kFail without a look there, kInvalidArg for a null part.
    Result SetLookVisualPart(const RCPtr<LVisualPart>& part, std::int32_t index);

    // ---- pop-ups -----------------------------------------------------------------------------
    // The menu's commands reach OnContextMenuCommand through the control's handler table;
    // the old menu's commands leave it.
    Result SetContextMenu(const RCPtr<LMenuDescriptor>& menu);
    // Appends the menus of the control's "CONTEXT_MENU" strings: the one menu of the
    // "CONTEXT_MENU." entries when there are any, else one per menu key in text order
    // ("CONTEXT_MENU0.", "CONTEXT_MENU1.", "CONTEXT_MENU10.", "CONTEXT_MENU2."). 1.
    Result BuildContextMenu(IArray<RCPtr<LMenuDescriptor>>& menus);
    // A chosen menu command: as the window's hot key when one is bound to it, else a
    // notification without payload to the application's hot-key receiver. 1.
    Result OnContextMenuCommand(const RCPtr<LNotificationDistributor>& sender,
                                const RCPtr<LNotification>& notification);
    // Opens the skin's "contextMenu" as this control's child with the context menu; the
    // menu places itself at the pointer, which the caller saw at `position`. A skin
    // without one opens nothing.
    Result ShowContextMenu(const PointI& position);

    // ---- state tests ---------------------------------------------------------------------
    bool IsEnabled(bool withAncestors) const;
    bool IsShown(bool withAncestors) const;
    bool IsNotFocusable(bool withAncestors) const;
    bool CanTakeFocus();
    bool ClipsToParent() const { return !mLayout || mLayout->clipToParent; }
    bool IsDocked() const { return mLayout && (mLayout->xDocked || mLayout->yDocked); }
    bool HasFocus() const { return mHasFocus; }
    bool ContainsFocus() const { return mContainsFocus; }
    bool HasCapture() const { return mCapture; }

    // ---- geometry -----------------------------------------------------------------------
    PointD GetAbsolutePosition() const;
    PointI ConvertPointFromControl(const PointI& point, const LControl& other) const;
    // The union of the children not docked on either axis; (0, 0, 0, 0) when there is none.
    RectD GetChildrenBounds();
    // 1 when all four values equal the stored ones; else 0.
    Result SetFrame(const PointD& position, const PointD& size);
    // Re-places the control from its layout descriptor, against its parent or, for a root
    // control, its window; the result is SetFrame's. kFail without a descriptor or a
    // window. A control made in code keeps the frame its code set (1) until it is given
    // a placement.
    Result UpdateLayout();
    // Where the layout would place this control without parent against `root`, on whole
    // units, without placing it: how a root control constrains its window's size. False
    // for a control its code places, or one with a parent.
    bool ComputeRootPlacement(const RootPlacementFrame& root, RectD& placed);
    // A root control's placement from here on: at the client area's corner, as large as it.
    void FillWindow();

    // ---- value mapping --------------------------------------------------------------------
    double InterpolateValue(double normalized) const;
    double NormalizeValue(double value) const;

    // ---- conditions -----------------------------------------------------------------------
    std::uint32_t GetConditions() const;
    void UpdateConditions();
    // Takes the current bits into the record without notifying anyone: a new control's
    // first state is no change.
    void InitializeConditions();
    void SetForcedHover(bool forced);
    Result ChildTakesFocus(const RCPtr<LControl>& child);

    // ---- clipping counts and idle -----------------------------------------------------------
    void IncrementUnclippedCount(std::int32_t delta = 1);
    void DecrementUnclippedCount(std::int32_t delta = 1) { IncrementUnclippedCount(-delta); }
    Result BeginIdleProcessing();
    Result EndIdleProcessing();

    // ---- timers: two per control (0 and 1), driven by the idle step ----------------------------
    struct Timer
    {
        // What the timer's user gave it: the scrolling velocity (units per second), then the
        // upper and the lower bound of the scroll offset on the timer's axis.
        double values[3] = {0.0, 0.0, 0.0};
        // The application clock, in seconds, when the timer started, then at each idle step.
        double start = 0.0;
        // Gets a drag step (OnDragMove at the pointer) at each idle step.
        RCPtr<LControl> target;
        bool running = false;
        bool fired = false;
    };
    // Stores the values and the target; a timer that is not running starts now and holds
    // one idle request while it runs. kInvalidArg for an index other than 0 or 1.
    Result StartTimer(std::int32_t index, double a, double b, double c, const RCPtr<LControl>& target);
    // 1 when the timer was not running; kInvalidArg for a bad index.
    Result StopTimer(std::int32_t index);
    const Timer& GetTimer(std::int32_t index) const { return mTimers[index == 0 ? 0 : 1]; }
    void SetTimerFired(std::int32_t index, bool fired) { mTimers[index == 0 ? 0 : 1].fired = fired; }

    // ---- pointer, drags and idle motion -----------------------------------------------------------
    // Whole units the pointer must move from the press point before a press becomes a drag
    // (default 1; 0: the drag begins at the press). kInvalidArg for a negative value.
    Result SetDragThreshold(std::int32_t threshold);
    std::int32_t GetDragThreshold() const { return mDragThreshold; }
    std::int32_t GetDragMode() const { return mDragMode; }
    std::int32_t GetDragAxes() const { return mDragAxes; }
    // The pointer velocity of a mode-6 drag, units per second per axis.
    PointD GetThrowVelocity() const { return mThrowVelocity; }
    bool IsThrowing(std::int32_t axis) const { return mThrowStarted[axis == 0 ? 0 : 1]; }
    // The deceleration of a release throw once it has run a second, units per second per second.
    void SetThrowFriction(double friction) { mFriction = friction; }
    const RCPtr<LControl>& GetDropTarget() const { return mDropTarget; }
    // While paused, the idle step runs deferred removals only.
    void SetIdlePaused(bool paused) { mIdlePaused = paused; }
    // Grows (or shrinks) the size on the axis by one unit per millisecond from the next idle
    // step until a relayout changes nothing. kInvalidArg for another axis.
    Result StartSizeAnimation(std::int32_t axis, bool grow);
    // Moves the position towards `target` (absolute position specs) by one unit per
    // millisecond on each axis until a relayout changes nothing.
    Result StartMoveAnimation(const PointD& target);
    bool IsAnimating() const
    {
        return mMoving || mGrowing[0] || mGrowing[1] || mShrinking[0] || mShrinking[1];
    }
    // A left press held 100 ms without becoming a drag is handed to `target` at `point`
    // (its coordinates): this control lets go and the target is pressed instead. Null
    // withdraws the request.
    void RequestPressHandOver(const RCPtr<LControl>& target, const PointI& point);

    // ---- focus walks ------------------------------------------------------------------------
    const RCPtr<LControl>& GetFirstFocusableChild();
    const RCPtr<LControl>& GetLastFocusableChild();
    const RCPtr<LControl>& GetFocusedChild() const;

    // ---- invalidation -----------------------------------------------------------------------
    // Every control below that does not clip to its parent repaints its whole frame; or
    // this control's when it is such a control itself.
    void InvalidateSubtree();
    // Where invalidations of this control are clipped, in its own coordinates: its
    // parent's rectangle, or its window's client area, or its own rectangle.
    RectD GetParentRectInControl();
    // Turns window (root) coordinates into this control's.
    PointD GetRootToControlOffset() const;

    // ---- retained contents (controls that scroll by copying what they drew) -----------------
    void SetScrollsByCopying(bool scrolls) { mScrollsByCopying = scrolls; }
    bool IsScrollingByCopying() const { return mScrollsByCopying; }
    // What the retained contents cover (content coordinates, whole units); the scroll view
    // resets it whenever it rebuilds them.
    void SetRetainedArea(const RectI& area);
    // The parts of the retained contents that are stale.
    const LRegion& GetRetainedRegion() const { return mRetainedRegion; }
    // Marks the rectangle stale where it meets the retained area, and with `invalidate`
    // repaints the part of it inside the control.
    void AddStaleRect(const RectD& rect, bool invalidate);
    // Moves the stale rectangles that overlap the client rectangle (touching is not
    // overlapping) into `out`, whole, in the retained contents' coordinates.
    void TakeStaleRects(const RectI& clientRect, LRegion& out);
    // An offscreen context the children are drawn into and copied from (null: drawn
    // directly), the part of it in use (client coordinates), and whether children docked
    // in an axis are drawn outside it, over the copy.
    void SetBackBuffer(const RCPtr<LRenderContextInfo>& buffer, const RectI& rect, bool dockedOutside);
    // Whether the active look's laid-out text is wider than its text area (without laid
    // out lines: whether there is any text); false without a look.
    bool IsTextClipped();

    // ---- drawing ------------------------------------------------------------------------------
    // The largest Z_Order of this control and its ancestors that do not clip to their
    // parent; the 32-bit minimum when all of them clip.
    std::int32_t GetDrawingRank() const;
    // Starts loading what Draw reads of this control, so that a walk over many controls
    // does not wait for each in turn: in stage 0 its own fields; in stage 1, once those
    // have come in, the layout, look slots, weights and child orders they point to; in
    // stage 2 the looks that draw and the first two children's fields.
    void PrefetchForDrawing(std::int32_t stage) const;
    // The stage for the children [first, last) in insertion order: the first children are
    // loaded while the control draws itself, so their own drawing does not start cold.
    void PrefetchChildrenForDrawing(std::uint32_t first, std::uint32_t last, std::int32_t stage) const;
    // Drops the repaints the control and its descendants ask for while held.
    void HoldRepaints(bool hold) { mHoldingRepaints = hold; }
    // Whether the looks' text moves with the scroll offset.
    void SetScrollsLookText(bool scrolls) { mScrollsLookText = scrolls; }

    // ---- the primary virtual operations, in their fixed order ------------------------------
    virtual bool SetTextFromString(const String& text);                                               // 0
    virtual double SetValue(double value);                                                            // 1
    virtual void OnValueChanged() {}                                                                  // 2
    virtual Result SetValueScaling(double minimum, double maximum, std::int32_t mode);                // 3
    virtual void UpdateClientRect();                                                                  // 4
    virtual void CheckClientRect();                                                                   // 5
    virtual void ScrollContent(const PointD& oldOffset, const PointD& newOffset);                     // 6
    virtual void OnChildRectChanged(const RCPtr<LControl>& child);                                    // 7
    virtual PointD GetSpecifiedSize() { return mSize; }                                               // 8
    virtual PointD GetMinSize();                                                                      // 9
    virtual bool SetClipToParent(bool clip);                                                          // 10
    virtual void SetScrollOffset(const PointD& offset);                                               // 11
    virtual RCPtr<LStringTable> GetStringTable();                                                     // 12
    virtual bool IsEditTarget() { return false; }                                                     // 13
    virtual RCPtr<LControl> GetEditTarget();                                                          // 14
    virtual bool CanPerformEdit(std::int32_t /*operation*/) { return false; }                         // 15
    virtual Result PerformEdit(std::int32_t operation);                                               // 16
    virtual Result SetDragMode(std::int32_t mode, std::int32_t axes);                                 // 17
    virtual void OnDragStart();                                                                       // 18
    virtual void ResetDragOrigin();                                                                   // 19
    virtual Result OnDragMove(const RCPtr<LPointWithModifiersParam>& point);                          // 20
    virtual Result OnDragTick() { return kOk; }                                                       // 21
    virtual void OnDragEnd();                                                                         // 22
    virtual RCPtr<LControl> FindDropTarget(const RCPtr<LControl>& dragged, const PointI& point);      // 23
    virtual void OnDropTargetChanged() {}                                                             // 24
    virtual Result AcceptsDrop(const RCPtr<LControl>& /*dragged*/) { return kOk; }                    // 25
    virtual void GetSizeLimits(const LControl* forControl, PointD& minimum, PointD& maximum);         // 26
    virtual RectD GetClientArea();                                                                    // 27
    virtual Result OnDragEnter(const RCPtr<LControl>& /*dragged*/) { return kOk; }                    // 28
    virtual Result OnDragOver(const RCPtr<LControl>& /*dragged*/) { return kOk; }                     // 29
    virtual void OnDragLeave(const RCPtr<LControl>& /*dragged*/) {}                                   // 30
    virtual Result OnDropEnded(const RCPtr<LControl>& /*dragged*/) { return kOk; }                    // 31
    virtual Result OnDrop(const RCPtr<LControl>& /*dragged*/) { return kFail; }                       // 32
    virtual Result SetFocus(bool forward);                                                            // 33
    virtual void SetNotFocusable(bool notFocusable);                                                  // 34
    virtual bool ContainsFocusableControl();                                                          // 35
    virtual Result OnConditionsChanged(const RCPtr<LConditionsParam>& /*conditions*/) { return kOk; } // 36
    virtual Result Detach();                                                                          // 37
    virtual void RegisterIdleHandlers();                                                              // 38
    virtual void OnChildRemoved(std::int32_t /*index*/) {}                                            // 39
    virtual bool SetVisible(bool visible);                                                            // 40
    virtual bool IsPointInLooks(const PointI& point);                                                 // 41
    virtual std::uint32_t GetLookColorAt(const PointI& point);                                        // 42
    // The state a menu row for `notificationName` shows: the control may grey it out, check
    // it or rename it through `state`; 1: the control has no say.
    virtual Result UpdateMenuItem(std::int32_t /*index*/, const String& /*notificationName*/,
                                  MenuItemInfo& /*state*/) // 43
    {
        return kNothingDone;
    }
    virtual const RCPtr<LMenuDescriptor>& GetContextMenu() { return mContextMenu; }       // 44
    virtual Result OnContextMenuOpening(const RCPtr<LControl>& /*popup*/) { return kOk; } // 45
    virtual Result SelectLook(std::int32_t index);                                        // 46
    virtual Result AddLook(const RCPtr<LLook>& look);                                     // 47
    virtual Result AdjustWindowRect(RectD& /*rect*/) { return kOk; }                      // 48
    virtual void SetEnabled(bool enabled);                                                // 49
    virtual Result ApplyLayoutDescriptor(ConstRCPtr<LControlDescriptor> descriptor);      // 50
    // Draws the control, then its children; collects into `deferred` what does not clip.
    virtual Result Draw(const RCPtr<LRenderer>& renderer, const LRegion& invalid, // 51
                        RCPtrArray<LControl>& deferred, bool unclippedPass);
    virtual void InvalidateInParent(const RectD& rect, bool clip, const RectD& clipRect); // 52
    virtual void Invalidate(const RectD& rect, bool clip);                                // 53
    // The control under a point of this control's coordinates, and the point in its own.
    virtual RCPtr<LControl> HitTest(const PointI& point, PointI& localPoint, bool visibleOnly);   // 54
    virtual void OnFontApplied() {}                                                               // 55
    virtual Result RequestFocus(const RCPtr<LControl>& child);                                    // 56
    virtual Result OnLeftButtonDown(const RCPtr<LMouseButtonParam>& /*button*/) { return kOk; }   // 57
    virtual Result OnLeftButtonUp(const RCPtr<LMouseButtonParam>& /*button*/) { return kOk; }     // 58
    virtual Result OnMiddleButtonDown(const RCPtr<LMouseButtonParam>& /*button*/) { return kOk; } // 59
    virtual Result OnMiddleButtonUp(const RCPtr<LMouseButtonParam>& /*button*/) { return kOk; }   // 60
    virtual Result OnRightButtonDown(const RCPtr<LMouseButtonParam>& /*button*/) { return kOk; }  // 61
    virtual Result OnRightButtonUp(const RCPtr<LMouseButtonParam>& /*button*/) { return kOk; }    // 62
    virtual Result OnMouseMoved(const RCPtr<LPointWithModifiersParam>& /*point*/) { return kOk; } // 63
    // The base takes no wheel, so the notch climbs to a control that scrolls.
    virtual Result OnVerticalWheel(const RCPtr<LMouseWheelParam>& /*wheel*/) { return kNothingDone; }   // 64
    virtual Result OnHorizontalWheel(const RCPtr<LMouseWheelParam>& /*wheel*/) { return kNothingDone; } // 65
    virtual Result OnClick(const RCPtr<LMouseButtonParam>& button);                                     // 66
    virtual Result OnLeftClick(const RCPtr<LMouseButtonParam>& button);                                 // 67
    virtual Result OnMiddleClick(const RCPtr<LMouseButtonParam>& button);                               // 68
    virtual Result OnRightClick(const RCPtr<LMouseButtonParam>& button);                                // 69
    virtual Result OnBeforeLeftClick(const RCPtr<LMouseButtonParam>& /*button*/) { return kOk; }        // 70
    virtual Result OnBeforeMiddleClick(const RCPtr<LMouseButtonParam>& /*button*/) { return kOk; }      // 71
    virtual Result OnBeforeRightClick(const RCPtr<LMouseButtonParam>& /*button*/) { return kOk; }       // 72
    virtual bool ContainsPoint(const PointI& point);                                                    // 73
    virtual const RCPtr<LControl>& GetNextTabControl(const RCPtr<LControl>& current, bool backward);    // 74
    virtual Result OnKeyDown(const RCPtr<LKeyParam>& /*key*/) { return kNothingDone; }                  // 75
    // Offers the key to the receivers of this control's "NID_SIBLING_KEY": 0 when one took
    // it, 1 when none did (at once when nobody listens).
    virtual Result OnSiblingKey(const RCPtr<LKeyParam>& key); // 76
    // A key a child left: the siblings' receivers, then the window's and the
    // application's hot keys. 0 taken, 1 not.
    virtual Result DispatchKey(const RCPtr<LKeyParam>& key); // 77
    // Tab from the child the key came from: the next child in tab order (Shift: the
    // previous one) that can hold the focus takes it; past the last one, or with Ctrl,
    // the key climbs.
    virtual Result NavigateChildren(const RCPtr<LKeyParam>& key); // 78
    // Fills `order` with the order in which the receivers at `receivers` are offered a key.
    virtual Result OrderSiblingTargets( // 79
        const RCPtr<LKeyParam>& key,
        const RCPtr<LNotificationDistributor::LNotificationClientPool>& receivers,
        Array<std::int32_t>& order);
    virtual Result OnParentFontChanged();                                            // 80
    virtual Result OnSizeChanged(const PointD& oldOffset, const PointD& newOffset);  // 81
    virtual Result OnParentSizeChanged(const RCPtr<LControl>& child);                // 82
    virtual void OnLayoutChanged() {}                                                // 83
    virtual Result DrawContent(const RCPtr<LRenderer>& /*renderer*/) { return kOk; } // 84
    virtual Result DrawOverlay(const RCPtr<LRenderer>& /*renderer*/) { return kOk; } // 85
    virtual Result CreateChildControls(ConstRCPtr<LControlDescriptor> descriptor);   // 86
    virtual Result Initialize();                                                     // 87
    virtual Result ReadCreateParams();                                               // 88
    virtual Result AddChildControl(const RCPtr<LControl>& child,                     // 89
                                   ConstRCPtr<LControlDescriptor> descriptor);
    virtual Result PlaceParts() { return kOk; }              // 90
    virtual String GetToolTipText() { return mToolTipText; } // 91
    virtual Result CreateToolTip(bool show);                 // 92
    virtual RectD GetClientRect();                           // 93

    // ---- UITarget ------------------------------------------------------------------------------
    Result OnMouseEnter() override;
    Result OnMouseMove(const RCPtr<LPointWithModifiersParam>& point) override;
    Result OnMouseDown(const RCPtr<LMouseButtonParam>& button) override;
    Result OnMouseUp(const RCPtr<LMouseButtonParam>& button) override;
    Result OnMouseLeave() override;
    Result BeginDrag(std::uint32_t button, std::int32_t x, std::int32_t y) override;
    Result OnCaptureLost() override;
    // 0 once the key is routed, or dropped by a hidden or disabled control; kInvalidArg
    // for null.
    Result OnKey(const RCPtr<LKeyParam>& key) override;
    // Offered to the control, then up the chain until one takes it; -1 for null.
    Result OnMouseWheel(const RCPtr<LMouseWheelParam>& wheel) override;
    Result OnHorizontalMouseWheel(const RCPtr<LMouseWheelParam>& wheel) override
    {
        return OnMouseWheel(wheel);
    }
    Result OnUpdateLayout(std::int32_t parentWidth, std::int32_t parentHeight) override;
    bool CanReleaseFocus() override { return true; }
    Result OnFocusLost() override;

    static const RCPtr<LControl>& NullControl();

protected:
    // The window's hot keys, then the application's.
    Result OfferToGlobalHotKeys(const KeyCode& key);
    // For classes whose input handling sets the state bytes.
    void SetHover(bool hover) { mHover = hover; }
    void SetCaptureFlag(bool capture) { mCapture = capture; }
    void SetPressed(std::uint32_t button, bool pressed);
    void SetDragging(std::uint32_t button, bool dragging);
    void SetPressPoint(const PointD& point) { mPressPoint = point; }

    // The "NID_IDLE" handler: the motion timers, throws, animations and the press hand-over
    // advance, children handed to DeferChildRemoval leave, and slot 83 runs.
    virtual Result OnIdle(const RCPtr<LNotificationDistributor>& sender,
                          const RCPtr<LNotification>& notification);

private:
    friend class ChildControlList;

    // The control's own layout, to change: made, or copied from the skin's, first.
    LLayoutDescriptor& EnsureLayout();
    bool SharesSkinLayout() const;
    // Adds the rectangle (content coordinates) to the stale region in whole units when it
    // meets the retained area; whether it did.
    bool MarkStale(const RectD& rect);
    // The retained contents are all stale: the control draws them anew.
    void RefreshRetainedContents();
    // The rectangle the layout gives against the parent or `root`, on whole units.
    RectD Place(const RootPlacementFrame& root);
    // The hook once per invalid rectangle that meets the clip in force, under that part.
    void DrawPerInvalidRect(const RCPtr<LRenderer>& renderer, const LRegion& invalid,
                            Result (LControl::*hook)(const RCPtr<LRenderer>&));
    // The children of the groups first to last (0 docked in no axis, 1 in one, 2 in both)
    // under the client area `client` (in the current coordinates).
    void DrawChildren(const RCPtr<LRenderer>& renderer, const LRegion& invalid,
                      RCPtrArray<LControl>& deferred, const RectD& client, std::int32_t first,
                      std::int32_t last);
    // All children, through the back buffer when there is one.
    void DrawAllChildren(const RCPtr<LRenderer>& renderer, const LRegion& invalid,
                         RCPtrArray<LControl>& deferred);
    // The stale parts of the retained contents cleared in the back buffer.
    void ClearInBackBuffer(const RCPtr<LRenderer>& renderer, const LRegion& stale);
    bool VisibleFlag() const { return !mLayout || mLayout->visible; }
    bool EnabledFlag() const { return !mLayout || mLayout->enabled; }
    // The focus hand-over shared by SetEnabled, SetVisible and SetNotFocusable: the
    // control takes the focus from a parent that holds it, when it can hold it.
    void TakeFocusFromParent();
    // The child holding or containing the focus, searched from the last child.
    RCPtr<LControl> FindFocusHolderChild(const LControl* except) const;
    const RCPtr<LControl>& FocusableChildFromEnd(bool fromLast);
    void DropIdleRegistrations(const RCPtr<IRootWindowServices>& window);
    // The window a root control is placed in: its own, else the application's active one.
    RCPtr<IRootWindowServices> GetPlacementWindow() const;
    void ApplyLooks(const LControlDescriptor& descriptor, const LLayoutDescriptor& layout);
    // Whether the slot holds a look, made already or still to be made from the skin.
    bool HasLookAt(std::uint32_t index) const;
    // The slot's look, made now when the skin's look for it is still to be made; null for
    // an empty slot or an index past the slots.
    const RCPtr<LLook>& LookAt(std::uint32_t index) const;
    void ApplyNamedRootPlacement(bool fillWindow);
    Result OnSiblingKeyNotification(const RCPtr<LNotificationDistributor>& sender,
                                    const RCPtr<LNotification>& notification);
    // The key after the control's own handler left it: up to the parent, or at the top
    // to the window.
    void PassKeyOn(const RCPtr<LKeyParam>& key);
    // After a right click: the context menu, when there is one, opens at the pointer.
    void OpenContextMenuAtPointer();
    PointD GetClientOrigin();
    std::uint32_t ComputeConditions() const;
    // Pointer input and drags (ControlMouse.cpp, ControlDrag.cpp).
    void FocusOnPress();
    void TakeDragOrigin();
    void AdoptFrameAsPlacement();
    void LimitDragOffset(PointD& offset) const;
    void ApplyDragStep(const PointD& offset);
    void TrackThrowVelocity(const PointD& offset);
    void UpdateDropTarget(const PointD& pointer);
    void UpdateEdgeScrolling(const PointD& offset);
    void SetSubtreeExcluded(bool excluded);
    // The idle step's parts (ControlIdle.cpp).
    void StepTimer(std::int32_t axis);
    void StepSizeAnimation(std::int32_t axis);
    void StepMoveAnimation();
    void StepPressHandOver();
    void RemovePendingChildren();

    // Declaration order: the fields of the control, then its tree.
    String mName;
    ConstRCPtr<LControlDescriptor> mDescriptor;
    RCPtr<LConditionsParam> mConditions;
    bool mHasFocus = false;
    bool mContainsFocus = false;
    bool mHover = false;
    bool mCapture = false;
    bool mPressed[3] = {false, false, false};
    bool mDragging[3] = {false, false, false};
    bool mForcedHover = false;
    bool mExcludedFromHitTest = false;
    PointD mPressPoint;
    std::int32_t mDragMode = 0;
    std::int32_t mDragAxes = 0;
    double mValue = 0.0;
    double mMinimum = 0.0;
    double mMaximum = 0.0;
    std::int32_t mScalingMode = 0;
    // A skin's look is made when something first asks for it (to draw it, hit-test it,
    // measure its text or change it): most slots of a tree (hover, pressed, disabled and
    // the like) are never shown, and each look holds a text layout. Until then its slot
    // is null, and what the looks were told since the skin was applied is kept here, so
    // that a late look starts as one made with the skin would be now.
    ConstRCPtr<LookList> mLookList;
    bool mLookWrap = false;
    PointI mLookSize{};
    String mLookText;
    RCPtr<LFont> mLookFont;
    // Pointer input and drags.
    std::int32_t mDragThreshold = 1;
    RCPtr<LMouseButtonParam> mLastLeftPress;
    std::uint32_t mMoveTime = 0;
    std::uint32_t mPreviousMoveTime = 0;
    std::uint32_t mReleaseTime = 0;
    PointD mThrowVelocity;
    bool mThrowStarted[2] = {false, false};
    bool mInSyntheticMove = false;
    PointD mDragStartSize;
    PointD mParentStartScroll;
    // The absolute parts of the X and Y position and the X and Y size specs.
    double mDragStartSpecs[4] = {0.0, 0.0, 0.0, 0.0};
    PointD mDragOffset;
    RCPtr<LControl> mDropTarget;
    bool mDropCursorShown = false;
    bool mUnclippedBeforeDrag = false;
    // Idle motion.
    bool mIdlePaused = false;
    double mFriction = 1000.0;
    bool mGrowing[2] = {false, false};
    bool mShrinking[2] = {false, false};
    std::uint32_t mSizeAnimTime[2] = {0, 0};
    bool mMoving = false;
    PointD mMoveTarget;
    PointD mMoveCurrent;
    std::uint32_t mMoveAnimTime = 0;
    RCPtr<LControl> mHandOverTarget;
    PointI mHandOverPoint;
    std::uint32_t mHandOverTime = 0;
    bool mHandOverPending = false;
    RCPtr<LControl> mParent;
    RCPtr<IRootWindowServices> mRootWindow;
    RCPtr<LStringTable> mStringTable;
    bool mNotFocusable = true;
    bool mFocusBarrier = false;
    String mToolTipText;
    String mText;
    std::int32_t mIdleRequests = 0;
    std::uint32_t mCursor = 0;
    std::uint32_t mSavedCursor = 0;
    bool mCursorShown = false;
    bool mLayoutInProgress = false;
    bool mScrolling = false;
    bool mChildIsDocked = false;
    RectD mClientRect;
    Timer mTimers[2];
    RCPtrArray<LControl> mPendingRemovals;
    RCPtr<LMenuItemUpdater> mMenuItemUpdater;
    RCPtr<LMenuDescriptor> mContextMenu;
    RCPtr<LNotificationHandler<LControl>> mHandler;
    RCPtr<LNotificationCenter> mApplicationCenter;
    bool mCreating = false;
    bool mCreationFinished = false;
    // While its children are made, a control is placed once after the last of them, not
    // again for each one (CreateChildControls).
    bool mMakingChildren = false;
    // While a new control takes its first descriptor, its font and text do not place it:
    // the descriptor places it from nothing once they are set.
    bool mTakingFirstDescriptor = false;
    // Set once a placement is given to a control made in code; until then UpdateLayout
    // leaves the frame its code set.
    bool mPlacedByLayout = false;
    bool mUseParentToolTip = false;
    bool mTakesTextInput = false;
    bool mFrameChangeInProgress = false;
    // While set, repaints asked for by the control or inside it go no further: a list
    // that moves its rows' pixels asks for what it must itself (HoldRepaints).
    bool mHoldingRepaints = false;
    LRegion mRetainedRegion;
    LRegion mRetainedArea;
    RectD mRetainedOrigin;
    RectI mBackBufferRect;
    bool mWantsTab = false;
    HotKeyMap mLocalHotKeys;
    RCPtr<LFont> mFont;
    bool mFontInheritsFromParent = false;
    bool mFaceInherited = false;
    bool mSizeInherited = false;
    bool mStyleInherited = false;
    bool mFontSizeRelative = false;
    float mFontFactor = 1.0f;
    // What a paint reads of every control, together in four cache lines before the tree:
    // a full repaint walks some hundreds of controls whose fields the frame's fills have
    // pushed out of the cache, and each line apart was another wait.
    alignas(64) RCPtr<LLayoutDescriptor> mLayout;
    PointD mPosition;
    PointD mSize;
    PointD mScrollOffset;
    std::int32_t mUnclippedCount = 0;
    float mOpacity = 1.0f;
    // The slot GetActiveLook(-1) answers with (-1: none), worked out when first asked
    // after the looks or their weights changed (kActiveLookUnknown until then): placing
    // and measuring a control asks for it several times over.
    static constexpr std::int32_t kActiveLookUnknown = -2;
    mutable std::int32_t mActiveLookSlot = kActiveLookUnknown;
    mutable RCPtrArray<LLook> mLooks;
    std::vector<float> mLookWeights;
    RCPtr<LRenderContextInfo> mBackBuffer;
    bool mScrollsLookText = false;
    bool mScrollsByCopying = false;
    bool mDockedOutsideBuffer = false;
    ChildControlList mChildList;
};

// Sends `name` with `parameter` through `distributor` (from no sender); nothing when either
// is missing. 0, or what the distributor's receive answered.
Result DistributeNotification(const RCPtr<LNotificationDistributor>& distributor, NotificationName name,
                              const RCPtr<LRefCountedObject>& parameter);

} // namespace KR
