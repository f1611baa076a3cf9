#pragma once
// The calling convention of the module library's sixteen functions: the Windows standard
// convention on 32-bit Windows, the platform's own everywhere else.

#if defined(_WIN32) && !defined(_WIN64)
#define MFE_CALL __stdcall
#else
#define MFE_CALL
#endif
