#include "kr/render/PictureDecodeAhead.h"

#include <deque>
#include <future>
#include <map>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

namespace KR
{
namespace
{

// One thread decodes the pictures in the order they were named, and ends when none is
// left: a thread for each would keep a stack for each.
struct Waiting
{
    std::mutex lock;
    std::map<String, std::future<DecodedPicture>> decodes;
    std::deque<std::packaged_task<DecodedPicture()>> queue;
    std::thread worker;
    bool working = false;
};

// Never destroyed: a decode may still run while the program's static objects go.
Waiting& GetWaiting()
{
    static auto* const waiting = new Waiting;
    return *waiting;
}

void Work()
{
    Waiting& waiting = GetWaiting();
    for (;;)
    {
        std::packaged_task<DecodedPicture()> task;
        {
            const std::lock_guard<std::mutex> lock(waiting.lock);
            if (waiting.queue.empty())
            {
                waiting.working = false;
                return;
            }
            task = std::move(waiting.queue.front());
            waiting.queue.pop_front();
        }
        task();
    }
}

} // namespace

void PictureDecodeAhead::Start(const String& key, std::function<DecodedPicture()> decode)
{
    Waiting& waiting = GetWaiting();
    const std::lock_guard<std::mutex> lock(waiting.lock);
    if (waiting.decodes.count(key) != 0)
    {
        return;
    }
    std::packaged_task<DecodedPicture()> task(std::move(decode));
    const auto added = waiting.decodes.emplace(key, task.get_future()).first;
    waiting.queue.push_back(std::move(task));
    if (waiting.working)
    {
        return;
    }
    // The last worker has left its loop; its end is all that remains of it.
    if (waiting.worker.joinable())
    {
        waiting.worker.join();
    }
    try
    {
        waiting.worker = std::thread(&Work);
        waiting.working = true;
    }
    catch (const std::system_error&)
    {
        // No thread: GetBitmap decodes it when asked.
        waiting.decodes.erase(added);
        waiting.queue.pop_back();
    }
}

bool PictureDecodeAhead::Take(const String& key, DecodedPicture& picture)
{
    std::future<DecodedPicture> decode;
    {
        Waiting& waiting = GetWaiting();
        const std::lock_guard<std::mutex> lock(waiting.lock);
        const auto found = waiting.decodes.find(key);
        if (found == waiting.decodes.end())
        {
            return false;
        }
        decode = std::move(found->second);
        waiting.decodes.erase(found);
    }
    picture = decode.get();
    return true;
}

void PictureDecodeAhead::DropUntaken()
{
    std::map<String, std::future<DecodedPicture>> untaken;
    std::deque<std::packaged_task<DecodedPicture()>> unstarted;
    std::thread finished;
    {
        Waiting& waiting = GetWaiting();
        const std::lock_guard<std::mutex> lock(waiting.lock);
        untaken.swap(waiting.decodes);
        unstarted.swap(waiting.queue);
        if (!waiting.working && waiting.worker.joinable())
        {
            finished = std::move(waiting.worker);
        }
    }
    // A worker still decoding finishes that picture, finds nothing left and ends.
    if (finished.joinable())
    {
        finished.join();
    }
}

std::size_t PictureDecodeAhead::GetWaitingCount()
{
    Waiting& waiting = GetWaiting();
    const std::lock_guard<std::mutex> lock(waiting.lock);
    return waiting.decodes.size();
}

} // namespace KR
