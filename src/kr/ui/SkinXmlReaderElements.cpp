// The skin elements of SkinXmlReader: what each start element of a skin document fills.

#include "kr/core/Exception.h"
#include "kr/ui/SkinXmlReader.h"

#include <stdexcept>

namespace KR
{

namespace
{

constexpr const char* kLookIndexOperation = "KR::SkinXmlReader::StartLook";
constexpr const char* kSourcePath = "kr/ui/SkinXmlReaderElements";
constexpr int kLookIndexLine = 1;
constexpr const char* kSubControlOperation = "KR::SkinXmlReader::StartSubControl";
constexpr int kNestingLine = 2;

// The relative part is a real; the absolute part a whole number kept as a double.
void ReadRelativeAndAbsolute(float& relativePart, double& absolutePart, const XmlAttributes& attributes,
                             const char16_t* relative, const char16_t* absolute)
{
    attributes.Real(relative, relativePart);
    if (const String* text = attributes.Find(absolute))
    {
        absolutePart = XmlWhole(*text);
    }
}

std::int32_t PositionReferenceOf(const String& text, String& name)
{
    if (text == u"Parent" || text == u"Screen")
    {
        return kPositionToParent;
    }
    if (text == u"Client" || text == u"Active Window")
    {
        return kPositionToClient;
    }
    name = text;
    return kPositionToNamed;
}

std::int32_t SizeReferenceOf(const String& text, String& name)
{
    if (text == u"Self")
    {
        return kSizeToSelf;
    }
    const std::int32_t position = PositionReferenceOf(text, name);
    return position == kPositionToNamed ? kSizeToNamed : position;
}

void ReadPosition(PositionSpec& spec, const XmlAttributes& attributes, const char16_t* anchor,
                  const char16_t* toControl, const char16_t* relative, const char16_t* absolute)
{
    attributes.Real(anchor, spec.anchor);
    if (const String* text = attributes.Find(toControl))
    {
        spec.reference = PositionReferenceOf(*text, spec.referenceName);
    }
    ReadRelativeAndAbsolute(spec.relative, spec.absolute, attributes, relative, absolute);
}

void ReadSize(SizeSpec& spec, const XmlAttributes& attributes, const char16_t* toControl,
              const char16_t* relative, const char16_t* absolute)
{
    if (const String* text = attributes.Find(toControl))
    {
        spec.reference = SizeReferenceOf(*text, spec.referenceName);
    }
    ReadRelativeAndAbsolute(spec.relative, spec.absolute, attributes, relative, absolute);
}

void ReadLimit(LimitSpec& spec, const XmlAttributes& attributes, const char16_t* toControl,
               const char16_t* relative, const char16_t* absolute)
{
    if (const String* text = attributes.Find(toControl))
    {
        // "Parent" and "Children" too are names here, not kinds.
        if (*text == u"Self")
        {
            spec.reference = kLimitToSelf;
        }
        else
        {
            spec.reference = kLimitToNamed;
            spec.referenceName = *text;
        }
    }
    ReadRelativeAndAbsolute(spec.relative, spec.absolute, attributes, relative, absolute);
}

// "Clip" 0, "Expand" 1, "Wrap" 2 when allowed; other texts leave `field` alone.
void ReadOverflow(std::int32_t& field, const XmlAttributes& attributes, const char16_t* name,
                  bool wrapAllowed)
{
    const String* text = attributes.Find(name);
    if (!text)
    {
        return;
    }
    if (*text == u"Clip")
    {
        field = kTextOverflowClip;
    }
    else if (*text == u"Expand")
    {
        field = kTextOverflowExpand;
    }
    else if (wrapAllowed && *text == u"Wrap")
    {
        field = kTextOverflowWrap;
    }
}

// First definition wins: a later object of the same name is made but cannot be found.
template <typename T>
void Register(std::map<String, RCPtr<T>>& map, const String& name, const RCPtr<T>& object)
{
    map.try_emplace(name, object);
}

} // namespace

bool SkinXmlReader::StartSkinElement(const String& name, const XmlAttributes& attributes)
{
    if (name == u"Skins" || name == u"NonClientParts" || name == u"Parts" || name == u"Colorizers")
    {
        return true;
    }
    if (name == u"Skin")
    {
        StartSkin(attributes);
    }
    else if (name == u"FontLocale")
    {
        attributes.WholeHexAllowed(u"LCID", mFontLocale);
    }
    else if (name == u"FontXLat")
    {
        StartFontXLat(attributes);
    }
    else if (name == u"SubControl")
    {
        StartSubControl(attributes);
    }
    else if (name == u"CreateParamList")
    {
        mCreateParams = RCPtr<LStringTable>(new LStringTable());
    }
    else if (name == u"CreateParam")
    {
        if (attributes.Text(u"ID", mCurrentStringId))
        {
            mInsideCreateParam = true;
        }
    }
    else if (name == u"LookList")
    {
        StartLookList(attributes);
    }
    else if (name == u"LookLists")
    {
        mCurrentControl = nullptr;
    }
    else if (name == u"Look")
    {
        StartLook(attributes);
    }
    else if (name == u"Looks")
    {
        mInsideLooks = true;
    }
    else if (name == u"ClientPart")
    {
        StartClientPart(attributes);
    }
    else if (name == u"TextProperties")
    {
        StartTextProperties(attributes);
    }
    else if (name == u"NonClientPart")
    {
        StartNonClientPart(attributes);
    }
    else if (name == u"Part")
    {
        StartPart(attributes);
    }
    else if (name == u"Colorizer")
    {
        StartColorizer(attributes);
    }
    else
    {
        return false;
    }
    return true;
}

void SkinXmlReader::StartSkin(const XmlAttributes& attributes)
{
    String skinName;
    attributes.Text(u"Name", skinName);
    RCPtr<LSkinDescriptor> skin(new LSkinDescriptor(skinName));
    if (!mCurrentControl)
    {
        // A top-level skin: the root of a new control tree.
        RCPtr<LControlDescriptor> root(
            new LControlDescriptor(String(u"Application"), mApplicationName, nullptr));
        mCurrentControl = root;
        mCurrentSkinIndex = static_cast<std::int32_t>(mSkinRoots.AddItem(root));
        attributes.Text(u"FontName", skin->font.name);
        attributes.Real(u"FontSize", skin->font.size);
        attributes.WholeHexAllowed(u"FontStyle", skin->font.style);
        mFontTranslation.clear();
    }
    else
    {
        skin->font = mPendingFont;
        const auto translated = mFontTranslation.find(mPendingFont.name);
        if (translated != mFontTranslation.end())
        {
            skin->font.name = translated->second;
        }
        String lookListName;
        if (attributes.Text(u"LookList", lookListName))
        {
            skin->lookList = FindLookList(lookListName);
        }
    }
    mCurrentControl->SetSkin(skin);
}

void SkinXmlReader::StartFontXLat(const XmlAttributes& attributes)
{
    String fontName;
    String translated;
    if (mFontLocale != mLocale || !attributes.Text(u"Name", fontName) ||
        !attributes.Text(u"XLat", translated))
    {
        return;
    }
    mFontTranslation.try_emplace(fontName, translated);
    if (mCurrentControl && mCurrentControl->GetSkin() && mCurrentControl->GetSkin()->font.name == fontName)
    {
        mCurrentControl->GetSkin()->font.name = translated;
    }
}

void SkinXmlReader::StartSubControl(const XmlAttributes& attributes)
{
    String className;
    String controlName;
    if (!attributes.Text(u"Class", className) || !attributes.Text(u"Name", controlName))
    {
        throw Exception<std::runtime_error>(kBadSubcontrolText);
    }
    if (!mCurrentControl)
    {
        return;
    }
    std::int32_t depth = 1;
    for (const LControlDescriptor* above = mCurrentControl.Get(); above->GetParent() != nullptr;
         above = above->GetParent())
    {
        ++depth;
    }
    if (depth > kMaxControlDepth)
    {
        Throw<std::runtime_error>(
            ErrorText<std::runtime_error>({kNestingDetail}, kSubControlOperation, kSourcePath, kNestingLine));
    }
    const bool topLevel = mCurrentControl->GetClass() == u"Application";
    RCPtr<LControlDescriptor> control(new LControlDescriptor(className, controlName, mCurrentControl.Get()));
    mCurrentControl->AddChild(control);
    mCurrentControl = control;
    RCPtr<LLayoutDescriptor> layout = LLayoutDescriptor::Create();
    ReadLayout(*layout, attributes, topLevel);
    control->SetLayout(layout);
    ReadPendingFont(attributes);
}

void SkinXmlReader::ReadLayout(LLayoutDescriptor& layout, const XmlAttributes& attributes,
                               bool topLevel) const
{
    attributes.Flag(u"ClipToParent", layout.clipToParent);
    attributes.Whole(u"Z_Order", layout.zOrder);
    // A top-level control is shown and placed in tab order by its window, not its skin.
    if (!topLevel)
    {
        attributes.Whole(u"TabStop", layout.tabStop);
    }
    attributes.WholeHexAllowed(u"LayoutOrder", layout.layoutOrder);
    if (!topLevel)
    {
        attributes.Flag(u"IsVisible", layout.visible);
    }
    attributes.Flag(u"XIsDocked", layout.xDocked);
    attributes.Flag(u"YIsDocked", layout.yDocked);
    ReadPosition(layout.xPosition, attributes, u"XPlacementAnchor", u"XPositionToControl", u"XPositionRel",
                 u"XPositionAbs");
    ReadPosition(layout.yPosition, attributes, u"YPlacementAnchor", u"YPositionToControl", u"YPositionRel",
                 u"YPositionAbs");
    ReadSize(layout.xSize, attributes, u"XSizeToControl", u"XSizeRel", u"XSizeAbs");
    ReadSize(layout.ySize, attributes, u"YSizeToControl", u"YSizeRel", u"YSizeAbs");
    ReadLimit(layout.xMinSize, attributes, u"XMinSizeToControl", u"XMinSizeRel", u"XMinSizeAbs");
    ReadLimit(layout.yMinSize, attributes, u"YMinSizeToControl", u"YMinSizeRel", u"YMinSizeAbs");
    ReadLimit(layout.xMaxSize, attributes, u"XMaxSizeToControl", u"XMaxSizeRel", u"XMaxSizeAbs");
    ReadLimit(layout.yMaxSize, attributes, u"YMaxSizeToControl", u"YMaxSizeRel", u"YMaxSizeAbs");
    attributes.Text(u"TextDecoration", layout.textDecoration);
    ReadOverflow(layout.textOverflowX, attributes, u"TextOverflowXType", true);
    ReadOverflow(layout.textOverflowY, attributes, u"TextOverflowYType", false);
}

void SkinXmlReader::ReadPendingFont(const XmlAttributes& attributes)
{
    // Every SubControl replaces the whole pending font; missing parts fall to "not set".
    SkinFont font;
    attributes.Flag(u"FontInheritsFromParent", font.inheritsFromParent);
    attributes.Flag(u"FontSizeIsRelative", font.sizeIsRelative);
    attributes.Text(u"FontName", font.name);
    if (!attributes.Real(u"FontSize", font.size))
    {
        font.sizeIsRelative = false;
    }
    attributes.WholeHexAllowed(u"FontStyle", font.style);
    mPendingFont = font;
}

void SkinXmlReader::StartLookList(const XmlAttributes& attributes)
{
    String listName;
    std::int32_t slots = 0;
    if (!attributes.Text(u"Name", listName) || !attributes.WholeHexAllowed(u"NumLooks", slots) || slots < 0 ||
        slots > kMaxLookListSlots)
    {
        return;
    }
    RCPtr<LookList> list = FindLookList(listName);
    if (!list)
    {
        list = RCPtr<LookList>(new LookList(static_cast<std::uint32_t>(slots)));
        Register(mLookLists, listName, list);
        mCurrentLookList = list;
    }
    else
    {
        // Already defined: its Look elements here are not read.
        mCurrentLookList = nullptr;
    }
    if (mCurrentControl && mCurrentControl->GetSkin())
    {
        mCurrentControl->GetSkin()->lookList = list;
    }
}

void SkinXmlReader::StartLook(const XmlAttributes& attributes)
{
    String lookName;
    if (mInsideLooks)
    {
        if (attributes.Text(u"Name", lookName))
        {
            mCurrentLook = RCPtr<LLookDescriptor>(new LLookDescriptor(lookName));
            Register(mLooks, lookName, mCurrentLook);
        }
        return;
    }
    std::int32_t index = 0;
    if (!mCurrentLookList || !attributes.Text(u"Name", lookName) || !attributes.Whole(u"Index", index))
    {
        return;
    }
    RCPtr<LLookDescriptor> look = FindLook(lookName);
    if (!look)
    {
        return;
    }
    if (index < 0 || static_cast<std::uint32_t>(index) >= mCurrentLookList->GetCount())
    {
        throw Exception<std::out_of_range>(
            ErrorText<std::out_of_range>({}, kLookIndexOperation, kSourcePath, kLookIndexLine));
    }
    (*mCurrentLookList)[static_cast<std::uint32_t>(index)] = look;
}

void SkinXmlReader::StartClientPart(const XmlAttributes& attributes)
{
    String partName;
    RCPtr<LDockedPart> docked(new LDockedPart());
    if (!attributes.Text(u"Name", partName) || !attributes.WholeHexAllowed(u"OffsetLeft", docked->left) ||
        !attributes.WholeHexAllowed(u"OffsetTop", docked->top) ||
        !attributes.WholeHexAllowed(u"OffsetRight", docked->right) ||
        !attributes.WholeHexAllowed(u"OffsetBottom", docked->bottom))
    {
        return;
    }
    docked->part = FindPart(partName);
    if (!docked->part || !mCurrentLook)
    {
        return;
    }
    docked->edgeMask = kDockAllEdges;
    mCurrentLook->clientPart = docked;
}

void SkinXmlReader::StartTextProperties(const XmlAttributes& attributes)
{
    LTextProperties text;
    String partName;
    const bool complete = attributes.Real(u"TextLeftRel", text.leftRelative) &&
                          attributes.WholeHexAllowed(u"TextLeftAbs", text.leftAbsolute) &&
                          attributes.Real(u"TextRightRel", text.rightRelative) &&
                          attributes.WholeHexAllowed(u"TextRightAbs", text.rightAbsolute) &&
                          attributes.Real(u"TextHAlign", text.horizontalAlignment) &&
                          attributes.Real(u"TextTopRel", text.topRelative) &&
                          attributes.WholeHexAllowed(u"TextTopAbs", text.topAbsolute) &&
                          attributes.Real(u"TextBottomRel", text.bottomRelative) &&
                          attributes.WholeHexAllowed(u"TextBottomAbs", text.bottomAbsolute) &&
                          attributes.Real(u"TextVAlign", text.verticalAlignment) &&
                          attributes.Text(u"TextForegroundPart", partName);
    if (!complete || !mCurrentLook)
    {
        return;
    }
    text.foregroundPart = FindPart(partName);
    if (!text.foregroundPart)
    {
        return;
    }
    text.hasTextProperties = true;
    mCurrentLook->text = text;
}

void SkinXmlReader::StartNonClientPart(const XmlAttributes& attributes)
{
    String partName;
    if (!attributes.Text(u"Name", partName) || !mCurrentLook)
    {
        return;
    }
    RCPtr<LVisualPartDescriptor> part = FindPart(partName);
    if (!part)
    {
        return;
    }
    RCPtr<LDockedPart> docked(new LDockedPart());
    docked->part = part;
    const struct
    {
        const char16_t* name;
        std::int32_t* field;
        std::int32_t edge;
    } offsets[] = {{u"OffsetLeft", &docked->left, kDockLeft},
                   {u"OffsetTop", &docked->top, kDockTop},
                   {u"OffsetRight", &docked->right, kDockRight},
                   {u"OffsetBottom", &docked->bottom, kDockBottom}};
    for (const auto& offset : offsets)
    {
        if (attributes.WholeHexAllowed(offset.name, *offset.field))
        {
            docked->edgeMask |= offset.edge;
        }
    }
    attributes.WholeHexAllowed(u"Width", docked->width);
    attributes.WholeHexAllowed(u"Height", docked->height);
    docked->widthSet = docked->width > 0;
    docked->heightSet = docked->height > 0;
    mCurrentLook->nonClientParts.AddItem(docked);
}

void SkinXmlReader::StartPart(const XmlAttributes& attributes)
{
    RCPtr<LVisualPartDescriptor> part(new LVisualPartDescriptor());
    String resizeText;
    if (!attributes.Text(u"Name", part->name) || !attributes.WholeHexAllowed(u"Width", part->width) ||
        !attributes.WholeHexAllowed(u"Height", part->height) || !attributes.Text(u"ResizeType", resizeText))
    {
        return;
    }
    part->resizeType = resizeText == u"Tile"     ? kResizeTile
                       : resizeText == u"Center" ? kResizeCenter
                                                 : kResizeStretch;

    String imageFile;
    attributes.Text(u"ImageFile", imageFile);
    std::int32_t x = 0;
    std::int32_t y = 0;
    if (!imageFile.IsEmpty() && attributes.WholeHexAllowed(u"ImageLocX", x) &&
        attributes.WholeHexAllowed(u"ImageLocY", y))
    {
        part->image = ImageReference{mImagePathPrefix + imageFile.ToLower(), x, y, part->width, part->height};
    }
    String colorizerName;
    if (attributes.Text(u"ColorizerName", colorizerName))
    {
        part->colorizer = FindColorizer(colorizerName);
    }
    // Nothing to draw with.
    if (!part->colorizer && imageFile.IsEmpty())
    {
        return;
    }
    attributes.Real(u"ColorizerAlphaMod", part->colorizerAlpha);
    String maskFile;
    if (attributes.Text(u"ColorizerMaskFile", maskFile) && attributes.WholeHexAllowed(u"MaskLocX", x) &&
        attributes.WholeHexAllowed(u"MaskLocY", y))
    {
        // Mask names keep their case, unlike image names.
        part->mask = ImageReference{mImagePathPrefix + maskFile, x, y, part->width, part->height};
    }
    Register(mParts, part->name, part);
}

void SkinXmlReader::StartColorizer(const XmlAttributes& attributes)
{
    RCPtr<LColorizer> colorizer(new LColorizer());
    String typeText;
    String colorText;
    if (!attributes.Text(u"Name", colorizer->name) || !attributes.Text(u"ColorType", typeText) ||
        !attributes.Text(u"Color", colorText))
    {
        return;
    }
    colorizer->color.SetFromHexText(colorText.ToUtf8().GetPtr());
    colorizer->colorType = typeText == u"LinearGradient"   ? kColorLinearGradient
                           : typeText == u"RadialGradient" ? kColorRadialGradient
                                                           : kColorSolidFill;
    if (colorizer->colorType != kColorSolidFill)
    {
        // Every value given is kept, so each is read even after one is found missing.
        int given = 0;
        String endColorText;
        if (attributes.Text(u"GradientEndColor", endColorText))
        {
            colorizer->gradientEndColor.SetFromHexText(endColorText.ToUtf8().GetPtr());
            ++given;
        }
        given += attributes.Real(u"GradientStartX", colorizer->gradientStartX);
        given += attributes.Real(u"GradientStartY", colorizer->gradientStartY);
        given += attributes.Real(u"GradientEndX", colorizer->gradientEndX);
        given += attributes.Real(u"GradientEndY", colorizer->gradientEndY);
        const bool complete = given == 5;
        // An incomplete gradient is a fill of its start colour; the values it did give stay.
        if (!complete)
        {
            colorizer->colorType = kColorSolidFill;
        }
    }
    Register(mColorizers, colorizer->name, colorizer);
}

} // namespace KR
