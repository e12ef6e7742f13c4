#pragma once
// The string tables and skins of a start, read on a worker thread while the window system
// starts: nothing in them waits for the display, and reading the skin is the largest part
// of a start after creating the controls. The worker makes the very load the factory would
// make (SkinXmlReader::LoadStringTablesAndSkins) into a reader of its own, sharing nothing
// with the user-interface thread; the factory takes that reader over when it loads the
// same documents (LControlFactory::SetReadAhead). Its result, and an exception the load
// threw, come out of Take, where the load would have given them, so a missing or broken
// document ends the start at the same step with the same message. A worker that cannot be
// started leaves the load to Take, on the caller's thread.

#include "kr/core/StringT.h"
#include "kr/core/Types.h"
#include "kr/ui/SkinXmlReader.h"

#include <cstdint>
#include <exception>
#include <memory>

namespace KR
{

class Thread;

class SkinDocumentsReadAhead
{
public:
    // Starts reading: the reader is named `applicationName` and reads the embedded documents
    // as a new factory's does.
    SkinDocumentsReadAhead(String applicationName, String folder, std::int32_t languageId);
    // Waits for the worker.
    ~SkinDocumentsReadAhead();
    SkinDocumentsReadAhead(const SkinDocumentsReadAhead&) = delete;
    SkinDocumentsReadAhead& operator=(const SkinDocumentsReadAhead&) = delete;

    // True when the read is the one LoadStringTablesAndSkins(folder, languageId) makes for
    // a factory of that name.
    bool IsFor(const String& applicationName, const String& folder, std::int32_t languageId) const;

    // Waits for the worker and moves what it read into `reader`; the load's result, or the
    // load's exception thrown again. Once only: a second call gives kFail.
    Result Take(SkinXmlReader& reader);

private:
    void Read();

    const String mApplicationName;
    const String mFolder;
    const std::int32_t mLanguageId;
    SkinXmlReader mReader;
    Result mResult = kFail;
    std::exception_ptr mThrown;
    bool mRead = false;
    bool mTaken = false;
    std::unique_ptr<Thread> mWorker;
};

} // namespace KR
