// The skin elements of SkinXmlReader: what each start element of a skin document fills.

#include "kr/core/Exception.h"
#include "kr/render/Bitmap.h"
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
                             XmlName relative, XmlName absolute)
{
    attributes.Real(relative, relativePart);
    if (const char* text = attributes.Find(absolute))
    {
        absolutePart = XmlWhole(text);
    }
}

// Any other text names a control, kept as `name`.
std::int32_t PositionReferenceOf(std::string_view text, String& name)
{
    if (text == "Parent" || text == "Screen")
    {
        return kPositionToParent;
    }
    if (text == "Client" || text == "Active Window")
    {
        return kPositionToClient;
    }
    name.AssignUtf8(text.data(), static_cast<std::uint32_t>(text.size()));
    return kPositionToNamed;
}

std::int32_t SizeReferenceOf(std::string_view text, String& name)
{
    if (text == "Self")
    {
        return kSizeToSelf;
    }
    const std::int32_t position = PositionReferenceOf(text, name);
    return position == kPositionToNamed ? kSizeToNamed : position;
}

void ReadPosition(PositionSpec& spec, const XmlAttributes& attributes, XmlName anchor, XmlName toControl,
                  XmlName relative, XmlName absolute)
{
    attributes.Real(anchor, spec.anchor);
    if (const char* text = attributes.Find(toControl))
    {
        spec.reference = PositionReferenceOf(text, spec.referenceName);
    }
    ReadRelativeAndAbsolute(spec.relative, spec.absolute, attributes, relative, absolute);
}

void ReadSize(SizeSpec& spec, const XmlAttributes& attributes, XmlName toControl, XmlName relative,
              XmlName absolute)
{
    if (const char* text = attributes.Find(toControl))
    {
        spec.reference = SizeReferenceOf(text, spec.referenceName);
    }
    ReadRelativeAndAbsolute(spec.relative, spec.absolute, attributes, relative, absolute);
}

void ReadLimit(LimitSpec& spec, const XmlAttributes& attributes, XmlName toControl, XmlName relative,
               XmlName absolute)
{
    if (const char* text = attributes.Find(toControl))
    {
        // "Parent" and "Children" too are names here, not kinds.
        if (std::string_view(text) == "Self")
        {
            spec.reference = kLimitToSelf;
        }
        else
        {
            spec.reference = kLimitToNamed;
            spec.referenceName.AssignUtf8(text);
        }
    }
    ReadRelativeAndAbsolute(spec.relative, spec.absolute, attributes, relative, absolute);
}

// "Clip" 0, "Expand" 1, "Wrap" 2 when allowed; other texts leave `field` alone.
void ReadOverflow(std::int32_t& field, const XmlAttributes& attributes, XmlName name, bool wrapAllowed)
{
    const char* found = attributes.Find(name);
    if (!found)
    {
        return;
    }
    const std::string_view text(found);
    if (text == "Clip")
    {
        field = kTextOverflowClip;
    }
    else if (text == "Expand")
    {
        field = kTextOverflowExpand;
    }
    else if (wrapAllowed && text == "Wrap")
    {
        field = kTextOverflowWrap;
    }
}

// First definition wins: a later object of the same name is made but cannot be found.
template <typename Map, typename T>
void Register(Map& map, const String& name, const RCPtr<T>& object)
{
    map.try_emplace(name, object);
}

} // namespace

