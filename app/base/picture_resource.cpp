// Picture resources go through a temporary file, so that they take exactly
// the road of a picture file the user opens.
#include "app/base/picture_resource.h"

#include "loader/load_picture.h"

namespace {

// Writes the bytes to a new "ts" temporary file; the path stays empty when no
// file could be made. True when every byte was written.
bool write_temporary_file(const void* bytes, DWORD size, char (&path)[MAX_PATH])
{
    path[0] = '\0';
    char folder[MAX_PATH];
    const DWORD length = GetTempPathA(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH)
        return false;
    if (!GetTempFileNameA(folder, "ts", 0, path)) {
        path[0] = '\0';
        return false;
    }
    // The file API of the system, not the C library's: under winelib the C
    // library is the host's, which knows nothing of Windows paths.
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool complete = WriteFile(file, bytes, size, &written, nullptr) && written == size;
    return CloseHandle(file) && complete;
}

}  // namespace

owned_image load_picture_resource(HINSTANCE instance, int id)
{
    HRSRC resource = FindResourceA(instance, MAKEINTRESOURCEA(id), "JPG");
    if (!resource)
        return nullptr;
    const DWORD size = SizeofResource(instance, resource);
    HGLOBAL loaded = size ? LoadResource(instance, resource) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        return nullptr;
    char path[MAX_PATH];
    const bool written = write_temporary_file(bytes, size, path);
    // The content decides the format; the temporary file's extension is tmp.
    owned_image image(written ? load_picture(path, false) : nullptr);
    if (path[0])
        DeleteFileA(path);
    return image;
}
