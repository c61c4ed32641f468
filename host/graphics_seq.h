// Generation of the OpenGL context. The host bumps it every time it opens a
// window (each opening is a new context); the graphics device compares it
// with the generation stored in each texture to know when a texture must be
// made again. 0 means no context exists yet.
#pragma once

extern int glfwGraphicsSeq;
