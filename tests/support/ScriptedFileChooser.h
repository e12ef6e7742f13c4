#pragma once
// A file chooser for tests: it records every request and answers from a queue (a cancel
// once the queue is empty). It installs itself while it lives.
//
//     KR::TestSupport::ScriptedFileChooser chooser;
//     chooser.Accept({"/tmp/x/a.VantorPresetEditor"});
//     dialog->ShowOpenDialog(...);              // kOk; chooser.requests[0] holds what was asked

#include "platform/window/FileChooser.h"

#include <deque>
#include <string>
#include <vector>

namespace KR::TestSupport
{

class ScriptedFileChooser : public Platform::IFileChooser
{
public:
    ScriptedFileChooser() : mPrevious(Platform::SetFileChooser(this)) {}
    ~ScriptedFileChooser() override { Platform::SetFileChooser(mPrevious); }
    ScriptedFileChooser(const ScriptedFileChooser&) = delete;
    ScriptedFileChooser& operator=(const ScriptedFileChooser&) = delete;

    void Accept(std::vector<std::string> paths) { answers.push_back({true, std::move(paths)}); }
    void Cancel() { answers.push_back({}); }

    Platform::FileChooserAnswer Run(const Platform::FileChooserRequest& request) override
    {
        requests.push_back(request);
        if (answers.empty())
        {
            return {};
        }
        Platform::FileChooserAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<Platform::FileChooserRequest> requests;
    std::deque<Platform::FileChooserAnswer> answers;

private:
    Platform::IFileChooser* mPrevious;
};

} // namespace KR::TestSupport
