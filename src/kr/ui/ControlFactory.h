#pragma once
// The one object that turns skins into controls: it owns the skin and string-table
// reader (and through it the skin model and the string tables), keeps the registry of
// control classes, and answers the lookups of descriptors, fonts and string tables. The
// application makes one at start with its name and keeps it for the program's life; all
// of it runs on the user-interface thread.

#include "kr/core/RCPtr.h"
#include "kr/core/RefCountedObject.h"
#include "kr/core/StringT.h"
#include "kr/core/Types.h"
#include "kr/ui/ControlDescriptor.h"
#include "kr/ui/LayoutDescriptor.h"
#include "kr/ui/SkinXmlReader.h"
#include "kr/ui/StringTable.h"
#include "kr/ui/XmlDocumentSource.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

namespace KR
{

class IRootWindowServices;
class SkinDocumentsReadAhead;

class LControlFactory : public virtual LRefCountedObject
{
public:
    // "Runtime Error : KR::LControlFactory::GetControlCreateFunction : ... : Line 51".
    static const char* const kUnregisteredClassText;
    // The resource type of skin and string-table documents.
    static constexpr const char* kXmlResourceType = "KRXML";
    // The table key of the framework's own texts.
    static constexpr const char16_t* kFrameworkTableKey = u"Framework";

    // Documents named "::" and a resource name come from the program's embedded "KRXML"
    // resources until SetResourceProvider says otherwise.
    explicit LControlFactory(String applicationName);
    ~LControlFactory() override;

    // The program's embedded "KRXML" resource of that name; false when there is none.
    static bool ReadEmbeddedDocument(const String& name, std::vector<char>& bytes);

    // --- Control classes --------------------------------------------------------------

    // The first creator registered for a name stays. Always kOk.
    Result RegisterControlClass(const String& className, ControlCreateFunction creator);
    // kOk and the creator; an unregistered name throws kUnregisteredClassText.
    Result GetControlCreateFunction(const String& className, ControlCreateFunction& creator) const;

    // --- Creating controls ------------------------------------------------------------

    // The control of the descriptor, made by its class's creator inside `parent` (null: a
    // root control). The first call for a descriptor looks the creator up and keeps it in
    // the descriptor; an unregistered class throws kUnregisteredClassText. Null for a null
    // descriptor or a null creator.
    RCPtr<LControl> CreateControl(const RCPtr<LControlDescriptor>& descriptor, const RCPtr<LControl>& parent);
    // The current skin's top-level control of that name, made visible (its skin descriptor
    // is changed for good), as the root control of `rootWindow`; null for an unknown name.
    RCPtr<LControl> CreateControlByName(const String& name, const RCPtr<IRootWindowServices>& rootWindow);
    // The same inside `parent`: the form of pop-ups and tooltips.
    RCPtr<LControl> CreateChildControlByName(const String& name, const RCPtr<LControl>& parent);
    // Applies the current skin's top-level descriptor of the control's name to it. kFail
    // without a control or such a descriptor.
    Result ApplySkinToControl(const RCPtr<LControl>& control);

    // --- Loading (the reader's) -------------------------------------------------------

