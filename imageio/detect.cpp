#include "imageio/detect.h"

#include "imageio/read_context.h"
#include "imageio/reader_table.h"

#include <cstring>
#include <strings.h>

namespace {

constexpr uint32_t head_size = 44;

struct signature {
    int32_t code;
    uint32_t offset;
    uint32_t length;  // 0: never matches by content
    const char* bytes;
};

// Tested in this order; the first match decides, except that WBMP's two zero
// bytes are too weak to decide alone.
const signature signatures[] = {
    {IS_FORMAT_BMP, 0, 2, "BM"},
    {IS_FORMAT_PAX, 0, 3, "PAX"},
    {IS_FORMAT_GIF, 0, 6, "GIF89a"},
    {IS_FORMAT_GIF, 0, 6, "GIF87a"},
    {IS_FORMAT_JPEG, 0, 4, "\xFF\xD8\xFF\xE0"},
    {IS_FORMAT_JPEG, 0, 3, "\xFF\xD8\xFF"},
    {IS_FORMAT_PCX, 0, 2, "\x0A\x00"},
    {IS_FORMAT_PCX, 0, 2, "\x0A\x02"},
    {IS_FORMAT_PCX, 0, 2, "\x0A\x03"},
    {IS_FORMAT_PCX, 0, 2, "\x0A\x05"},
    {IS_FORMAT_TIFF, 0, 2, "MM"},
    {IS_FORMAT_TIFF, 0, 2, "II"},
    {IS_FORMAT_PNG, 0, 8, "\x89PNG\r\n\x1A\n"},
    {IS_FORMAT_WMF, 0, 5, "\x01\x00\x09\x00\x00"},
    {IS_FORMAT_WMF, 0, 4, "\xD7\xCD\xC6\x9A"},
    {IS_FORMAT_EMF, 40, 4, " EMF"},
    {IS_FORMAT_PSD, 0, 4, "8BPS"},
    {IS_FORMAT_TLA_PROTECTED, 0, 4, "TLA\x01"},
    {IS_FORMAT_TLA, 0, 4, "TLAU"},
    {IS_FORMAT_PCD_OVERVIEW, 0, 7, "PCD_OPA"},
    {IS_FORMAT_JP2, 4, 5, "jP  \r"},
    {IS_FORMAT_JP2, 0, 2, "\xFF\x4F"},
    {IS_FORMAT_J2K_AT_4, 4, 2, "\xFF\x4F"},
    {IS_FORMAT_WBMP, 0, 2, "\x00\x00"},
    {IS_FORMAT_TGA, 0, 0, ""},  // TGA has no signature at its start
    {IS_FORMAT_OLE, 0, 4, "\xD0\xCF\x11\xE0"},
};

bool matches(const signature& row, const uint8_t* head, uint32_t got)
{
    return row.length != 0 && row.offset + row.length <= got &&
           std::memcmp(head + row.offset, row.bytes, row.length) == 0;
}

bool extension_is(const char* file_name, const char* extension)
{
    return strcasecmp(file_extension(file_name), extension) == 0;
}

struct extension_row {
    const char* extension;
    int32_t reader;
};

const extension_row extension_readers[] = {
    {".bmp", READER_BMP},   {".wbmp", READER_WBMP}, {".wbm", READER_WBMP}, {".pcd", READER_PCD},
    {".gif", READER_GIF},   {".tga", READER_TGA},   {".jpeg", READER_JPEG}, {".jpg", READER_JPEG},
    {".tif", READER_TIFF},  {".tiff", READER_TIFF}, {".pcx", READER_PCX},  {".psd", READER_PSD},
    {".tla", READER_TLA},   {".png", READER_PNG},   {".wmf", READER_WMF},  {".emf", READER_EMF},
};

}  // namespace

