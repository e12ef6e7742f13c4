#include "kr/render/MeasurementRenderer.h"

namespace KR
{
namespace
{

IMeasurementRendererSource* gSource = nullptr;

} // namespace

void SetMeasurementRendererSource(IMeasurementRendererSource* source)
{
    gSource = source;
}

IMeasurementRendererSource* GetMeasurementRendererSource()
{
    return gSource;
}

RCPtr<LMeasurementRenderer> GetMeasurementRenderer()
{
    return gSource ? gSource->GetMeasurementRenderer() : RCPtr<LMeasurementRenderer>();
}

} // namespace KR
