#pragma once
// Every GL and GLU entry point the renderers use, in one table filled once from the
// system's libraries. Nothing outside this folder includes a GL header: callers go through
// GetGL(), and tests may swap entries for wrappers that count or record calls (keep a copy
// of the table and put it back when done).

#include <cstdint>

struct GLUtesselator;

namespace KR::Platform
{

using GLenum = unsigned int;
using GLbitfield = unsigned int;
using GLuint = unsigned int;
using GLint = int;
using GLsizei = int;
using GLboolean = unsigned char;
using GLfloat = float;
using GLdouble = double;
using GLTessCallback = void (*)();

namespace GLc
{
inline constexpr GLenum kPoints = 0x0000;
inline constexpr GLenum kLines = 0x0001;
inline constexpr GLenum kLineStrip = 0x0003;
inline constexpr GLenum kTriangles = 0x0004;
inline constexpr GLenum kQuads = 0x0007;
inline constexpr GLenum kNoError = 0;
inline constexpr GLenum kCompile = 0x1300;
inline constexpr GLenum kFloat = 0x1406;
inline constexpr GLenum kUnsignedByte = 0x1401;
inline constexpr GLenum kVertexArray = 0x8074;
inline constexpr GLenum kTexture2D = 0x0DE1;
inline constexpr GLenum kProxyTexture2D = 0x8064;
inline constexpr GLenum kBlend = 0x0BE2;
inline constexpr GLenum kLighting = 0x0B50;
inline constexpr GLenum kDither = 0x0BD0;
inline constexpr GLenum kDepthTest = 0x0B71;
inline constexpr GLenum kCullFace = 0x0B44;
inline constexpr GLenum kAlphaTest = 0x0BC0;
inline constexpr GLenum kPointSmooth = 0x0B10;
inline constexpr GLenum kLineSmooth = 0x0B20;
inline constexpr GLenum kPolygonSmooth = 0x0B41;
inline constexpr GLenum kScissorTest = 0x0C11;
inline constexpr GLenum kSmooth = 0x1D01;
inline constexpr GLenum kZero = 0;
inline constexpr GLenum kOne = 1;
inline constexpr GLenum kSrcAlpha = 0x0302;
inline constexpr GLenum kOneMinusSrcAlpha = 0x0303;
inline constexpr GLenum kLineSmoothHint = 0x0C52;
inline constexpr GLenum kPerspectiveCorrectionHint = 0x0C50;
inline constexpr GLenum kPolygonSmoothHint = 0x0C53;
inline constexpr GLenum kNicest = 0x1102;
inline constexpr GLenum kUnpackAlignment = 0x0CF5;
inline constexpr GLenum kUnpackRowLength = 0x0CF2;
inline constexpr GLenum kPackAlignment = 0x0D05;
inline constexpr GLenum kGreater = 0x0204;
inline constexpr GLenum kTextureEnv = 0x2300;
inline constexpr GLenum kTextureEnvMode = 0x2200;
inline constexpr GLenum kModulate = 0x2100;
inline constexpr GLenum kModelView = 0x1700;
inline constexpr GLenum kProjection = 0x1701;
inline constexpr GLenum kViewport = 0x0BA2;
inline constexpr GLenum kMaxViewportDims = 0x0D3A;
inline constexpr GLbitfield kColorBufferBit = 0x4000;
inline constexpr GLbitfield kDepthBufferBit = 0x0100;
inline constexpr GLenum kReadBuffer = 0x0C02;
inline constexpr GLenum kDrawBuffer = 0x0C01;
inline constexpr GLenum kFront = 0x0404;
inline constexpr GLenum kBack = 0x0405;
inline constexpr GLenum kColor = 0x1800;
inline constexpr GLenum kCurrentRasterPosition = 0x0B07;
inline constexpr GLenum kLogicOpMode = 0x0BF0;
inline constexpr GLenum kCopy = 0x1503;
inline constexpr GLenum kRGBA = 0x1908;
inline constexpr GLenum kBGRA = 0x80E1;
inline constexpr GLenum kAlpha = 0x1906;
inline constexpr GLenum kRGBA8 = 0x8058;
inline constexpr GLenum kAlpha4 = 0x803B;
inline constexpr GLenum kAlpha8 = 0x803C;
inline constexpr GLenum kTextureMinFilter = 0x2801;
inline constexpr GLenum kTextureMagFilter = 0x2800;
inline constexpr GLenum kTextureWrapS = 0x2802;
inline constexpr GLenum kTextureWrapT = 0x2803;
inline constexpr GLenum kTextureWidth = 0x1000;
inline constexpr GLenum kTextureHeight = 0x1001;
inline constexpr GLint kNearest = 0x2600;
inline constexpr GLint kLinear = 0x2601;
inline constexpr GLint kNearestMipmapNearest = 0x2700;
inline constexpr GLint kLinearMipmapLinear = 0x2703;
inline constexpr GLint kRepeat = 0x2901;
inline constexpr GLint kClamp = 0x2900;
inline constexpr GLenum kTessBegin = 100100;
inline constexpr GLenum kTessVertex = 100101;
inline constexpr GLenum kTessEnd = 100102;
inline constexpr GLenum kTessBoundaryOnly = 100141;
inline constexpr GLenum kTessTolerance = 100142;
} // namespace GLc

struct GLFunctions
{
    void (*glBegin)(GLenum);
    void (*glEnd)();
    void (*glVertex2d)(GLdouble, GLdouble);
    void (*glVertex2f)(GLfloat, GLfloat);
    void (*glVertex3dv)(const GLdouble*);
    void (*glTexCoord2f)(GLfloat, GLfloat);
    void (*glColor4f)(GLfloat, GLfloat, GLfloat, GLfloat);
    void (*glLineWidth)(GLfloat);
    void (*glEnable)(GLenum);
    void (*glDisable)(GLenum);
    void (*glClear)(GLbitfield);
    void (*glClearColor)(GLfloat, GLfloat, GLfloat, GLfloat);
    void (*glScissor)(GLint, GLint, GLsizei, GLsizei);
    void (*glViewport)(GLint, GLint, GLsizei, GLsizei);
    void (*glGetIntegerv)(GLenum, GLint*);
    void (*glGetDoublev)(GLenum, GLdouble*);
    GLenum (*glGetError)();
    void (*glMatrixMode)(GLenum);
    void (*glLoadIdentity)();
    void (*glOrtho)(GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble);
    void (*glPushMatrix)();
    void (*glPopMatrix)();
    void (*glTranslatef)(GLfloat, GLfloat, GLfloat);
    void (*glScalef)(GLfloat, GLfloat, GLfloat);
    void (*glFlush)();
    void (*glFinish)();
    void (*glReadPixels)(GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, void*);
    void (*glReadBuffer)(GLenum);
    void (*glDrawBuffer)(GLenum);
    void (*glRasterPos4d)(GLdouble, GLdouble, GLdouble, GLdouble);
    void (*glRasterPos4dv)(const GLdouble*);
    void (*glLogicOp)(GLenum);
    void (*glCopyPixels)(GLint, GLint, GLsizei, GLsizei, GLenum);
    void (*glShadeModel)(GLenum);
    void (*glBlendFunc)(GLenum, GLenum);
    void (*glHint)(GLenum, GLenum);
    void (*glPixelStorei)(GLenum, GLint);
    void (*glAlphaFunc)(GLenum, GLfloat);
    void (*glTexEnvi)(GLenum, GLenum, GLint);
    GLuint (*glGenLists)(GLsizei);
    GLboolean (*glIsList)(GLuint);
    void (*glNewList)(GLuint, GLenum);
    void (*glEndList)();
    void (*glCallList)(GLuint);
    void (*glDeleteLists)(GLuint, GLsizei);
    void (*glEnableClientState)(GLenum);
    void (*glDisableClientState)(GLenum);
    void (*glVertexPointer)(GLint, GLenum, GLsizei, const void*);
    void (*glDrawArrays)(GLenum, GLint, GLsizei);
    GLboolean (*glIsTexture)(GLuint);
    void (*glGenTextures)(GLsizei, GLuint*);
    void (*glBindTexture)(GLenum, GLuint);
    void (*glDeleteTextures)(GLsizei, const GLuint*);
    void (*glTexParameteri)(GLenum, GLenum, GLint);
    void (*glTexImage2D)(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const void*);
    void (*glTexSubImage2D)(GLenum, GLint, GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, const void*);
    void (*glGetTexLevelParameteriv)(GLenum, GLint, GLenum, GLint*);
    GLUtesselator* (*gluNewTess)();
    void (*gluTessNormal)(GLUtesselator*, GLdouble, GLdouble, GLdouble);
    void (*gluTessProperty)(GLUtesselator*, GLenum, GLdouble);
    void (*gluTessCallback)(GLUtesselator*, GLenum, GLTessCallback);
    void (*gluTessBeginPolygon)(GLUtesselator*, void*);
    void (*gluTessBeginContour)(GLUtesselator*);
    void (*gluTessVertex)(GLUtesselator*, GLdouble*, void*);
    void (*gluTessEndContour)(GLUtesselator*);
    void (*gluTessEndPolygon)(GLUtesselator*);
    GLint (*gluBuild2DMipmaps)(GLenum, GLint, GLsizei, GLsizei, GLenum, GLenum, const void*);
    GLint (*gluScaleImage)(GLenum, GLsizei, GLsizei, GLenum, const void*, GLsizei, GLsizei, GLenum, void*);
    void (*gluOrtho2D)(GLdouble, GLdouble, GLdouble, GLdouble);
};

// The process's table, filled on first use. UI thread only.
GLFunctions& GetGL();

// Reads and discards every pending GL error.
void DrainGLErrors();

} // namespace KR::Platform
