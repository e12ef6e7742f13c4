#include "kr/ui/SkinDocumentsReadAhead.h"

#include "kr/render/BitmapDecodeAhead.h"
#include "kr/thread/Thread.h"
#include "kr/ui/ControlFactory.h"

namespace KR
{

SkinDocumentsReadAhead::SkinDocumentsReadAhead(String applicationName, String folder, std::int32_t languageId)
    : mApplicationName(std::move(applicationName)), mFolder(std::move(folder)), mLanguageId(languageId),
      mReader(mApplicationName)
{
    mReader.SetResourceProvider(&LControlFactory::ReadEmbeddedDocument);
    mWorker = std::make_unique<Thread>(
        [this]
        {
            ReadAndDecode();
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
}

void SkinDocumentsReadAhead::ReadAndDecode()
{
    Read();
    // Named before the reader is handed over.
    const std::vector<String> pictures = mReader.GetPartPictures();
    {
        const std::lock_guard lock(mMutex);
        mRead = true;
    }
    mReadDone.notify_all();
    BitmapDecodeAhead::Decode(pictures);
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
        std::unique_lock lock(mMutex);
        mReadDone.wait(lock, [this] { return mRead; });
    }
    else
    {
        Read();
    }
    reader = std::move(mReader);
    if (mThrown)
    {
        std::rethrow_exception(mThrown);
    }
    return mResult;
}

} // namespace KR
