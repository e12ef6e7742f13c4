#pragma once
// A bitmap source for tests: it answers the pictures it was given sizes for, installs
// itself while it lives, and records every reference asked for. A reference with a width
// and height is a cut of that size from the picture; without, the whole picture.
//
//     KR::TestSupport::SizedBitmapSource bitmaps({{u"::SKIN.PNG", {400, 300}}});

#include "kr/render/BitmapSource.h"

#include <map>
#include <vector>

namespace KR::TestSupport
{

class SizedBitmapSource : public IBitmapSource
{
public:
    explicit SizedBitmapSource(std::map<String, PointI> sizes) : mSizes(std::move(sizes))
    {
        SetBitmapSource(this);
    }
    ~SizedBitmapSource() override { SetBitmapSource(nullptr); }
    SizedBitmapSource(const SizedBitmapSource&) = delete;
    SizedBitmapSource& operator=(const SizedBitmapSource&) = delete;

    ConstRCPtr<LBitmap> LoadBitmap(const ImageReference& reference) override
    {
        requests.push_back(reference);
        const auto size = mSizes.find(reference.path);
        if (size == mSizes.end())
        {
            return nullptr;
        }
        const ConstRCPtr<LBitmap> sheet(new LBitmap(size->second.x, size->second.y));
        if (reference.width <= 0 || reference.height <= 0)
        {
            return sheet;
        }
        return ConstRCPtr<LBitmap>(
            new LBitmap(sheet, RectI{reference.x, reference.y, reference.width, reference.height}));
    }

    std::vector<ImageReference> requests;

private:
    std::map<String, PointI> mSizes;
};

} // namespace KR::TestSupport
