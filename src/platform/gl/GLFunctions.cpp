#include "platform/gl/GLFunctions.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace KR::Platform
{
namespace
{

GLFunctions LoadTable()
{
    GLFunctions gl{};
    gl.glBegin = &::glBegin;
    gl.glEnd = &::glEnd;
    gl.glVertex2d = &::glVertex2d;
    gl.glVertex2f = &::glVertex2f;
    gl.glVertex3dv = &::glVertex3dv;
    gl.glTexCoord2f = &::glTexCoord2f;
    gl.glColor4f = &::glColor4f;
    gl.glLineWidth = &::glLineWidth;
    gl.glEnable = &::glEnable;
    gl.glDisable = &::glDisable;
    gl.glClear = &::glClear;
    gl.glClearColor = &::glClearColor;
    gl.glScissor = &::glScissor;
    gl.glViewport = &::glViewport;
    gl.glGetIntegerv = &::glGetIntegerv;
    gl.glGetDoublev = &::glGetDoublev;
    gl.glGetError = &::glGetError;
    gl.glMatrixMode = &::glMatrixMode;
    gl.glLoadIdentity = &::glLoadIdentity;
    gl.glOrtho = &::glOrtho;
    gl.glPushMatrix = &::glPushMatrix;
    gl.glPopMatrix = &::glPopMatrix;
    gl.glTranslatef = &::glTranslatef;
    gl.glScalef = &::glScalef;
    gl.glFlush = &::glFlush;
    gl.glFinish = &::glFinish;
    gl.glReadPixels = &::glReadPixels;
    gl.glReadBuffer = &::glReadBuffer;
    gl.glDrawBuffer = &::glDrawBuffer;
    gl.glRasterPos4d = &::glRasterPos4d;
    gl.glRasterPos4dv = &::glRasterPos4dv;
    gl.glLogicOp = &::glLogicOp;
    gl.glCopyPixels = &::glCopyPixels;
    gl.glShadeModel = &::glShadeModel;
    gl.glBlendFunc = &::glBlendFunc;
    gl.glHint = &::glHint;
    gl.glPixelStorei = &::glPixelStorei;
    gl.glAlphaFunc = &::glAlphaFunc;
    gl.glTexEnvi = &::glTexEnvi;
    gl.glGenLists = &::glGenLists;
    gl.glIsList = &::glIsList;
    gl.glNewList = &::glNewList;
    gl.glEndList = &::glEndList;
    gl.glCallList = &::glCallList;
    gl.glDeleteLists = &::glDeleteLists;
    gl.glEnableClientState = &::glEnableClientState;
    gl.glDisableClientState = &::glDisableClientState;
    gl.glVertexPointer = &::glVertexPointer;
    gl.glDrawArrays = &::glDrawArrays;
    gl.glIsTexture = &::glIsTexture;
    gl.glGenTextures = &::glGenTextures;
    gl.glBindTexture = &::glBindTexture;
    gl.glDeleteTextures = &::glDeleteTextures;
    gl.glTexParameteri = &::glTexParameteri;
    gl.glTexImage2D = &::glTexImage2D;
    gl.glTexSubImage2D = &::glTexSubImage2D;
    gl.glGetTexLevelParameteriv = &::glGetTexLevelParameteriv;
    gl.gluNewTess = &::gluNewTess;
    gl.gluTessNormal = &::gluTessNormal;
    gl.gluTessProperty = &::gluTessProperty;
    gl.gluTessCallback = &::gluTessCallback;
    gl.gluTessBeginPolygon = &::gluTessBeginPolygon;
    gl.gluTessBeginContour = &::gluTessBeginContour;
    gl.gluTessVertex = &::gluTessVertex;
    gl.gluTessEndContour = &::gluTessEndContour;
    gl.gluTessEndPolygon = &::gluTessEndPolygon;
    gl.gluBuild2DMipmaps = &::gluBuild2DMipmaps;
    gl.gluScaleImage = &::gluScaleImage;
    gl.gluOrtho2D = &::gluOrtho2D;
    return gl;
}

} // namespace

GLFunctions& GetGL()
{
    static GLFunctions table = LoadTable();
    return table;
}

void DrainGLErrors()
{
    const GLFunctions& gl = GetGL();
    // A bounded loop: a context that is lost can report errors without end.
    for (int i = 0; i < 64 && gl.glGetError() != GLc::kNoError; ++i)
    {
    }
}

} // namespace KR::Platform
