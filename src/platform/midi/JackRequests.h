#pragma once
// Requests to the JACK server, each waited for a bounded time. Internal to this folder.
//
// libjack's requests (opening a client, registering and connecting ports, closing) block
// until the server answers, and a server that is stopped or hung never does: whatever
// thread asked would hang with it, the user interface's among them. So every request of
// this layer runs on one thread of its own, in the order asked, and the asker waits at
// most a few seconds for its answer, counted from when the thread takes it up: a loaded
// server answers the requests queued ahead (a close's disconnects, the other port of a
// pair opened side by side) slowly but in time, and waiting for them is no sign of a
// server that has stopped. A request that outlives its asker's patience is left to finish;
// its `undo` then takes back what it did (a late connection is cut, a late client closed),
// and until it has finished every further request fails at once rather than queue behind
// it, and so do those already queued behind it.
//
//     const auto client = AskJackServer<jack_client_t*>(
//         [=] { return jack_client_open(name.c_str(), JackNoStartServer, nullptr); },
//         [](jack_client_t* late) { if (late) jack_client_close(late); }, &error);
//     if (!client) ...   // not answered in time, `error` says so

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace KR::Platform::Detail
{

// How long a request may keep its asker: three seconds, unless SetMidiServerTimeout
// (MidiApi.h) said otherwise.
std::chrono::milliseconds JackAnswerTimeout();

// Runs `request` on the request thread and waits for it: for its turn while the requests
// ahead are answered in time, then at most `timeout`. True when it ended in time. False,
// with the reason in `error`, when it did not (`undo` runs on the request thread once it
// has), or when an earlier request is unanswered (then `request` never runs).
bool RunJackRequest(std::function<void()> request, std::function<void()> undo, std::string* error,
                    std::chrono::milliseconds timeout = JackAnswerTimeout());

// Queues `request` behind the others: for what must happen, in order, even while the server
// does not answer (taking down a connection no longer used). Waits for it as RunJackRequest
// does, at most `timeout` once under way, and not at all while an earlier request is
// unanswered; true when it has ended.
bool PostJackRequest(std::function<void()> request,
                     std::chrono::milliseconds timeout = std::chrono::milliseconds(0));

// Whether a request has outlived its asker and not yet ended: the server does not answer.
bool IsJackServerUnanswered();

// RunJackRequest for a request with a result; the result, or nothing when it did not end in
// time. `undo` gets the result of a request that ended late.
template <typename T, typename Request, typename Undo>
std::optional<T> AskJackServer(Request request, Undo undo, std::string* error,
                               std::chrono::milliseconds timeout = JackAnswerTimeout())
{
    // Shared with the request thread, which may write it after the asker has gone.
    auto result = std::make_shared<std::optional<T>>();
    const bool answered = RunJackRequest([result, request] { result->emplace(request()); },
                                         [result, undo] { undo(**result); }, error, timeout);
    return answered ? *result : std::nullopt;
}

} // namespace KR::Platform::Detail