    // A skin document from a resource ("::APP.SKINS" is "APP_SKINS") or a file. kFail for a
    // missing or empty resource, a file that cannot be read, or a malformed document.
    Result LoadSkins(const String& path)
    {
        mReaderTouched = true;
        return mReader.LoadSkins(path);
    }
    // The framework's and the application's string documents with the language choice.
    // kOk, also when a resource is missing or a document malformed (its message and line
    // are kept: GetReader().GetParseErrorText()); kOutOfMemory when a file's bytes cannot be
    // held. A file that cannot be opened throws.
    Result LoadStringTables(const String& frameworkPath, const String& appPath, std::int32_t languageId)
    {
        mReaderTouched = true;
        return mReader.LoadStringTables(frameworkPath, appPath, languageId);
    }
    // The string tables, then the skins: from the program's resources when the folder is
    // "::" ("::APP_STRINGS", "::FRAMEWORK_STRINGS", "::APP_SKINS"), else the folder's
    // "StringTables.xml", "FrameworkStrings.xml" and "Skins.xml". The image path prefix
    // becomes "::" or the folder and "/" first, so the skins' images come from the same
    // place. The string tables' failure, else the skins' result. When the documents were
    // read ahead for this name, folder and language and nothing has used the reader yet,
    // the reader read ahead becomes this factory's (waiting for it), with the same result
    // and the same exception.
    Result LoadStringTablesAndSkins(const String& folder, std::int32_t languageId);
    // The documents of the start being read on another thread, for the next
    // LoadStringTablesAndSkins; any other load lets them go.
    void SetReadAhead(std::unique_ptr<SkinDocumentsReadAhead> readAhead);
    // One pass of the reader in its current mode; `length` 0 reads up to the first zero byte.
    Result Parse(const char* bytes, std::size_t length)
    {
        mReaderTouched = true;
        return mReader.Parse(bytes, length);
    }

    void SetResourceProvider(XmlResourceProvider provider)
    {
        mReaderTouched = true;
        mReader.SetResourceProvider(std::move(provider));
    }
    // The folder the documents came from, put before every image and mask file name: "::"
    // for the program's resources, else the folder and "/". Set it before loading skins.
    void SetImagePathPrefix(const String& prefix)
    {
        mReaderTouched = true;
        mReader.SetImagePathPrefix(prefix);
    }
    const String& GetImagePathPrefix() const { return mReader.GetImagePathPrefix(); }

    const String& GetApplicationName() const { return mReader.GetApplicationName(); }
    std::int32_t GetCurrentSkinIndex() const { return mReader.GetCurrentSkinIndex(); }
    void SetCurrentSkinIndex(std::int32_t index)
    {
        mReaderTouched = true;
        mReader.SetCurrentSkinIndex(index);
    }

    SkinXmlReader& GetReader()
    {
        mReaderTouched = true;
        return mReader;
    }
    const SkinXmlReader& GetReader() const { return mReader; }

    // --- Descriptors ------------------------------------------------------------------

    // The top-level descriptor of that name in the current skin, the later one when two
    // share it; null for a nested name, an unknown name or no current skin.
    RCPtr<LControlDescriptor> FindControlDescriptor(const String& name) const;

    // A new descriptor under `newName` with the source's class and parent, a children
    // array of its own holding the source's child objects, and the source's skin, create
    // parameters and creator; its layout is `layout` when given, else the source's. Null
    // for a null source.
    RCPtr<LControlDescriptor> CloneControlDescriptor(const RCPtr<LControlDescriptor>& source,
                                                     const RCPtr<LLayoutDescriptor>& layout,
                                                     const String& newName) const;

    // The current skin's font: the name when not empty, the size when at least 1.0, the
    // style when not -1; the others are left alone. kOk when anything was copied, else
    // kNothingDone.
    Result GetCurrentSkinFont(String& name, float& size, std::int32_t& style) const;

    // --- String tables: each a new copy, or null when no document named the key -------

    RCPtr<LStringTable> GetFrameworkStringTable() const;
    // Key "|" and the application name.
    RCPtr<LStringTable> GetApplicationStringTable() const;
    // Key: the class of the parent's descriptor (without a parent, the application name),
    // "|" and the child's name.
    RCPtr<LStringTable> GetControlStringTable(const LControlDescriptor* parent,
                                              const String& childName) const;

private:
    RCPtr<LControlDescriptor> FindShownDescriptor(const String& name) const;

    SkinXmlReader mReader;
    // Set by anything that may have changed the reader since construction.
    bool mReaderTouched = false;
    std::unique_ptr<SkinDocumentsReadAhead> mReadAhead;
    // Hashed: every descriptor looks its class up once while the first tree is made.
    std::unordered_map<String, ControlCreateFunction> mClasses;
};

} // namespace KR
