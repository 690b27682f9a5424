// The OpenGL 1.1 scalar types, so the framework compiles against its own entry-point table
// without any system OpenGL header.
#pragma once

#include <cstdint>

#include "platform/platform_calling.h"

using GLenum = unsigned int;
using GLboolean = unsigned char;
using GLbitfield = unsigned int;
using GLbyte = signed char;
using GLshort = short;
using GLint = int;
using GLsizei = int;
using GLubyte = unsigned char;
using GLushort = unsigned short;
using GLuint = unsigned int;
using GLfloat = float;
using GLclampf = float;
using GLdouble = double;
using GLclampd = double;