bool SkinXmlReader::StartSkinElement(std::string_view name, const XmlAttributes& attributes)
{
    if (name == "Skins" || name == "NonClientParts" || name == "Parts" || name == "Colorizers")
    {
        return true;
    }
    if (name == "Skin")
    {
        StartSkin(attributes);
    }
    else if (name == "FontLocale")
    {
        attributes.WholeHexAllowed(XmlName::LCID, mFontLocale);
    }
    else if (name == "FontXLat")
    {
        StartFontXLat(attributes);
    }
    else if (name == "SubControl")
    {
        StartSubControl(attributes);
    }
    else if (name == "CreateParamList")
    {
        mCreateParams = RCPtr<LStringTable>(new LStringTable());
    }
    else if (name == "CreateParam")
    {
        if (attributes.Text(XmlName::ID, mCurrentStringId))
        {
            mInsideCreateParam = true;
        }
    }
    else if (name == "LookList")
    {
        StartLookList(attributes);
    }
    else if (name == "LookLists")
    {
        mCurrentControl = nullptr;
    }
    else if (name == "Look")
    {
        StartLook(attributes);
    }
    else if (name == "Looks")
    {
        mInsideLooks = true;
    }
    else if (name == "ClientPart")
    {
        StartClientPart(attributes);
    }
    else if (name == "TextProperties")
    {
        StartTextProperties(attributes);
    }
    else if (name == "NonClientPart")
    {
        StartNonClientPart(attributes);
    }
    else if (name == "Part")
    {
        StartPart(attributes);
    }
    else if (name == "Colorizer")
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
    ReadRepeatedText(attributes, XmlName::Name, skinName);
    RCPtr<LSkinDescriptor> skin(new LSkinDescriptor(skinName));
    if (!mCurrentControl)
    {
        // A top-level skin: the root of a new control tree.
        RCPtr<LControlDescriptor> root(
            new LControlDescriptor(String(u"Application"), mApplicationName, nullptr));
        mCurrentControl = root;
        mCurrentSkinIndex = static_cast<std::int32_t>(mSkinRoots.AddItem(root));
        attributes.Text(XmlName::FontName, skin->font.name);
        attributes.Real(XmlName::FontSize, skin->font.size);
        attributes.WholeHexAllowed(XmlName::FontStyle, skin->font.style);
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
        if (const char* lookListName = attributes.Find(XmlName::LookList))
        {
            skin->lookList = FindIn(mLookLists, LookupName(lookListName));
        }
    }
    mCurrentControl->SetSkin(skin);
}

void SkinXmlReader::StartFontXLat(const XmlAttributes& attributes)
{
    String fontName;
    String translated;
    if (mFontLocale != mLocale || !attributes.Text(XmlName::Name, fontName) ||
        !attributes.Text(XmlName::XLat, translated))
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
    if (!ReadRepeatedText(attributes, XmlName::Class, className) ||
        !ReadRepeatedText(attributes, XmlName::Name, controlName))
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
    attributes.Flag(XmlName::ClipToParent, layout.clipToParent);
    attributes.Whole(XmlName::Z_Order, layout.zOrder);
    // A top-level control is shown and placed in tab order by its window, not its skin.
    if (!topLevel)
    {
        attributes.Whole(XmlName::TabStop, layout.tabStop);
    }
    attributes.WholeHexAllowed(XmlName::LayoutOrder, layout.layoutOrder);
    if (!topLevel)
    {
        attributes.Flag(XmlName::IsVisible, layout.visible);
    }
    attributes.Flag(XmlName::XIsDocked, layout.xDocked);
    attributes.Flag(XmlName::YIsDocked, layout.yDocked);
    ReadPosition(layout.xPosition, attributes, XmlName::XPlacementAnchor, XmlName::XPositionToControl,
                 XmlName::XPositionRel, XmlName::XPositionAbs);
    ReadPosition(layout.yPosition, attributes, XmlName::YPlacementAnchor, XmlName::YPositionToControl,
                 XmlName::YPositionRel, XmlName::YPositionAbs);
    ReadSize(layout.xSize, attributes, XmlName::XSizeToControl, XmlName::XSizeRel, XmlName::XSizeAbs);
    ReadSize(layout.ySize, attributes, XmlName::YSizeToControl, XmlName::YSizeRel, XmlName::YSizeAbs);
    ReadLimit(layout.xMinSize, attributes, XmlName::XMinSizeToControl, XmlName::XMinSizeRel,
              XmlName::XMinSizeAbs);
    ReadLimit(layout.yMinSize, attributes, XmlName::YMinSizeToControl, XmlName::YMinSizeRel,
              XmlName::YMinSizeAbs);
    ReadLimit(layout.xMaxSize, attributes, XmlName::XMaxSizeToControl, XmlName::XMaxSizeRel,
              XmlName::XMaxSizeAbs);
    ReadLimit(layout.yMaxSize, attributes, XmlName::YMaxSizeToControl, XmlName::YMaxSizeRel,
              XmlName::YMaxSizeAbs);
    attributes.Text(XmlName::TextDecoration, layout.textDecoration);
    ReadOverflow(layout.textOverflowX, attributes, XmlName::TextOverflowXType, true);
    ReadOverflow(layout.textOverflowY, attributes, XmlName::TextOverflowYType, false);
}

