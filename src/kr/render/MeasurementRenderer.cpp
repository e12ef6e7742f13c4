#include "kr/render/MeasurementRenderer.h"

namespace KR
{
namespace
{

IMeasurementRendererSource* gMeasurementSource = nullptr;

} // namespace

void SetMeasurementRendererSource(IMeasurementRendererSource* source)
{
    gMeasurementSource = source;
}

IMeasurementRendererSource* GetMeasurementRendererSource()
{
    return gMeasurementSource;
}

RCPtr<LMeasurementRenderer> GetMeasurementRenderer()
{
    return gMeasurementSource ? gMeasurementSource->GetMeasurementRenderer() : RCPtr<LMeasurementRenderer>();
}

} // namespace KR
