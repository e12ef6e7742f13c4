// What a control takes from its skin element: creation through the factory, the
// application of a descriptor (first and again when the skin changes), initialisation
// and create parameters, fonts, and the placement setters.

#include "kr/ui/Control.h"

#include "kr/core/StringFunctions.h"
#include "kr/notify/ApplicationCenter.h"
#include "kr/ui/ControlFactory.h"
#include "kr/ui/ControlPlacement.h"
#include "kr/ui/FrameworkApp.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace KR
{
namespace
{

RCPtr<LControlFactory> Factory()
{
    return IFrameworkApp::GetInstance().GetControlFactory();
}

// Sets a flag for a scope and gives it back its value at the end, a throw included.
class FlagScope
{
public:
    explicit FlagScope(bool& flag) : mFlag(flag), mWas(flag) { mFlag = true; }
    ~FlagScope() { mFlag = mWas; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& mFlag;
    bool mWas;
};

} // namespace

// ---- creation --------------------------------------------------------------------------------

RCPtr<LControl> LControl::CompleteCreation(const RCPtr<LControl>& control, const RCPtr<LControl>& parent,
                                           const RCPtr<LControlDescriptor>& descriptor)
{
    control->mCreating = true;
    // The descriptor first: the children are placed against what it gives their parent.
    if (parent)
    {
        parent->AddChildControl(control, descriptor);
    }
    else
    {
        control->ApplyLayoutDescriptor(descriptor);
    }
    control->CreateChildControls(descriptor);
    control->Initialize();
    control->PlaceParts();
    control->mCreating = false;
    control->mCreationFinished = true;
    return control;
}

bool LControl::IsCreateDeferred(const ConstRCPtr<LControlDescriptor>& descriptor)
{
    return descriptor && CreateParamIsTrue(descriptor->GetCreateParams(), u"DEFER_CREATE");
}

Result LControl::CreateChildControls(ConstRCPtr<LControlDescriptor> descriptor)
{
    mChildList.RemoveAll();
    const RCPtr<LControlFactory> factory = Factory();
    if (descriptor && factory)
    {
        // Placing this control again for each new child would redo its ancestors' layout
        // once per control of the tree; it is placed once below, from all of them.
        const FlagScope making(mMakingChildren);
        const LControlDescriptor::Children& children = descriptor->GetChildren();
        for (std::uint32_t i = 0; i < children.GetCount(); ++i)
        {
            const RCPtr<LControlDescriptor>& child = children.GetAt(i);
            if (child && !IsCreateDeferred(child))
            {
                factory->CreateControl(child, RCPtr<LControl>(this));
            }
        }
    }
    UpdateLayout();
    return kOk;
}

// ---- applying a descriptor ---------------------------------------------------------------------

void LControl::ApplyLooks(const LControlDescriptor& descriptor, const LLayoutDescriptor& layout)
{
    mLooks.RemoveAll();
    mLookWeights.clear();
    mLookList = nullptr;
    mActiveLookSlot = kActiveLookUnknown;
    const RCPtr<LSkinDescriptor>& skin = descriptor.GetSkin();
    if (!skin || !skin->lookList)
    {
        return;
    }
    // Every slot starts as a look made now would: new, at the control's size, without
    // text or font. LookAt makes it.
    mLookList = skin->lookList;
    mLookWrap = layout.textOverflowX == kTextOverflowWrap;
    mLookSize = PointI{RoundToInt32(mSize.x), RoundToInt32(mSize.y)};
    mLookText = String();
    mLookFont = nullptr;
    // An empty slot stays a null look, so look indices keep meaning the skin's slots.
    // All slots at once: one allocation, not one per slot.
    const std::uint32_t count = mLookList->GetCount();
    if (mLooks.SetCount(count) == static_cast<Result>(count))
    {
        mLookWeights.assign(count, 0.0f);
    }
    mActiveLookSlot = kActiveLookUnknown;
}

bool LControl::HasLookAt(std::uint32_t index) const
{
    return index < mLooks.GetCount() &&
           (mLooks.ElementAt(index) ||
            (mLookList && index < mLookList->GetCount() && mLookList->GetAt(index)));
}

const RCPtr<LLook>& LControl::LookAt(std::uint32_t index) const
{
    static const RCPtr<LLook> null;
    if (index >= mLooks.GetCount())
    {
        return null;
    }
    RCPtr<LLook>& look = mLooks.ElementAt(index);
    if (!look && mLookList && index < mLookList->GetCount() && mLookList->GetAt(index))
    {
        look = LLook::Create(mLookList->GetAt(index), mLookWrap);
        if (look)
        {
            look->SetSize(mLookSize.x, mLookSize.y);
            look->SetText(mLookText);
            if (mLookFont)
            {
                look->SetFont(mLookFont);
            }
        }
    }
    return look;
}

void LControl::ApplyNamedRootPlacement(bool fillWindow)
{
    DockedPositionSpec x;
    DockedPositionSpec y;
    SizeSpec width;
    SizeSpec height;
    mLayout->GetPlacement(0, x, width);
    mLayout->GetPlacement(1, y, height);
    if (fillWindow)
    {
        for (DockedPositionSpec* position : {&x, &y})
        {
            position->anchor = 0.0f;
            position->reference = kPositionToClient;
            position->relative = 0.0f;
            position->absolute = 0.0;
        }
        for (SizeSpec* size : {&width, &height})
        {
            size->reference = kSizeToClient;
            size->relative = 1.0f;
            size->absolute = 0.0;
        }
    }
    else
    {
        // Where the window stands now, so that a new skin does not move it.
        const RectI client = mRootWindow->GetClientRectOnScreen();
        RectD rect{IntToDouble(client.x), IntToDouble(client.y), mSize.x, mSize.y};
        if (AdjustWindowRect(rect) == kNothingDone)
        {
            mRootWindow->MoveClientRect(rect);
        }
        x.relative = 0.0f;
        x.absolute = IntToDouble(client.x);
        y.relative = 0.0f;
        y.absolute = IntToDouble(client.y);
        width.relative = 0.0f;
        width.absolute = mSize.x;
        height.relative = 0.0f;
        height.absolute = mSize.y;
    }
    SetPlacements(x, width, y, height);
}

Result LControl::ApplyLayoutDescriptor(ConstRCPtr<LControlDescriptor> descriptor)
{
    if (!descriptor)
    {
        return kOk;
    }
    const RCPtr<LControl> self(this);
    const bool reapplying = mCreationFinished;
    const bool isRoot = !mParent && mRootWindow;

    // 1. What the running program decided survives; the skin decides the rest.
    bool wasVisible = true;
    bool wasEnabled = true;
    if (reapplying)
    {
        wasVisible = VisibleFlag();
        wasEnabled = EnabledFlag();
        // Out of the ancestors' unclipped counts; the new descriptor's flag is counted below.
        SetClipToParent(true);
    }
    // 2, 3. The skin's layout is shared until the control changes it (EnsureLayout,
    // GetLayoutDescriptor copy it then): run-time changes never reach the skin.
    if (descriptor != mDescriptor)
    {
        mDescriptor = descriptor;
    }
    mLayout = descriptor->GetLayout() ? descriptor->GetLayout() : LLayoutDescriptor::Create();
    if (mParent)
    {
        mParent->mChildList.RaiseGeneration();
    }
    // 4. A root control is always visible; a new skin keeps its window where it is.
    if (isRoot)
    {
        if (!mLayout->visible)
        {
            EnsureLayout().visible = true;
        }
        if (reapplying)
        {
            ApplyNamedRootPlacement(false);
        }
    }
    // 5. Visibility runs through SetVisible, so the focus and the repaint follow it.
    if (reapplying)
    {
        const bool visible = mLayout->visible;
        if (visible != wasVisible)
        {
            EnsureLayout().visible = wasVisible;
            SetVisible(visible);
        }
        if (mLayout->enabled != wasEnabled)
        {
            EnsureLayout().enabled = wasEnabled;
        }
        bool present = false;
        const bool notFocusable =
            CreateParamIsTrue(descriptor->GetCreateParams(), u"NOT_FOCUSABLE", &present);
        SetNotFocusable(present ? notFocusable : mLayout->tabStop < 0);
    }
    // 6-8. Looks, font, text. A new skin keeps the state a control shows: each weight
    // goes over to the new look of the same index.
    const std::vector<float> oldWeights = reapplying ? mLookWeights : std::vector<float>{};
    ApplyLooks(*descriptor, *mLayout);
    for (std::size_t i = 0; i < std::min(oldWeights.size(), mLookWeights.size()); ++i)
    {
        mLookWeights[i] = oldWeights[i];
    }
    mActiveLookSlot = kActiveLookUnknown;
    const SkinFont font = descriptor->GetSkin() ? descriptor->GetSkin()->font : SkinFont{};
    mFontInheritsFromParent = font.inheritsFromParent;
    mFontSizeRelative = font.sizeIsRelative;
    mTakingFirstDescriptor = !reapplying;
    SetFont(font.name, font.size, font.style, font.sizeIsRelative);
    if (!reapplying)
    {
        if (mStringTable)
        {
            String label;
            mStringTable->GetString(u"LABEL", label);
            SetText(label);
        }
    }
    else
    {
        // Forced through as a change, so that the new looks get the text.
        const String text = mText;
        mText = String(u"~");
        SetText(text);
    }
    // 9.
    if (!mLayout->clipToParent && mParent)
    {
        mParent->IncrementUnclippedCount(1);
    }
    // 10. The children leave and come back one by one as the new skin names them.
    RCPtrArray<LControl> previous;
    for (std::uint32_t i = 0; i < mChildList.GetCount(); ++i)
    {
        previous.AddItem(mChildList.GetAt(i, kInsertionOrder));
    }
    mChildList.RemoveAll();
    mPosition = PointD{};
    mSize = PointD{};
    mTakingFirstDescriptor = false;
    UpdateLayout();

    if (!reapplying)
    {
        // 11. A new control's first state is no change.
        SelectLook(0);
        InitializeConditions();
    }
    else
    {
        // 12. A child the new skin does not name leaves with `previous`; none is made.
        mLayoutInProgress = true;
        const LControlDescriptor::Children& children = descriptor->GetChildren();
        for (std::uint32_t i = 0; i < children.GetCount(); ++i)
        {
            const RCPtr<LControlDescriptor>& child = children.GetAt(i);
            if (!child)
            {
                continue;
            }
            for (std::uint32_t j = 0; j < previous.GetCount(); ++j)
            {
                if (ControlNamesMatch(previous.ElementAt(j)->mName, child->GetName()))
                {
                    AddChildControl(previous.ElementAt(j), child);
                    previous.RemoveItems(j, 1);
                    break;
                }
            }
        }
        mLayoutInProgress = false;
        if (mChildList.GetCount() > 0)
        {
            UpdateLayout();
        }
        UpdateConditions();
        // A control left with no weighted look would draw nothing and answer no click.
        if (std::none_of(mLookWeights.begin(), mLookWeights.end(),
                         [](float weight) { return weight > 0.0f; }))
        {
            SelectLook(0);
        }
    }
    // 13.
    if (reapplying)
    {
        PlaceParts();
        mChildList.RaiseGeneration();
        if (isRoot)
        {
            ApplyNamedRootPlacement(true);
        }
        UpdateLayout();
        Invalidate(RectD{0.0, 0.0, mSize.x, mSize.y}, ClipsToParent());
    }
    return kOk;
}

// ---- placement setters ---------------------------------------------------------------------------

bool LControl::SetPlacement(std::int32_t axis, const DockedPositionSpec& position, const SizeSpec& size)
{
    LLayoutDescriptor& layout = EnsureLayout();
    if (axis != 0 && axis != 1)
    {
        return false;
    }
    if (position.docked != (axis == 0 ? layout.xDocked : layout.yDocked) && mParent)
    {
        mParent->mChildList.RaiseGeneration();
    }
    layout.SetPlacement(axis, position, size);
    mPlacedByLayout = true;
    UpdateLayout();
    DockedPositionSpec storedPosition;
    SizeSpec storedSize;
    mLayout->GetPlacement(axis, storedPosition, storedSize);
    return !PositionSpecsEqual(storedPosition, position) || !SizeSpecsEqual(storedSize, size);
}

bool LControl::SetPlacements(const DockedPositionSpec& xPosition, const SizeSpec& xSize,
                             const DockedPositionSpec& yPosition, const SizeSpec& ySize)
{
    LLayoutDescriptor& layout = EnsureLayout();
    if ((xPosition.docked != layout.xDocked || yPosition.docked != layout.yDocked) && mParent)
    {
        mParent->mChildList.RaiseGeneration();
    }
    layout.SetPlacement(0, xPosition, xSize);
    layout.SetPlacement(1, yPosition, ySize);
    mPlacedByLayout = true;
    UpdateLayout();
    DockedPositionSpec position[2];
    SizeSpec size[2];
    mLayout->GetPlacement(0, position[0], size[0]);
    mLayout->GetPlacement(1, position[1], size[1]);
    return !PositionSpecsEqual(position[0], xPosition) || !SizeSpecsEqual(size[0], xSize) ||
           !PositionSpecsEqual(position[1], yPosition) || !SizeSpecsEqual(size[1], ySize);
}

bool LControl::SetSizeLimits(std::int32_t axis, const LimitSpec& minimum, const LimitSpec& maximum)
{
    LLayoutDescriptor& layout = EnsureLayout();
    if (Failed(layout.SetSizeLimits(axis, minimum, maximum)))
    {
        return false;
    }
    mPlacedByLayout = true;
    UpdateLayout();
    LimitSpec storedMinimum;
    LimitSpec storedMaximum;
    mLayout->GetSizeLimits(axis, storedMinimum, storedMaximum);
    return !LimitSpecsEqual(storedMinimum, minimum) || !LimitSpecsEqual(storedMaximum, maximum);
}

// ---- fonts ------------------------------------------------------------------------------------------

Result LControl::SetFont(const String& faceName, float size, std::int32_t style, bool sizeIsRelative)
{
    RCPtr<LFont> base;
    if (mFontInheritsFromParent && mParent)
    {
        base = mParent->mFont;
    }
    if (!base)
    {
        base = IFrameworkApp::GetInstance().GetDefaultFont();
    }
    const bool faceInherited = faceName.IsEmpty();
    const bool sizeInherited = !(size > 0.0f) || sizeIsRelative;
    const bool styleInherited = style == -1;
    if (!base && (faceInherited || sizeInherited || styleInherited))
    {
        return kFail;
    }
    const float factor = sizeIsRelative && size > 0.0f ? size : 1.0f;
    const String face = faceInherited ? base->GetFaceName() : faceName;
    const float points = sizeInherited ? base->GetSize() * factor : size;
    const std::int32_t fontStyle = styleInherited ? base->GetStyle() : style;

    RCPtr<LFont> font;
    if (base && face == base->GetFaceName() && points == base->GetSize() && fontStyle == base->GetStyle())
    {
        font = base;
    }
    else
    {
        font = LFont::GetFont(face, points, fontStyle);
    }
    if (!font)
    {
        return kFail;
    }
    const Result result = ApplyFont(font);
    if (Succeeded(result))
    {
        mFaceInherited = faceInherited;
        mSizeInherited = sizeInherited;
        mStyleInherited = styleInherited;
        mFontSizeRelative = sizeIsRelative;
        mFontFactor = factor;
    }
    return result;
}

Result LControl::ApplyFont(const RCPtr<LFont>& font)
{
    if (!font)
    {
        return kInvalidArg;
    }
    mLookFont = font;
    for (std::uint32_t i = mLooks.GetCount(); i-- > 0;)
    {
        if (const RCPtr<LLook>& look = mLooks.ElementAt(i))
        {
            look->SetFont(font);
        }
    }
    if (mFont && !LFont::IsDifferent(mFont, font))
    {
        return kNothingDone;
    }
    mFont = font;
    mFaceInherited = false;
    mSizeInherited = false;
    mStyleInherited = false;
    OnFontApplied();
    for (std::uint32_t i = 0; i < mChildList.GetCount(); ++i)
    {
        const RCPtr<LControl> child = mChildList.GetAt(i, kInsertionOrder);
        child->OnParentFontChanged();
    }
    if (!mTakingFirstDescriptor)
    {
        UpdateLayout();
    }
    Invalidate(RectD{0.0, 0.0, mSize.x, mSize.y}, ClipsToParent());
    return kOk;
}

Result LControl::OnParentFontChanged()
{
    if (!mFontInheritsFromParent || !(mFaceInherited || mSizeInherited || mStyleInherited) || !mFont)
    {
        return kOk;
    }
    // A relative size is asked for again by its factor: the control's own size is the
    // product of the old parent size and the factor, not a factor.
    const float size = mFontSizeRelative ? mFontFactor : (mSizeInherited ? 0.0f : mFont->GetSize());
    SetFont(mFaceInherited ? String() : mFont->GetFaceName(), size, mStyleInherited ? -1 : mFont->GetStyle(),
            mSizeInherited && mFontSizeRelative);
    return kOk;
}

// ---- initialisation ---------------------------------------------------------------------------------

Result LControl::Initialize()
{
    mApplicationCenter = GetApplicationNotificationCenter();
    // The handler made at construction stays: it already holds the idle registration.
    ReadCreateParams();
    if (mStringTable)
    {
        mStringTable->GetString(u"TOOLTIP", mToolTipText);
        static const String localKeys(u"LHK");
        mLocalHotKeys.AddFromStringTable(mStringTable, localKeys);
        // Siblings offer their keys to a control that has keys of its own.
        if (mParent && !mLocalHotKeys.IsEmpty())
        {
            mHandler->Register(&LControl::OnSiblingKeyNotification, mParent, u"NID_SIBLING_KEY");
            mHandler->AddHandler(&LControl::OnSiblingKeyNotification, u"NID_SIBLING_KEY");
        }
    }
    return kOk;
}

Result LControl::ReadCreateParams()
{
    const RCPtr<LStringTable> params = mDescriptor ? mDescriptor->GetCreateParams() : nullptr;
    const bool tabStopSaysNot = mLayout && mLayout->tabStop < 0;
    if (!params)
    {
        SetNotFocusable(tabStopSaysNot);
        return kOk;
    }
    String value;
    if (params->GetString(u"INITIAL_VALUE", value))
    {
        SetValue(ParseDouble(value));
    }
    bool present = false;
    const bool notFocusable = CreateParamIsTrue(params, u"NOT_FOCUSABLE", &present);
    SetNotFocusable(present ? notFocusable : tabStopSaysNot);
    mUseParentToolTip = CreateParamIsTrue(params, u"USE_PARENT_TOOLTIP");
    mWantsTab = CreateParamIsTrue(params, u"WANTS_TAB");
    return kOk;
}

String LControl::GetLocalizedString(const String& key)
{
    String text;
    if (const RCPtr<LStringTable> table = GetStringTable())
    {
        table->GetString(key, text);
    }
    return text;
}

double LControl::SetScaledValue(double value)
{
    SetValue(NormalizeValue(value));
    return InterpolateValue(mValue);
}

} // namespace KR