void SkinXmlReader::ReadPendingFont(const XmlAttributes& attributes)
{
    // Every SubControl replaces the whole pending font; missing parts fall to "not set".
    SkinFont font;
    attributes.Flag(XmlName::FontInheritsFromParent, font.inheritsFromParent);
    attributes.Flag(XmlName::FontSizeIsRelative, font.sizeIsRelative);
    ReadRepeatedText(attributes, XmlName::FontName, font.name);
    if (!attributes.Real(XmlName::FontSize, font.size))
    {
        font.sizeIsRelative = false;
    }
    attributes.WholeHexAllowed(XmlName::FontStyle, font.style);
    mPendingFont = font;
}

void SkinXmlReader::StartLookList(const XmlAttributes& attributes)
{
    const char* listName = attributes.Find(XmlName::Name);
    std::int32_t slots = 0;
    if (!listName || !attributes.WholeHexAllowed(XmlName::NumLooks, slots) || slots < 0 ||
        slots > kMaxLookListSlots)
    {
        return;
    }
    RCPtr<LookList> list = FindIn(mLookLists, LookupName(listName));
    if (!list)
    {
        list = RCPtr<LookList>(new LookList(static_cast<std::uint32_t>(slots)));
        String name;
        name.AssignUtf8(listName);
        Register(mLookLists, name, list);
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
        if (attributes.Text(XmlName::Name, lookName))
        {
            mCurrentLook = RCPtr<LLookDescriptor>(new LLookDescriptor(lookName));
            Register(mLooks, lookName, mCurrentLook);
        }
        return;
    }
    std::int32_t index = 0;
    const char* listedName = attributes.Find(XmlName::Name);
    if (!mCurrentLookList || !listedName || !attributes.Whole(XmlName::Index, index))
    {
        return;
    }
    RCPtr<LLookDescriptor> look = FindIn(mLooks, LookupName(listedName));
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
    RCPtr<LDockedPart> docked(new LDockedPart());
    const char* partName = attributes.Find(XmlName::Name);
    if (!partName || !attributes.WholeHexAllowed(XmlName::OffsetLeft, docked->left) ||
        !attributes.WholeHexAllowed(XmlName::OffsetTop, docked->top) ||
        !attributes.WholeHexAllowed(XmlName::OffsetRight, docked->right) ||
        !attributes.WholeHexAllowed(XmlName::OffsetBottom, docked->bottom))
    {
        return;
    }
    docked->part = FindIn(mParts, LookupName(partName));
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
    const char* partName = nullptr;
    const bool complete = attributes.Real(XmlName::TextLeftRel, text.leftRelative) &&
                          attributes.WholeHexAllowed(XmlName::TextLeftAbs, text.leftAbsolute) &&
                          attributes.Real(XmlName::TextRightRel, text.rightRelative) &&
                          attributes.WholeHexAllowed(XmlName::TextRightAbs, text.rightAbsolute) &&
                          attributes.Real(XmlName::TextHAlign, text.horizontalAlignment) &&
                          attributes.Real(XmlName::TextTopRel, text.topRelative) &&
                          attributes.WholeHexAllowed(XmlName::TextTopAbs, text.topAbsolute) &&
                          attributes.Real(XmlName::TextBottomRel, text.bottomRelative) &&
                          attributes.WholeHexAllowed(XmlName::TextBottomAbs, text.bottomAbsolute) &&
                          attributes.Real(XmlName::TextVAlign, text.verticalAlignment) &&
                          (partName = attributes.Find(XmlName::TextForegroundPart)) != nullptr;
    if (!complete || !mCurrentLook)
    {
        return;
    }
    text.foregroundPart = FindIn(mParts, LookupName(partName));
    if (!text.foregroundPart)
    {
        return;
    }
    text.hasTextProperties = true;
    mCurrentLook->text = text;
}

