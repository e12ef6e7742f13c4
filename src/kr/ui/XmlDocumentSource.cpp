#include "kr/ui/XmlDocumentSource.h"

#include "kr/system/File.h"

#include <new>

namespace KR
{

bool IsXmlResourcePath(const String& path, String& name)
{
    if (!path.GetView().starts_with(u"::"))
    {
        return false;
    }
    name = path.SubString(2);
    name.ReplaceChars(u".", u'_');
    return true;
}

Result ReadXmlDocumentFile(const String& path, std::vector<char>& bytes)
{
    File file(String(), path, File::kRead);
    const std::uint32_t length = file.GetLength();
    if (length > kMaxXmlDocumentBytes)
    {
        file.Close();
        return kOutOfMemory;
    }
    try
    {
        bytes.assign(length, '\0');
    }
    catch (const std::bad_alloc&)
    {
        file.Close();
        return kOutOfMemory;
    }
    std::uint32_t done = 0;
    while (done < length)
    {
        const std::int32_t read = file.Read(bytes.data() + done, length - done, done);
        if (read <= 0)
        {
            // The file shrank while it was read: what is there is the document.
            break;
        }
        done += static_cast<std::uint32_t>(read);
    }
    bytes.resize(done);
    file.Close();
    return kOk;
}

} // namespace KR
