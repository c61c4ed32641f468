#include "graphics/gl_recorder.h"

#include <algorithm>
#include <cstring>

GlRecorder::GlRecorder(int maxCalls, int maxVertices) : maxCalls(maxCalls), maxVertices(maxVertices) {
    calls.reserve(maxCalls);
    vertices.reserve(maxVertices);
}

void GlRecorder::Clear() {
    calls.clear();
    vertices.clear();
    dropped = 0;
}

int GlRecorder::Count(GlFn fn) const {
    return static_cast<int>(std::count_if(calls.begin(), calls.end(), [fn](const GlCall& c) { return c.fn == fn; }));
}

std::vector<GlCall> GlRecorder::Of(GlFn fn) const {
    std::vector<GlCall> found;
    for (const GlCall& call : calls)
        if (call.fn == fn) found.push_back(call);
    return found;
}

std::span<const RecordedVertex> GlRecorder::VerticesOf(const GlCall& call) const {
    return std::span<const RecordedVertex>(vertices).subspan(call.firstVertex, call.vertexCount);
}

void GlRecorder::Record(GlFn fn, std::initializer_list<double> args) {
    if (static_cast<int>(calls.size()) >= maxCalls) {
        dropped += 1;
        return;
    }
    GlCall call{fn, {}};
    std::copy_n(args.begin(), std::min<size_t>(args.size(), 9), call.args);
    calls.push_back(call);
}

void GlRecorder::SetArray(GlFn which, GLint size, GLsizei stride, const GLvoid* pointer) {
    Record(which, {static_cast<double>(size), static_cast<double>(stride)});
    ClientArray array{static_cast<const unsigned char*>(pointer), stride};
    if (which == GlFn::VertexPointer) positions = array;
    if (which == GlFn::TexCoordPointer) texCoords = array;
    if (which == GlFn::ColorPointer) colors = array;
}

void GlRecorder::CopyVertex(int index) {
    RecordedVertex vertex{};
    if (positions.pointer) memcpy(&vertex.x, positions.pointer + index * positions.stride, 2 * sizeof(float));
    if (texCoords.pointer) memcpy(&vertex.u, texCoords.pointer + index * texCoords.stride, 2 * sizeof(float));
    if (colors.pointer) memcpy(&vertex.color, colors.pointer + index * colors.stride, 4);
    vertices.push_back(vertex);
}

void GlRecorder::RecordDraw(GlFn fn, std::initializer_list<double> args, const GLushort* indices, int first,
                            int count) {
    size_t before = calls.size();
    Record(fn, args);
    if (calls.size() == before) return;
    // Indexed draws copy every vertex up to the highest index used, once.
    int used = count;
    if (indices) {
        used = 0;
        for (int i = 0; i < count; ++i) used = std::max(used, indices[i] + 1);
        first = 0;
    }
    if (static_cast<int>(vertices.size()) + used > maxVertices) {
        dropped += 1;
        return;
    }
    calls.back().firstVertex = static_cast<int>(vertices.size());
    calls.back().vertexCount = used;
    for (int i = 0; i < used; ++i) CopyVertex(first + i);
}

void GlRecorder::GenTextures(GLsizei n, GLuint* names) {
    Record(GlFn::GenTextures, {static_cast<double>(n)});
    for (GLsizei i = 0; i < n; ++i) names[i] = nextTexture++;
}

void GlRecorder::TexImage(GLsizei width, GLsizei height) {
    auto powerOfTwo = [](GLsizei size) { return size > 0 && (size & (size - 1)) == 0; };
    if (refuseNonPowerOfTwo && !(powerOfTwo(width) && powerOfTwo(height))) pendingError = GL_INVALID_VALUE;
}

GLenum GlRecorder::TakeError() {
    Record(GlFn::GetError, {});
    GLenum error = pendingError;
    pendingError = GL_NO_ERROR;
    return error;
}
