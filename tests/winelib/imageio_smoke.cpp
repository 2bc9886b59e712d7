// Reads a BMP through the image library in a Windows API program: a Windows
// path opens, the pixel buffer is global memory that GlobalFree releases, and
// a new thread gets its own library state.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "imageio/imageio.h"

namespace {

// A 2 x 2 24-bit bitmap, bottom row first: red, green / blue, white on top.
const unsigned char bitmap[] = {
    'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,
    40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 16, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 255, 0, 255, 0, 0, 0,
    255, 0, 0, 255, 255, 255, 0, 0,
};

DWORD WINAPI fresh_thread(LPVOID result)
{
    *static_cast<int*>(result) = is_get_last_error();
    return 0;
}

// Wine ends the process without flushing the host's stdio buffers.
void say(const char* what)
{
    std::printf("imageio smoke: %s\n", what);
    std::fflush(nullptr);
}

int fail(const char* what)
{
    say(what);
    return 1;
}

}  // namespace

int main()
{
    char folder[MAX_PATH], path[MAX_PATH];
    if (!GetTempPathA(MAX_PATH, folder) || !GetTempFileNameA(folder, "ts", 0, path))
        return fail("no temporary file");
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (file == INVALID_HANDLE_VALUE || !WriteFile(file, bitmap, sizeof bitmap, &written, nullptr))
        return fail("cannot write the bitmap");
    CloseHandle(file);

    ISSourceRecord* source = is_open_file_source(path);
    if (!source)
        return fail("a Windows path does not open");
    const int32_t format = is_guess_format(source);
    is_seek(source, 0, 0);
    uint32_t width = 0, height = 0;
    uint8_t* pixels = is_read_generic_rgb24(source, &width, &height);
    is_close_source(source);
    DeleteFileA(path);
    if (format != 1 || !pixels || width != 2 || height != 2)
        return fail("the bitmap was not read");
    const unsigned char expected[12] = {0, 0, 255, 255, 255, 255, 255, 0, 0, 0, 255, 0};
    if (std::memcmp(pixels, expected, sizeof expected) != 0)
        return fail("wrong pixels");
    if (GlobalSize(pixels) < sizeof expected)
        return fail("the buffer is not global memory");
    GlobalFree(pixels);

    is_open_file_source("");  // error 2 on this thread only
    int other = -1;
    HANDLE thread = CreateThread(nullptr, 0, fresh_thread, &other, 0, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    if (other != 0 || is_get_last_error() != 2)
        return fail("thread states are shared");
    say("ok");
    return 0;
}
