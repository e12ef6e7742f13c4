#include "kr/ui/SkinXmlReader.h"

#include "kr/core/Utf.h"

#include <cstring>
#include <exception>

namespace KR
{

const char* const SkinXmlReader::kBadSubcontrolText =
    "Runtime Error : Bad Subcontrol Element : KR::LControlFactory::XMLStartElement : "
    "ControlBase\\ControlFactory : Line 1089";

SkinXmlReader::SkinXmlReader(String applicationName) : mApplicationName(std::move(applicationName))
{
}

Result SkinXmlReader::Parse(const char* bytes, std::size_t length)
{
    mSkipFirstElement = true;
    if (length == 0)
    {
        length = bytes ? std::strlen(bytes) : 0;
    }
    const XmlParseOutcome outcome = ParseXml(bytes ? bytes : "", length, *this);
    if (outcome.handlerThrew)
    {
        mHandlerErrorText = outcome.handlerErrorText;
        mHandlerErrorLine = outcome.handlerErrorLine;
    }
    else if (Failed(outcome.result))
    {
        mParseErrorText = outcome.errorText;
        mParseErrorCode = outcome.errorCode;
        mParseErrorLine = outcome.errorLine;
    }
    mRepeatedTexts.clear();
    // A document that stopped half way must not leave its half-read state to the next one.
    mCapturing = false;
    mCurrentStringValue = nullptr;
    mInsideCreateParam = false;
    return outcome.result;
}

Result SkinXmlReader::ReadSkins(const char* bytes, std::size_t length)
{
    mStringTableMode = false;
    mInsideCreateParam = false;
    mInsideLooks = false;
    mCurrentControl = nullptr;
    const Result result = Parse(bytes, length);
    mCurrentSkinIndex = 0;
    return result;
}

Result SkinXmlReader::ReadStringTableDocument(const char* bytes, std::size_t length,
                                              std::initializer_list<std::int32_t> locales)
{
    mStringTableMode = true;
    const std::int32_t* previous = nullptr;
    for (const std::int32_t& locale : locales)
    {
        // A locale tried once more would find nothing new.
        if (previous && *previous == locale)
        {
            continue;
        }
        previous = &locale;
        mLocale = locale;
        mMatchedLocaleCount = 0;
        mCurrentStringTable = nullptr;
        if (Failed(Parse(bytes, length)))
        {
            return kFail;
        }
        if (mMatchedLocaleCount > 0)
        {
            break;
        }
    }
    return kOk;
}

Result SkinXmlReader::ReadStringTables(const char* frameworkBytes, std::size_t frameworkLength,
                                       const char* appBytes, std::size_t appLength, std::int32_t languageId)
{
    mLocale = languageId;
    if (frameworkBytes)
    {
        ReadFrameworkStrings(frameworkBytes, frameworkLength, languageId);
    }
    if (appBytes)
    {
        ReadApplicationStrings(appBytes, appLength);
    }
    return kOk;
}

void SkinXmlReader::ReadFrameworkStrings(const char* bytes, std::size_t length, std::int32_t languageId)
{
    // A malformed document leaves its error for the caller; the result says nothing more.
    ReadStringTableDocument(bytes, length,
                            {languageId, GetFallbackLocale(languageId), kNeutralEnglishLocale});
}

void SkinXmlReader::ReadApplicationStrings(const char* bytes, std::size_t length)
{
    ReadStringTableDocument(bytes, length, {mLocale, kNeutralEnglishLocale});
}

Result SkinXmlReader::FetchDocument(const String& path, std::vector<char>& bytes) const
{
    bytes.clear();
    String resource;
    if (!IsXmlResourcePath(path, resource))
    {
        return ReadXmlDocumentFile(path, bytes);
    }
    if (mResourceProvider && !mResourceProvider(resource, bytes))
    {
        bytes.clear();
    }
    return kOk;
}

Result SkinXmlReader::LoadSkins(const String& path)
{
    std::vector<char> bytes;
    try
    {
        const Result fetched = FetchDocument(path, bytes);
        if (Failed(fetched))
        {
            return fetched;
        }
    }
    catch (const std::exception& e)
    {
        mHandlerErrorText = e.what();
        mHandlerErrorLine = 0;
        return kFail;
    }
    if (bytes.empty())
    {
        return kFail;
    }
    return ReadSkins(bytes.data(), bytes.size());
}

Result SkinXmlReader::LoadStringTablesAndSkins(const String& folder, std::int32_t languageId)
{
    const bool resources = folder == u"::";
    String prefix = folder;
    if (!resources)
    {
        prefix += u"/";
    }
    SetImagePathPrefix(prefix);
    auto path = [&](const char16_t* resource, const char16_t* file)
    {
        String joined = prefix;
        joined += resources ? resource : file;
        return joined;
    };
    // The framework's document first, as the reader takes them.
    const Result strings = LoadStringTables(path(u"FRAMEWORK_STRINGS", u"FrameworkStrings.xml"),
                                            path(u"APP_STRINGS", u"StringTables.xml"), languageId);
    if (Failed(strings))
    {
        return strings;
    }
    return LoadSkins(path(u"APP_SKINS", u"Skins.xml"));
}

Result SkinXmlReader::LoadStringTables(const String& frameworkPath, const String& appPath,
                                       std::int32_t languageId)
{
    mLocale = languageId;
    std::vector<char> bytes;
    Result fetched = FetchDocument(frameworkPath, bytes);
    if (Failed(fetched))
    {
        return fetched;
    }
    // An empty document is passed over, like a missing resource.
    if (!bytes.empty())
    {
        ReadFrameworkStrings(bytes.data(), bytes.size(), languageId);
    }
    fetched = FetchDocument(appPath, bytes);
    if (Failed(fetched))
    {
        return fetched;
    }
    if (!bytes.empty())
    {
        ReadApplicationStrings(bytes.data(), bytes.size());
    }
    return kOk;
}

void SkinXmlReader::XMLStartElement(std::string_view name, const XmlAttributes& attributes)
{
    // The root element of every document is not read, whatever its name.
    if (mSkipFirstElement)
    {
        mSkipFirstElement = false;
        return;
    }
    if (name == "Application")
    {
        mApplicationName = String();
        attributes.Text(XmlName::Name, mApplicationName);
        return;
    }
    if (mStringTableMode)
    {
        StartStringTableElement(name, attributes);
    }
    else
    {
        StartSkinElement(name, attributes);
    }
}

void SkinXmlReader::StartStringTableElement(std::string_view name, const XmlAttributes& attributes)
{
    if (name == "StringTable")
    {
        String id;
        attributes.Text(XmlName::ID, id);
        mCurrentStringTable = &mStringTables.Touch(id);
    }
    else if (name == "String")
    {
        attributes.Text(XmlName::ID, mCurrentStringId);
    }
    else if (name == "Locale")
    {
        std::int32_t lcid = 0;
        attributes.WholeHexAllowed(XmlName::LCID, lcid);
        if (lcid != mLocale || !mCurrentStringTable)
        {
            return;
        }
        ++mMatchedLocaleCount;
        mCapturing = true;
        // A text given twice for one id is joined, not replaced.
        mCurrentStringValue = &(*mCurrentStringTable)[mCurrentStringId];
    }
}

void SkinXmlReader::XMLEndElement(std::string_view name)
{
    if (mStringTableMode)
    {
        mCapturing = false;
        mCurrentStringValue = nullptr;
        return;
    }
    if (name == "SubControl")
    {
        if (mCurrentControl)
        {
            mCurrentControl->SortChildrenByLayoutOrder();
            mCurrentControl = RCPtr<LControlDescriptor>(mCurrentControl->GetParent());
        }
    }
    else if (name == "Skin")
    {
        if (IsCurrentSkinRoot())
        {
            mCurrentControl = nullptr;
        }
    }
    else if (name == "CreateParamList")
    {
        if (mCurrentControl)
        {
            mCurrentControl->SetCreateParams(mCreateParams);
        }
    }
    else if (name == "CreateParam")
    {
        mInsideCreateParam = false;
    }
    else if (name == "Looks")
    {
        mInsideLooks = false;
    }
}

void SkinXmlReader::XMLCharacterData(const char* data, std::int32_t length)
{
    const bool wanted = mStringTableMode ? mCapturing && mCurrentStringValue
                                         : mInsideCreateParam && mCreateParams && !mCurrentStringId.IsEmpty();
    if (!wanted || length <= 0)
    {
        return;
    }
    String run;
    run.AssignUtf8(data, static_cast<std::uint32_t>(length));
    if (mStringTableMode)
    {
        *mCurrentStringValue += run;
    }
    else
    {
        // Each run replaces the last: a text split into runs keeps its last run.
        mCreateParams->SetString(mCurrentStringId, run);
    }
}

bool SkinXmlReader::ReadRepeatedText(const XmlAttributes& attributes, XmlName name, String& out)
{
    const char* value = attributes.Find(name);
    if (!value)
    {
        return false;
    }
    const std::string_view text(value);
    auto found = mRepeatedTexts.find(text);
    if (found == mRepeatedTexts.end())
    {
        String converted;
        converted.AssignUtf8(value);
        found = mRepeatedTexts.emplace(std::string(text), std::move(converted)).first;
    }
    out = found->second;
    return true;
}

std::u16string_view SkinXmlReader::LookupName(const char* utf8) const
{
    const std::size_t length = std::strlen(utf8);
    // A byte gives at most one unit.
    mLookupName.resize(length);
    const char* source = utf8;
    char16_t* out = mLookupName.data();
    // The parser hands over well-formed UTF-8 only; converted as String::AssignUtf8 does.
    ConvertUtf8ToUtf16(source, utf8 + length, out, out + length, ConversionMode::Lenient);
    return std::u16string_view(mLookupName.data(), static_cast<std::size_t>(out - mLookupName.data()));
}

RCPtr<LControlDescriptor> SkinXmlReader::GetCurrentSkinRoot() const
{
    if (mCurrentSkinIndex < 0 || static_cast<std::uint32_t>(mCurrentSkinIndex) >= mSkinRoots.GetCount())
    {
        return nullptr;
    }
    return mSkinRoots.GetAt(static_cast<std::uint32_t>(mCurrentSkinIndex));
}

bool SkinXmlReader::IsCurrentSkinRoot() const
{
    return mCurrentControl && GetCurrentSkinRoot() == mCurrentControl;
}

} // namespace KR
