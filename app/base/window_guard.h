// No C++ exception may leave a window or dialog procedure: the caller is the
// window system, which cannot unwind through it. Procedures catch everything
// and answer with this.
#pragma once
#include <windows.h>

// What a procedure returns for a message whose handler threw: creation fails,
// everything else counts as handled.
inline LRESULT result_after_exception(UINT message)
{
    return message == WM_CREATE ? -1 : 0;
}
