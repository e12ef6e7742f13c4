#pragma once
// Reads skin and string-table documents into the skin model and the string tables, as
// the events of one XML pass arrive; no document tree is built. The control factory owns
// one reader for the program's life: loading adds to what it holds, and a name already
// defined keeps its first object.
//
// Documents must define things before they are named (colorizers, then parts, looks,
// look lists, skins); a reference to a name not yet defined is dropped without a message,
// as is any element or attribute this reader does not know. Names of elements and
// attributes are case-sensitive; flags are true only for "True".

#include "kr/core/RCPtr.h"
#include "kr/core/RCPtrArray.h"
#include "kr/core/StringT.h"
#include "kr/core/Types.h"
#include "kr/ui/Colorizer.h"
#include "kr/ui/ControlDescriptor.h"
#include "kr/ui/LookDescriptor.h"
#include "kr/ui/StringTables.h"
#include "kr/ui/VisualPartDescriptor.h"
#include "kr/ui/XmlDocumentSource.h"
#include "kr/ui/XmlParser.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace KR
{

class SkinXmlReader : public IXmlHandler
{
public:
    using SkinRoots = RCPtrArray<LControlDescriptor, 1, 0>;

    // "Runtime Error : Bad Subcontrol Element : ...": a SubControl without Class or Name.
    static const char* const kBadSubcontrolText;
    // A look list larger than this is refused like one without NumLooks: the skins use a
    // handful of slots, and the count must not size an allocation from untrusted bytes.
    static constexpr std::int32_t kMaxLookListSlots = 1024;
    // Controls nested deeper than this end the parse with a "Runtime Error" naming the
    // bound, at the line of the first control past it. No skin needs a tenth of it, and
    // it bounds the stack that building and freeing a tree of controls take, each level
    // inside the one above.
    static constexpr std::int32_t kMaxControlDepth = 256;
    static constexpr const char* kNestingDetail = "Controls Nested Deeper Than 256";

    explicit SkinXmlReader(String applicationName);
    // A reader filled elsewhere (on another thread) can be handed over whole.
    SkinXmlReader(SkinXmlReader&&) = default;
    SkinXmlReader& operator=(SkinXmlReader&&) = default;

    // --- Reading whole documents ------------------------------------------------------

    // Reads a skin document; `length` 0 reads up to the first zero byte. Then the first
    // skin becomes the current one. kOk, or kFail with the error kept (GetParseErrorText,
    // GetHandlerErrorText); what was read before the failure stays.
    Result ReadSkins(const char* bytes, std::size_t length);

    // Reads a string-table document once per locale of `locales`, stopping after the first
    // pass in which a Locale element matched; the locale stays at the last one tried.
    // kFail, with the error kept, when the document is malformed (no further pass is made).
    Result ReadStringTableDocument(const char* bytes, std::size_t length,
                                   std::initializer_list<std::int32_t> locales);

    // The two documents with the language choice: the framework texts at the user's
    // language, its fallback, then 9; the application texts at the locale the framework
    // texts ended with, then 9. A null document is passed over. kOk also when either is
    // malformed: the program runs without the texts it lacks rather than not at all. The
    // parser's message and line stay for the caller, and the other document is still read.
    Result ReadStringTables(const char* frameworkBytes, std::size_t frameworkLength, const char* appBytes,
                            std::size_t appLength, std::int32_t languageId);

    // The same from a resource ("::" and its name) or a file. LoadSkins gives kFail for a
    // missing or empty resource and for a file that cannot be opened or read (its exception
    // is caught), kOutOfMemory when no buffer can be had. LoadStringTables passes a missing
    // resource or a malformed document over, gives kOutOfMemory at once for a buffer (the
    // application document is then not read), and lets the file wrapper's exception pass.
    Result LoadSkins(const String& path);
    Result LoadStringTables(const String& frameworkPath, const String& appPath, std::int32_t languageId);
    // The string tables, then the skins: from the program's resources when the folder is
    // "::" ("::APP_STRINGS", "::FRAMEWORK_STRINGS", "::APP_SKINS"), else the folder's
    // "StringTables.xml", "FrameworkStrings.xml" and "Skins.xml". The image path prefix
    // becomes "::" or the folder and "/" first, so the skins' images come from the same
    // place. The string tables' failure, else the skins' result.
    Result LoadStringTablesAndSkins(const String& folder, std::int32_t languageId);
    void SetResourceProvider(XmlResourceProvider provider) { mResourceProvider = std::move(provider); }

    // One pass of the parser in the current mode; `length` 0 reads up to the first zero
    // byte. kOk or kFail.
    Result Parse(const char* bytes, std::size_t length);

    // --- Results ----------------------------------------------------------------------

    const String& GetApplicationName() const { return mApplicationName; }
    const SkinRoots& GetSkinRoots() const { return mSkinRoots; }
    std::int32_t GetCurrentSkinIndex() const { return mCurrentSkinIndex; }
    // The root of the skin in use; null when the index is outside the roots.
    RCPtr<LControlDescriptor> GetCurrentSkinRoot() const;
    void SetCurrentSkinIndex(std::int32_t index) { mCurrentSkinIndex = index; }

    // A copy of the texts stored under `key`, or null when no document named it.
    RCPtr<LStringTable> GetStringTable(const String& key) const { return mStringTables.GetTable(key); }
    // The same for the key owner + "|" + name.
    RCPtr<LStringTable> GetStringTable(const String& owner, const String& name) const
    {
        return mStringTables.GetTable(StringTableKey{owner.GetView(), name.GetView()});
    }
    const StringTables& GetStringTables() const { return mStringTables; }

    RCPtr<LColorizer> FindColorizer(const String& name) const { return FindIn(mColorizers, name); }
    RCPtr<LVisualPartDescriptor> FindPart(const String& name) const { return FindIn(mParts, name); }
    RCPtr<LLookDescriptor> FindLook(const String& name) const { return FindIn(mLooks, name); }
    RCPtr<LookList> FindLookList(const String& name) const { return FindIn(mLookLists, name); }

    // The parser's message, code and line for the last malformed document (kept until the
    // next one).
    const String& GetParseErrorText() const { return mParseErrorText; }
    std::int32_t GetParseErrorCode() const { return mParseErrorCode; }
    std::int32_t GetParseErrorLine() const { return mParseErrorLine; }
    // The text and line of the last fault that ended a parse from inside the reader (a bad
    // SubControl, a look index outside its list); empty when none.
    const std::string& GetHandlerErrorText() const { return mHandlerErrorText; }
    std::int32_t GetHandlerErrorLine() const { return mHandlerErrorLine; }

    // --- Reading state ----------------------------------------------------------------

    std::int32_t GetLocale() const { return mLocale; }
    void SetLocale(std::int32_t locale) { mLocale = locale; }
    std::int32_t GetMatchedLocaleCount() const { return mMatchedLocaleCount; }
    void SetStringTableMode(bool on) { mStringTableMode = on; }
    // Put before every image and mask file name.
    void SetImagePathPrefix(const String& prefix) { mImagePathPrefix = prefix; }
    const String& GetImagePathPrefix() const { return mImagePathPrefix; }
    // Each picture a part names starts decoding at once (LBitmap::DecodeAhead), for the
    // controls made from the skin to find it decoded. Off until set.
    void SetDecodePicturesAhead(bool on) { mDecodePicturesAhead = on; }

    // --- The parser's events ----------------------------------------------------------

    void XMLStartElement(std::string_view name, const XmlAttributes& attributes) override;
    void XMLEndElement(std::string_view name) override;
    void XMLCharacterData(const char* data, std::int32_t length) override;

private:
    // Names in the order of their UTF-16 units, as String orders them; a name read for a
    // look-up only is compared as a view, without a String of its own.
    struct NameOrder
    {
        using is_transparent = void;
        bool operator()(const String& a, const String& b) const { return a < b; }
        bool operator()(const String& a, std::u16string_view b) const { return a.GetView() < b; }
        bool operator()(std::u16string_view a, const String& b) const { return a < b.GetView(); }
    };
    template <typename T>
    using ByName = std::map<String, RCPtr<T>, NameOrder>;

    template <typename T, typename Name>
    static RCPtr<T> FindIn(const ByName<T>& map, const Name& name)
    {
        const auto found = map.find(name);
        return found == map.end() ? nullptr : found->second;
    }
    // Texts that many elements repeat (class, control and skin names, fonts) are made once
    // per document and shared by every element that gives them: thousands of controls
    // name a few hundred classes and names. Like XmlAttributes::Text otherwise.
    bool ReadRepeatedText(const XmlAttributes& attributes, XmlName name, String& out);
    // The UTF-16 form of a name read for a look-up, in a buffer kept for the next one; valid
    // until the next call.
    std::u16string_view LookupName(const char* utf8) const;

    void StartStringTableElement(std::string_view name, const XmlAttributes& attributes);
    // False when the name is no skin element.
    bool StartSkinElement(std::string_view name, const XmlAttributes& attributes);
    void StartSkin(const XmlAttributes& attributes);
    void StartSubControl(const XmlAttributes& attributes);
    void ReadLayout(LLayoutDescriptor& layout, const XmlAttributes& attributes, bool topLevel) const;
    void ReadPendingFont(const XmlAttributes& attributes);
    void StartFontXLat(const XmlAttributes& attributes);
    void StartLookList(const XmlAttributes& attributes);
    void StartLook(const XmlAttributes& attributes);
    void StartClientPart(const XmlAttributes& attributes);
    void StartTextProperties(const XmlAttributes& attributes);
    void StartNonClientPart(const XmlAttributes& attributes);
    void StartPart(const XmlAttributes& attributes);
    void StartColorizer(const XmlAttributes& attributes);
    bool IsCurrentSkinRoot() const;
    void ReadFrameworkStrings(const char* bytes, std::size_t length, std::int32_t languageId);
    void ReadApplicationStrings(const char* bytes, std::size_t length);
    // The document's bytes; `bytes` stays empty for a missing or empty resource.
    Result FetchDocument(const String& path, std::vector<char>& bytes) const;

    String mApplicationName;
    XmlResourceProvider mResourceProvider;
    std::int32_t mLocale = kNeutralEnglishLocale;
    String mImagePathPrefix;
    bool mDecodePicturesAhead = false;

    // Reading state.
    bool mSkipFirstElement = false;
    bool mStringTableMode = false;
    bool mInsideCreateParam = false;
    bool mInsideLooks = false;
    bool mCapturing = false;
    TextMap* mCurrentStringTable = nullptr;
    String* mCurrentStringValue = nullptr;
    String mCurrentStringId;
    std::int32_t mMatchedLocaleCount = 0;
    RCPtr<LControlDescriptor> mCurrentControl;
    RCPtr<LLookDescriptor> mCurrentLook;
    RCPtr<LookList> mCurrentLookList;
    RCPtr<LStringTable> mCreateParams;
    SkinFont mPendingFont;
    std::int32_t mFontLocale = 0;
    std::map<String, String> mFontTranslation;

    // What has been read.
    ByName<LColorizer> mColorizers;
    ByName<LVisualPartDescriptor> mParts;
    ByName<LLookDescriptor> mLooks;
    ByName<LookList> mLookLists;
    SkinRoots mSkinRoots;
    std::int32_t mCurrentSkinIndex = 0;
    StringTables mStringTables;

    String mParseErrorText;
    std::int32_t mParseErrorCode = 0;
    std::int32_t mParseErrorLine = 0;
    std::string mHandlerErrorText;
    std::int32_t mHandlerErrorLine = 0;

    mutable std::u16string mLookupName;
    struct TextHash
    {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
    };
    // Emptied after each document.
    std::unordered_map<std::string, String, TextHash, std::equal_to<>> mRepeatedTexts;
};

} // namespace KR
