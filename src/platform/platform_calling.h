// The calling conventions of the system libraries the framework loads at run time: OpenGL's
// entry points use the system's own (__stdcall on Windows), OpenAL's the C one (__cdecl).
// Elsewhere there is one convention.
#pragma once

#if defined(_WIN32)
#define SANGUOR_GLAPI __stdcall
#define SANGUOR_ALAPI __cdecl
#else
#define SANGUOR_GLAPI
#define SANGUOR_ALAPI
#endif
