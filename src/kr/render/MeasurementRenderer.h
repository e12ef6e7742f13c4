#pragma once
// The measuring half of a renderer. Fonts and text layout measure through it; the
// application hands one out (the renderer of its first window) through the source that
// it installs here, since this library knows nothing of windows or the application.

#include "kr/core/RCPtr.h"
#include "kr/core/Rect.h"
#include "kr/core/RefCountedObject.h"
#include "kr/core/StringT.h"
#include "kr/core/Types.h"

#include <cstdint>

namespace KR
{

class LFont;

class LMeasurementRenderer : public virtual LRefCountedObject
{
public:
    // Whole pixels; the ascent comes back negative (a distance above the baseline), the
    // descent positive.
    virtual Result GetFontMetrics(const RCPtr<LFont>& font, std::int32_t& lineHeight, std::int32_t& ascent,
                                  std::int32_t& descent) = 0;
    // The text's box: x 0, y the negative ascent, its width, the line height. An empty
    // text gives all zeros.
    virtual Result MeasureText(RectT<float>& box, const String& text, const RCPtr<LFont>& font) = 0;
};

// Who answers GetMeasurementRenderer: the application installs itself, tests their own.
class IMeasurementRendererSource
{
public:
    virtual ~IMeasurementRendererSource() = default;
    // Null while there is nothing to measure with (before the first window exists).
    virtual RCPtr<LMeasurementRenderer> GetMeasurementRenderer() = 0;
};

// Installs the source; null removes it. The caller keeps the source alive while it is
// installed. User-interface thread.
void SetMeasurementRendererSource(IMeasurementRendererSource* source);
IMeasurementRendererSource* GetMeasurementRendererSource();

// The installed source's renderer; null without a source.
RCPtr<LMeasurementRenderer> GetMeasurementRenderer();

} // namespace KR
