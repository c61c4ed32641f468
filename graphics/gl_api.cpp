#include "graphics/gl_api.h"

#include <cstring>

#include "graphics/gl_recorder.h"

namespace glapi {
namespace {

#define ZT_GL_REAL(ret, name, params) &::gl##name,
const Table kRealGL = {ZT_GL_FUNCTIONS(ZT_GL_REAL)};
#undef ZT_GL_REAL

// The recorder in use; null means calls go nowhere.
GlRecorder* active = nullptr;

double D(double value) { return value; }

void Log(GlFn fn, std::initializer_list<double> args) {
    if (active) active->Record(fn, args);
}

// Each entry logs its call with its numeric arguments; the few that answer
// something (names, errors, pixels) answer as a quiet driver would.
const Table kRecorderGL = {
    [](GLint x, GLint y, GLsizei w, GLsizei h) { Log(GlFn::Viewport, {D(x), D(y), D(w), D(h)}); },
    [](GLenum mode) { Log(GlFn::MatrixMode, {D(mode)}); },
    []() { Log(GlFn::LoadIdentity, {}); },
    [](GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) { Log(GlFn::Ortho, {l, r, b, t, n, f}); },
    [](GLenum array) { Log(GlFn::EnableClientState, {D(array)}); },
    [](GLint size, GLenum, GLsizei stride, const GLvoid* p) {
        if (active) active->SetArray(GlFn::VertexPointer, size, stride, p);
    },
    [](GLint size, GLenum, GLsizei stride, const GLvoid* p) {
        if (active) active->SetArray(GlFn::TexCoordPointer, size, stride, p);
    },
    [](GLint size, GLenum, GLsizei stride, const GLvoid* p) {
        if (active) active->SetArray(GlFn::ColorPointer, size, stride, p);
    },
    [](GLenum cap) { Log(GlFn::Enable, {D(cap)}); },
    [](GLenum cap) { Log(GlFn::Disable, {D(cap)}); },
    [](GLenum s, GLenum d) { Log(GlFn::BlendFunc, {D(s), D(d)}); },
    [](GLclampf r, GLclampf g, GLclampf b, GLclampf a) { Log(GlFn::ClearColor, {r, g, b, a}); },
    [](GLbitfield mask) { Log(GlFn::Clear, {D(mask)}); },
    [](GLint x, GLint y, GLsizei w, GLsizei h) { Log(GlFn::Scissor, {D(x), D(y), D(w), D(h)}); },
    [](GLenum mode, GLint first, GLsizei count) {
        if (active) active->RecordDraw(GlFn::DrawArrays, {D(mode), D(first), D(count)}, nullptr, first, count);
    },
    [](GLenum mode, GLsizei count, GLenum type, const GLvoid* indices) {
        if (active)
            active->RecordDraw(GlFn::DrawElements, {D(mode), D(count), D(type)},
                               static_cast<const GLushort*>(indices), 0, count);
    },
    [](GLenum target, GLuint texture) { Log(GlFn::BindTexture, {D(target), D(texture)}); },
    [](GLsizei n, GLuint* names) {
        if (active) {
            active->GenTextures(n, names);
        } else {
            for (GLsizei i = 0; i < n; ++i) names[i] = 0;
        }
    },
    [](GLsizei n, const GLuint* names) { Log(GlFn::DeleteTextures, {D(n), n > 0 ? D(names[0]) : 0}); },
    [](GLenum target, GLenum pname, GLint param) { Log(GlFn::TexParameteri, {D(target), D(pname), D(param)}); },
    [](GLenum target, GLint level, GLint internal, GLsizei w, GLsizei h, GLint border, GLenum format, GLenum type,
       const GLvoid* pixels) {
        Log(GlFn::TexImage2D, {D(target), D(level), D(internal), D(w), D(h), D(border), D(format), D(type),
                               D(pixels != nullptr)});
        if (active) active->TexImage(w, h);
    },
    [](GLenum target, GLint level, GLint x, GLint y, GLsizei w, GLsizei h, GLenum format, GLenum type,
       const GLvoid* pixels) {
        Log(GlFn::TexSubImage2D,
            {D(target), D(level), D(x), D(y), D(w), D(h), D(format), D(type), D(pixels != nullptr)});
    },
    [](GLenum pname, GLint param) { Log(GlFn::PixelStorei, {D(pname), D(param)}); },
    []() -> GLenum { return active ? active->TakeError() : GL_NO_ERROR; },
    [](GLint x, GLint y, GLsizei w, GLsizei h, GLenum format, GLenum type, GLvoid* pixels) {
        Log(GlFn::ReadPixels, {D(x), D(y), D(w), D(h), D(format), D(type)});
        if (w > 0 && h > 0) memset(pixels, 0, static_cast<size_t>(w) * h * 4);
    },
};

}  // namespace

Table gl = kRealGL;

void UseRealGL() {
    gl = kRealGL;
    active = nullptr;
}

void UseRecorder(GlRecorder* recorder) {
    gl = kRecorderGL;
    active = recorder;
}

}  // namespace glapi