void SkinXmlReader::StartNonClientPart(const XmlAttributes& attributes)
{
    const char* partName = attributes.Find(XmlName::Name);
    if (!partName || !mCurrentLook)
    {
        return;
    }
    RCPtr<LVisualPartDescriptor> part = FindIn(mParts, LookupName(partName));
    if (!part)
    {
        return;
    }
    RCPtr<LDockedPart> docked(new LDockedPart());
    docked->part = part;
    const struct
    {
        XmlName name;
        std::int32_t* field;
        std::int32_t edge;
    } offsets[] = {{XmlName::OffsetLeft, &docked->left, kDockLeft},
                   {XmlName::OffsetTop, &docked->top, kDockTop},
                   {XmlName::OffsetRight, &docked->right, kDockRight},
                   {XmlName::OffsetBottom, &docked->bottom, kDockBottom}};
    for (const auto& offset : offsets)
    {
        if (attributes.WholeHexAllowed(offset.name, *offset.field))
        {
            docked->edgeMask |= offset.edge;
        }
    }
    attributes.WholeHexAllowed(XmlName::Width, docked->width);
    attributes.WholeHexAllowed(XmlName::Height, docked->height);
    docked->widthSet = docked->width > 0;
    docked->heightSet = docked->height > 0;
    mCurrentLook->nonClientParts.AddItem(docked);
}

void SkinXmlReader::StartPart(const XmlAttributes& attributes)
{
    RCPtr<LVisualPartDescriptor> part(new LVisualPartDescriptor());
    String resizeText;
    if (!attributes.Text(XmlName::Name, part->name) ||
        !attributes.WholeHexAllowed(XmlName::Width, part->width) ||
        !attributes.WholeHexAllowed(XmlName::Height, part->height) ||
        !attributes.Text(XmlName::ResizeType, resizeText))
    {
        return;
    }
    part->resizeType = resizeText == u"Tile"     ? kResizeTile
                       : resizeText == u"Center" ? kResizeCenter
                                                 : kResizeStretch;

    String imageFile;
    attributes.Text(XmlName::ImageFile, imageFile);
    std::int32_t x = 0;
    std::int32_t y = 0;
    if (!imageFile.IsEmpty() && attributes.WholeHexAllowed(XmlName::ImageLocX, x) &&
        attributes.WholeHexAllowed(XmlName::ImageLocY, y))
    {
        part->image = ImageReference{mImagePathPrefix + imageFile.ToLower(), x, y, part->width, part->height};
    }
    if (const char* colorizerName = attributes.Find(XmlName::ColorizerName))
    {
        part->colorizer = FindIn(mColorizers, LookupName(colorizerName));
    }
    // Nothing to draw with.
    if (!part->colorizer && imageFile.IsEmpty())
    {
        return;
    }
    attributes.Real(XmlName::ColorizerAlphaMod, part->colorizerAlpha);
    String maskFile;
    if (attributes.Text(XmlName::ColorizerMaskFile, maskFile) &&
        attributes.WholeHexAllowed(XmlName::MaskLocX, x) && attributes.WholeHexAllowed(XmlName::MaskLocY, y))
    {
        // Mask names keep their case, unlike image names.
        part->mask = ImageReference{mImagePathPrefix + maskFile, x, y, part->width, part->height};
    }
    if (mDecodePicturesAhead)
    {
        for (const ImageReference* picture : {&part->image, &part->mask})
        {
            if (!picture->IsEmpty())
            {
                LBitmap::DecodeAhead(picture->path);
            }
        }
    }
    Register(mParts, part->name, part);
}

void SkinXmlReader::StartColorizer(const XmlAttributes& attributes)
{
    RCPtr<LColorizer> colorizer(new LColorizer());
    String typeText;
    String colorText;
    if (!attributes.Text(XmlName::Name, colorizer->name) || !attributes.Text(XmlName::ColorType, typeText) ||
        !attributes.Text(XmlName::Color, colorText))
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
        if (attributes.Text(XmlName::GradientEndColor, endColorText))
        {
            colorizer->gradientEndColor.SetFromHexText(endColorText.ToUtf8().GetPtr());
            ++given;
        }
        given += attributes.Real(XmlName::GradientStartX, colorizer->gradientStartX);
        given += attributes.Real(XmlName::GradientStartY, colorizer->gradientStartY);
        given += attributes.Real(XmlName::GradientEndX, colorizer->gradientEndX);
        given += attributes.Real(XmlName::GradientEndY, colorizer->gradientEndY);
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
