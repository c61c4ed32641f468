// A stand-in for OpenGL that logs every call made through the `glapi` table,
// so tests can see exactly what the renderer asks of OpenGL without a context.
//
//   GlRecorder recorder;
//   glapi::UseRecorder(&recorder);
//   ... draw ...
//   recorder.Count(GlFn::DrawElements);              // how many quad draws
//   for (const GlCall& call : recorder.calls) ...    // the calls in order
//   recorder.VerticesOf(call);                       // what a draw call drew
//   glapi::UseRecorder(nullptr);                     // before the recorder goes away
//
// Each call keeps its numeric arguments in order (enums and sizes as numbers).
// Draw calls also keep a copy of the vertices they drew, read through the
// client array pointers last given, as OpenGL would read them. Storage is
// sized once at construction; calls past it are counted in `dropped`, so
// logging itself never allocates while drawing.
//
// Behaviour it imitates: texture names count up from 1; with
// `refuseNonPowerOfTwo` a glTexImage2D of a size that is not a power of two
// leaves GL_INVALID_VALUE for the next glGetError (as old drivers do);
// glReadPixels returns zero bytes.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

enum class GlFn : uint8_t {
    Viewport, MatrixMode, LoadIdentity, Ortho, EnableClientState, VertexPointer, TexCoordPointer,
    ColorPointer, Enable, Disable, BlendFunc, ClearColor, Clear, Scissor, DrawArrays, DrawElements,
    BindTexture, GenTextures, DeleteTextures, TexParameteri, TexImage2D, TexSubImage2D, PixelStorei,
    GetError, ReadPixels
};

struct GlCall {
    GlFn fn;
    double args[9];
    int firstVertex = 0;  // into GlRecorder::vertices, for draw calls
    int vertexCount = 0;
};

struct RecordedVertex {
    float x, y, u, v;
    uint32_t color;  // the four colour bytes R, G, B, A as a little-endian number
};

class GlRecorder {
public:
    explicit GlRecorder(int maxCalls = 1 << 14, int maxVertices = 1 << 17);

    void Clear();
    int Count(GlFn fn) const;
    std::vector<GlCall> Of(GlFn fn) const;
    std::span<const RecordedVertex> VerticesOf(const GlCall& call) const;

    std::vector<GlCall> calls;
    std::vector<RecordedVertex> vertices;
    int dropped = 0;
    bool refuseNonPowerOfTwo = false;

    // Used by the glapi table.
    void Record(GlFn fn, std::initializer_list<double> args);
    void SetArray(GlFn which, GLint size, GLsizei stride, const GLvoid* pointer);
    void RecordDraw(GlFn fn, std::initializer_list<double> args, const GLushort* indices, int first, int count);
    void GenTextures(GLsizei n, GLuint* names);
    void TexImage(GLsizei width, GLsizei height);
    GLenum TakeError();

private:
    struct ClientArray {
        const unsigned char* pointer = nullptr;
        GLsizei stride = 0;
    };
    void CopyVertex(int index);

    int maxCalls;
    int maxVertices;
    ClientArray positions, texCoords, colors;
    GLuint nextTexture = 1;
    GLenum pendingError = GL_NO_ERROR;
};
