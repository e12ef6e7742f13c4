#pragma once
// The attributes of one start element, gathered by name, and the value readings the skin
// and string-table documents use. Every reading takes any text: what is not a number reads
// as 0, as the C library reads it.

#include "kr/core/StringT.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace KR
{

// True only for the exact text "True".
bool XmlFlag(std::string_view value);
// A decimal real number at the start of the text (leading white space, sign, fraction,
// exponent), independent of the process locale; 0 when there is none.
float XmlReal(std::string_view value);
// The decimal whole number at the start of the text; 0 when there is none.
std::int32_t XmlWhole(std::string_view value);
// A whole number that may be written "0x" and hexadecimal digits. After "0x" at most four
// characters are read, most significant first: '*' to '?' count as their low four bits
// ('0' to '9' give 0 to 9), 'a' to 'f' and 'A' to 'F' give 10 to 15, anything else ends
// the number. Without "0x" it is XmlWhole.
std::int32_t XmlWholeHexAllowed(std::string_view value);

// Every attribute name the skin and string-table readers ask for. The names of an element
// are matched against this list once, as the element arrives; each question afterwards is
// an index, not a search by text (a SubControl is asked for some fifty names).
#define KR_XML_ATTRIBUTE_NAMES(X)                                                                            \
    X(Class)                                                                                                 \
    X(ClipToParent)                                                                                          \
    X(Color)                                                                                                 \
    X(ColorType)                                                                                             \
    X(ColorizerAlphaMod)                                                                                     \
    X(ColorizerMaskFile)                                                                                     \
    X(ColorizerName)                                                                                         \
    X(FontInheritsFromParent)                                                                                \
    X(FontName)                                                                                              \
    X(FontSize)                                                                                              \
    X(FontSizeIsRelative)                                                                                    \
    X(FontStyle)                                                                                             \
    X(GradientEndColor)                                                                                      \
    X(GradientEndX)                                                                                          \
    X(GradientEndY)                                                                                          \
    X(GradientStartX)                                                                                        \
    X(GradientStartY)                                                                                        \
    X(Height)                                                                                                \
    X(ID)                                                                                                    \
    X(ImageFile)                                                                                             \
    X(ImageLocX)                                                                                             \
    X(ImageLocY)                                                                                             \
    X(Index)                                                                                                 \
    X(IsVisible)                                                                                             \
    X(LCID)                                                                                                  \
    X(LayoutOrder)                                                                                           \
    X(LookList)                                                                                              \
    X(MaskLocX)                                                                                              \
    X(MaskLocY)                                                                                              \
    X(Name)                                                                                                  \
    X(NumLooks)                                                                                              \
    X(OffsetBottom)                                                                                          \
    X(OffsetLeft)                                                                                            \
    X(OffsetRight)                                                                                           \
    X(OffsetTop)                                                                                             \
    X(ResizeType)                                                                                            \
    X(TabStop)                                                                                               \
    X(TextBottomAbs)                                                                                         \
    X(TextBottomRel)                                                                                         \
    X(TextDecoration)                                                                                        \
    X(TextForegroundPart)                                                                                    \
    X(TextHAlign)                                                                                            \
    X(TextLeftAbs)                                                                                           \
    X(TextLeftRel)                                                                                           \
    X(TextOverflowXType)                                                                                     \
    X(TextOverflowYType)                                                                                     \
    X(TextRightAbs)                                                                                          \
    X(TextRightRel)                                                                                          \
    X(TextTopAbs)                                                                                            \
    X(TextTopRel)                                                                                            \
    X(TextVAlign)                                                                                            \
    X(Width)                                                                                                 \
    X(XIsDocked)                                                                                             \
    X(XLat)                                                                                                  \
    X(XMaxSizeAbs)                                                                                           \
    X(XMaxSizeRel)                                                                                           \
    X(XMaxSizeToControl)                                                                                     \
    X(XMinSizeAbs)                                                                                           \
    X(XMinSizeRel)                                                                                           \
    X(XMinSizeToControl)                                                                                     \
    X(XPlacementAnchor)                                                                                      \
    X(XPositionAbs)                                                                                          \
    X(XPositionRel)                                                                                          \
    X(XPositionToControl)                                                                                    \
    X(XSizeAbs)                                                                                              \
    X(XSizeRel)                                                                                              \
    X(XSizeToControl)                                                                                        \
    X(YIsDocked)                                                                                             \
    X(YMaxSizeAbs)                                                                                           \
    X(YMaxSizeRel)                                                                                           \
    X(YMaxSizeToControl)                                                                                     \
    X(YMinSizeAbs)                                                                                           \
    X(YMinSizeRel)                                                                                           \
    X(YMinSizeToControl)                                                                                     \
    X(YPlacementAnchor)                                                                                      \
    X(YPositionAbs)                                                                                          \
    X(YPositionRel)                                                                                          \
    X(YPositionToControl)                                                                                    \
    X(YSizeAbs)                                                                                              \
    X(YSizeRel)                                                                                              \
    X(YSizeToControl)                                                                                        \
    X(Z_Order)

enum class XmlName : std::uint8_t
{
#define KR_XML_NAME_ENUM(name) name,
    KR_XML_ATTRIBUTE_NAMES(KR_XML_NAME_ENUM)
#undef KR_XML_NAME_ENUM
        Count
};

// The name's text as it stands in a document.
std::string_view XmlNameText(XmlName name);

// The attributes of one start element as the parser hands them over: a null-terminated
// array of UTF-8 name and value pairs that lives as long as the element's event. Nothing
// is copied; numbers and flags are read from the UTF-8 (they are ASCII, so they read as
// their UTF-16 form would), and only a value read as text is turned into UTF-16. Names
// other than the known ones are passed over.
class XmlAttributes
{
public:
    XmlAttributes() = default;
    // Over a null-terminated array of name, value, name, value... (the parser's own).
    explicit XmlAttributes(const char* const* pairs);
    XmlAttributes(const XmlAttributes&) = delete;
    XmlAttributes& operator=(const XmlAttributes&) = delete;

    // The UTF-8 value, or null when the attribute is missing. A name given twice keeps its
    // first value.
    const char* Find(XmlName name) const { return ValueAt(mSlots[Slot(name)]); }
    bool Has(XmlName name) const { return Find(name) != nullptr; }

    // Each reading stores into `out` and returns true when the attribute is present, and
    // leaves `out` alone and returns false when it is missing.
    bool Text(XmlName name, String& out) const;
    bool Flag(XmlName name, bool& out) const;
    bool Real(XmlName name, float& out) const;
    bool Whole(XmlName name, std::int32_t& out) const;
    bool WholeHexAllowed(XmlName name, std::int32_t& out) const;

    std::size_t GetCount() const { return mCount; }

private:
    static std::size_t Slot(XmlName name) { return static_cast<std::size_t>(name); }
    // The value of pair `slot` - 1; null for slot 0, which stands for "missing".
    const char* ValueAt(std::uint32_t slot) const { return slot == 0 ? nullptr : mPairs[2 * slot - 1]; }

    const char* const* mPairs = nullptr;
    std::size_t mCount = 0;
    // Per known name, the number of its pair counted from 1; 0 when missing.
    std::array<std::uint32_t, static_cast<std::size_t>(XmlName::Count)> mSlots{};
};

} // namespace KR
