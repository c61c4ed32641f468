// The OpenGL 1.1 entry points the renderer uses, called through one table of
// function pointers. Only graphics/ calls OpenGL, and only through `glapi::gl`.
//
//   glapi::gl.Viewport(0, 0, width, height);   // how graphics/ calls OpenGL
//
// By default the table points at the real OpenGL. Tests can switch it:
//
//   GlRecorder recorder;                        // graphics/gl_recorder.h
//   glapi::UseRecorder(&recorder);              // calls are logged in recorder.calls
//   glapi::UseRecorder(nullptr);                // calls go nowhere: no context needed
//   glapi::UseRealGL();                         // back to the real OpenGL
//
// FakeHost (tests/support) switches to `UseRecorder(nullptr)` when it is made,
// so the game's unit tests never touch a real context; tests that draw real
// pixels call `UseRealGL()` after creating their window.
#pragma once

#include <GL/gl.h>

class GlRecorder;

// X(return type, name without the gl prefix, parameter list)
#define ZT_GL_FUNCTIONS(X)                                                                                  \
    X(void, Viewport, (GLint x, GLint y, GLsizei width, GLsizei height))                                   \
    X(void, MatrixMode, (GLenum mode))                                                                      \
    X(void, LoadIdentity, (void))                                                                           \
    X(void, Ortho, (GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear, GLdouble zFar)) \
    X(void, EnableClientState, (GLenum array))                                                              \
    X(void, VertexPointer, (GLint size, GLenum type, GLsizei stride, const GLvoid* pointer))                \
    X(void, TexCoordPointer, (GLint size, GLenum type, GLsizei stride, const GLvoid* pointer))              \
    X(void, ColorPointer, (GLint size, GLenum type, GLsizei stride, const GLvoid* pointer))                 \
    X(void, Enable, (GLenum cap))                                                                           \
    X(void, Disable, (GLenum cap))                                                                          \
    X(void, BlendFunc, (GLenum sfactor, GLenum dfactor))                                                    \
    X(void, ClearColor, (GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha))                      \
    X(void, Clear, (GLbitfield mask))                                                                       \
    X(void, Scissor, (GLint x, GLint y, GLsizei width, GLsizei height))                                    \
    X(void, DrawArrays, (GLenum mode, GLint first, GLsizei count))                                          \
    X(void, DrawElements, (GLenum mode, GLsizei count, GLenum type, const GLvoid* indices))                 \
    X(void, BindTexture, (GLenum target, GLuint texture))                                                   \
    X(void, GenTextures, (GLsizei n, GLuint* textures))                                                     \
    X(void, DeleteTextures, (GLsizei n, const GLuint* textures))                                            \
    X(void, TexParameteri, (GLenum target, GLenum pname, GLint param))                                      \
    X(void, TexImage2D, (GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,   \
                         GLint border, GLenum format, GLenum type, const GLvoid* pixels))                   \
    X(void, TexSubImage2D, (GLenum target, GLint level, GLint xoffset, GLint yoffset, GLsizei width,        \
                            GLsizei height, GLenum format, GLenum type, const GLvoid* pixels))              \
    X(void, PixelStorei, (GLenum pname, GLint param))                                                       \
    X(GLenum, GetError, (void))                                                                             \
    X(void, ReadPixels, (GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type,       \
                         GLvoid* pixels))

namespace glapi {

struct Table {
#define ZT_GL_FIELD(ret, name, params) ret(*name) params;
    ZT_GL_FUNCTIONS(ZT_GL_FIELD)
#undef ZT_GL_FIELD
};

// The table graphics/ calls through.
extern Table gl;

// Points the table at the real OpenGL (the default).
void UseRealGL();
// Points the table at a recorder; with null every call does nothing (and
// queries answer "no error", texture name 0, black pixels).
void UseRecorder(GlRecorder* recorder);

}  // namespace glapi
