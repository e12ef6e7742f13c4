#include "kr/render/gl/GLPolygon.h"

#include "platform/gl/GLFunctions.h"

namespace KR
{
namespace
{

struct Tessellator
{
    GLUtesselator* tess = nullptr;
    std::vector<double> vertices;
};

Tessellator& Shared()
{
    static Tessellator shared;
    return shared;
}

// GLU calls back with the stdcall-free C signatures of these three.
void TessBegin(Platform::GLenum mode)
{
    Platform::GetGL().glBegin(mode);
}
void TessVertex(const Platform::GLdouble* vertex)
{
    Platform::GetGL().glVertex3dv(vertex);
}
void TessEnd()
{
    Platform::GetGL().glEnd();
}

} // namespace

CGLPolygon::CGLPolygon()
{
    Tessellator& shared = Shared();
    if (shared.tess != nullptr)
    {
        return;
    }
    const Platform::GLFunctions& gl = Platform::GetGL();
    shared.tess = gl.gluNewTess();
    if (shared.tess == nullptr)
    {
        return;
    }
    gl.gluTessNormal(shared.tess, 0.0, 0.0, 1.0);
    gl.gluTessProperty(shared.tess, Platform::GLc::kTessTolerance, 1.0);
    gl.gluTessCallback(shared.tess, Platform::GLc::kTessBegin,
                       reinterpret_cast<Platform::GLTessCallback>(&TessBegin));
    gl.gluTessCallback(shared.tess, Platform::GLc::kTessVertex,
                       reinterpret_cast<Platform::GLTessCallback>(&TessVertex));
    gl.gluTessCallback(shared.tess, Platform::GLc::kTessEnd,
                       reinterpret_cast<Platform::GLTessCallback>(&TessEnd));
}

void CGLPolygon::Fill(const std::vector<PointT<float>>& points)
{
    Tessellator& shared = Shared();
    if (shared.tess == nullptr)
    {
        return;
    }
    if (shared.vertices.size() < points.size() * 3)
    {
        shared.vertices.resize(points.size() * 3);
    }
    const Platform::GLFunctions& gl = Platform::GetGL();
    gl.gluTessProperty(shared.tess, Platform::GLc::kTessBoundaryOnly, 0.0);
    gl.gluTessBeginPolygon(shared.tess, nullptr);
    gl.gluTessBeginContour(shared.tess);
    double* vertex = shared.vertices.data();
    for (const PointT<float>& point : points)
    {
        vertex[0] = point.x;
        vertex[1] = point.y;
        vertex[2] = 0.0;
        gl.gluTessVertex(shared.tess, vertex, vertex);
        vertex += 3;
    }
    gl.gluTessEndContour(shared.tess);
    gl.gluTessEndPolygon(shared.tess);
}

} // namespace KR