const char* file_extension(const char* file_name)
{
    if (!file_name)
        return "";
    const char* base = file_name;
    for (const char* p = file_name; *p; ++p)
        if (*p == '/' || *p == '\\' || *p == ':')
            base = p + 1;
    const char* dot = std::strrchr(base, '.');
    return dot ? dot : "";
}

int32_t detect_format(CISIO& io, int32_t* error)
{
    *error = IS_OK;
    uint8_t head[head_size] = {};
    const uint32_t got = io.read(head, head_size);
    if (got == 0) {
        *error = IS_ERR_READ;
        return IS_FORMAT_UNKNOWN;
    }

    int32_t result = IS_FORMAT_UNKNOWN;
    for (const signature& row : signatures) {
        if (!matches(row, head, got))
            continue;
        if (row.code != IS_FORMAT_WBMP)
            return row.code;
        result = IS_FORMAT_WBMP;  // tentative
        break;
    }

    // A TGA is known by its extension or its footer; either wins over the
    // weak WBMP match, and a WBMP extension confirms it.
    const char* name = io.name();
    bool extension_decided = false;
    if (*name) {
        if (extension_is(name, ".wbmp") || extension_is(name, ".wbm")) {
            result = IS_FORMAT_WBMP;
            extension_decided = true;
        } else if (extension_is(name, ".tga")) {
            return IS_FORMAT_TGA;
        }
    }
    if (!extension_decided) {
        uint8_t footer[18];
        if (!io.seek(-18, 2) || !io.read_exactly(footer, sizeof footer)) {
            *error = IS_ERR_READ;
            return IS_FORMAT_UNKNOWN;
        }
        if (std::memcmp(footer, "TRUEVISION-XFILE.", 17) == 0)
            return IS_FORMAT_TGA;
    }
    if (result != IS_FORMAT_UNKNOWN)
        return result;

    // A Photo CD image pack announces itself in its second sector.
    if (!io.seek(2048, 0))
        return IS_FORMAT_UNKNOWN;
    uint8_t pack[3];
    if (!io.read_exactly(pack, sizeof pack)) {
        *error = IS_ERR_READ;
        return IS_FORMAT_UNKNOWN;
    }
    return std::memcmp(pack, "PCD", 3) == 0 ? IS_FORMAT_PCD : IS_FORMAT_UNKNOWN;
}

int32_t reader_index_from_extension(const char* file_name)
{
    for (const extension_row& row : extension_readers)
        if (extension_is(file_name, row.extension))
            return row.reader;
    return READER_UNKNOWN;
}

int32_t reader_index_for(int32_t format_code, const char* file_name)
{
    switch (format_code) {
    case IS_FORMAT_JPEG: return READER_JPEG;
    case IS_FORMAT_BMP: return READER_BMP;
    case IS_FORMAT_GIF: return READER_GIF;
    case IS_FORMAT_PCX: return READER_PCX;
    case IS_FORMAT_PNG: return READER_PNG;
    case IS_FORMAT_TIFF: return READER_TIFF;
    case IS_FORMAT_TGA: return READER_TGA;
    case IS_FORMAT_WMF: return READER_WMF;
    case IS_FORMAT_EMF: return READER_EMF;
    case IS_FORMAT_PSD: return READER_PSD;
    case IS_FORMAT_WBMP: return READER_WBMP;
    case IS_FORMAT_TLA: return READER_TLA;
    case IS_FORMAT_TLA_PROTECTED: return READER_TLA_PROTECTED;
    case IS_FORMAT_PCD: return READER_PCD;
    default: return reader_index_from_extension(file_name);
    }
}

int32_t is_guess_format(ISSourceRecord* source)
{
    ISThreadState* state = is_thread_state();
    if (!state)
        return IS_FORMAT_UNKNOWN;
    int32_t error = source_error(source);
    int32_t code = IS_FORMAT_UNKNOWN;
    if (error == IS_OK) {
        CISIO io(source);
        code = detect_format(io, &error);
    }
    is_set_error(state, error);
    return code;
}
