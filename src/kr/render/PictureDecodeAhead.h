#pragma once
// Pictures decoded on a thread of their own before the user-interface thread asks for
// them: the skin names its pictures long before the controls that show them are made, and
// the largest of them took a sixth of making the editor's main tree. One thread decodes
// them in the order they were named and ends when none is left. LBitmap::GetBitmap takes a
// picture decoded ahead instead of decoding it, waiting for it if need be; the decode is
// the very one GetBitmap makes, so the pixels and the error are the same. What nobody took
// by the end of the next LBitmapHoldScope is let go. Safe from any thread.

#include "kr/core/StringT.h"
#include "platform/png/PngCodec.h"

#include <cstddef>
#include <functional>
#include <string>

namespace KR
{

struct DecodedPicture
{
    Platform::DecodedImage image;
    std::string error;
};

class PictureDecodeAhead
{
public:
    // Queues `decode` for the bitmap table's key, unless one for the key is waiting. A
    // thread that cannot be started leaves the decode to GetBitmap.
    static void Start(const String& key, std::function<DecodedPicture()> decode);
    // True, with what the decode gave, when one was started for the key; it is taken.
    static bool Take(const String& key, DecodedPicture& picture);
    // Lets go of every decode not taken, waiting for those still running.
    static void DropUntaken();
    static std::size_t GetWaitingCount();
};

} // namespace KR
