#pragma once
// A file chooser for tests: it records every request and answers from a queue (a cancel
// once the queue is empty). It installs itself while it lives. A save dialog's answer is
// settled as the system's chooser settles it: the default extension added, and a file that
// exists replaced only when the next scripted reply to the question says so (none left: no).
// After a "no" the chooser stays open and takes the next answer of the queue.
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
        while (!answers.empty())
        {
            Platform::FileChooserAnswer answer = answers.front();
            answers.pop_front();
            if (!request.save || !answer.accepted || answer.paths.empty())
            {
                return answer;
            }
            const auto settled = Platform::SettleSaveName(request, answer.paths.front(),
                                                          [this](const std::string& path)
                                                          {
                                                              questions.push_back(path);
                                                              const bool yes =
                                                                  !replies.empty() && replies.front();
                                                              if (!replies.empty())
                                                              {
                                                                  replies.pop_front();
                                                              }
                                                              return yes;
                                                          });
            if (settled)
            {
                answer.paths = {*settled};
                return answer;
            }
        }
        return {};
    }

    std::vector<Platform::FileChooserRequest> requests;
    std::deque<Platform::FileChooserAnswer> answers;
    std::deque<bool> replies;           // to "replace the file?", in order
    std::vector<std::string> questions; // the files it was asked about
private:
    Platform::IFileChooser* mPrevious;
};

} // namespace KR::TestSupport
