#pragma once
// Resource images decoded on another thread ahead of the LBitmap::GetBitmap calls that ask
// for them: a start decodes the pictures its skin names while the user-interface thread
// creates the controls. GetBitmap takes an image's pixels from here when they have been
// decoded (waiting while they are being decoded) and decodes the image itself, as it would
// without this, when its turn has not come yet; either way it gets the same pixels, or the
// same reason for having none. Pixels are held here only until taken: a start decodes
// ahead only the pictures its skin's parts cut from, which it draws.

#include "kr/core/StringT.h"
#include "platform/png/PngCodec.h"

#include <string>
#include <vector>

namespace KR::BitmapDecodeAhead
{

// The pixels of the resource image `name` ("::" and the file name), or the reason there
// are none; GetBitmap's own decode.
void DecodeResourceImage(const String& name, Platform::DecodedImage& decoded, std::string& error);

// Decodes, on the calling thread and in turn, the resource images among `names` that are
// not waiting here already; names of files are passed over.
void Decode(const std::vector<String>& names);

// When the image of `key` (GetBitmap's key: the name in capitals) was handed to Decode,
// true with its pixels and reason, waiting for them while they are being decoded; false,
// and the image is no longer waited for, when its decode has not begun.
bool Take(const String& key, Platform::DecodedImage& decoded, std::string& error);

} // namespace KR::BitmapDecodeAhead
