#include "kr/ui/SkinDocumentsReadAhead.h"

#include "kr/thread/Thread.h"
#include "kr/ui/ControlFactory.h"

namespace KR
{

SkinDocumentsReadAhead::SkinDocumentsReadAhead(String applicationName, String folder, std::int32_t languageId)
    : mApplicationName(std::move(applicationName)), mFolder(std::move(folder)), mLanguageId(languageId),
      mReader(mApplicationName)
{
    mReader.SetResourceProvider(&LControlFactory::ReadEmbeddedDocument);
    // The start's first tree shows the skin's pictures: they decode beside the reading.
    mReader.SetDecodePicturesAhead(true);
    mWorker = std::make_unique<Thread>(
        [this]
        {
            Read();
            return 0u;
        });
    if (mWorker->IsCreated())
    {
        mWorker->Resume();
    }
    else
    {
        mWorker.reset();
    }
}

SkinDocumentsReadAhead::~SkinDocumentsReadAhead()
{
    if (mWorker)
    {
        mWorker->Join("SkinDocumentsReadAhead");
    }
}

bool SkinDocumentsReadAhead::IsFor(const String& applicationName, const String& folder,
                                   std::int32_t languageId) const
{
    return applicationName == mApplicationName && folder == mFolder && languageId == mLanguageId;
}

void SkinDocumentsReadAhead::Read()
{
    try
    {
        mResult = mReader.LoadStringTablesAndSkins(mFolder, mLanguageId);
    }
    catch (...)
    {
        mThrown = std::current_exception();
    }
    mRead = true;
}

Result SkinDocumentsReadAhead::Take(SkinXmlReader& reader)
{
    if (mTaken)
    {
        return kFail;
    }
    mTaken = true;
    if (mWorker)
    {
        mWorker->Join("SkinDocumentsReadAhead");
        mWorker.reset();
    }
    if (!mRead)
    {
        Read();
    }
    reader = std::move(mReader);
    // Later loads into the factory's reader are the program's own, as if never read ahead.
    reader.SetDecodePicturesAhead(false);
    if (mThrown)
    {
        std::rethrow_exception(mThrown);
    }
    return mResult;
}

} // namespace KR
