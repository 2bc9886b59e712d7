#include "imageio/codes.h"

const char* is_error_text(int32_t code)
{
    switch (code) {
    case IS_OK: return "success";
    case IS_ERR_NO_MEMORY: return "out of memory or picture too large";
    case IS_ERR_CANT_OPEN: return "cannot open the file or tell its format";
    case IS_ERR_READ: return "the file is truncated or cannot be read";
    case IS_ERR_BAD_ARGUMENT: return "bad argument or unsupported depth";
    case IS_ERR_BAD_BMP: return "not a valid BMP file";
    case IS_ERR_BMP_RLE_MISMATCH: return "BMP compression does not match its bit count";
    case IS_ERR_JPEG: return "JPEG decoding failed";
    case IS_ERR_NO_DC: return "no device context for rendering";
    case IS_ERR_CANCELLED: return "cancelled";
    case IS_ERR_PNG: return "PNG decoding failed";
    case IS_ERR_PNG_STRUCTS: return "PNG decoder cannot be set up";
    case IS_ERR_NO_READER: return "no reader for this format at the requested depth";
    case IS_ERR_TIFF: return "TIFF decoding failed";
    case IS_ERR_NO_BITMAP: return "no bitmap for rendering";
    case IS_ERR_GET_DIBITS: return "the rendered bitmap cannot be read back";
    case IS_ERR_NO_DIBITS: return "the display cannot give device-independent bitmaps";
    case IS_ERR_METAFILE: return "the metafile cannot be opened, converted or measured";
    case IS_ERR_WRONG_DEPTH: return "the picture cannot be delivered at the requested depth";
    case IS_ERR_BAD_SOURCE: return "invalid source";
    case IS_ERR_METAFILE_BITS: return "the metafile cannot be converted";
    case IS_ERR_PROTECTED_TLA: return "password-protected TLA file";
    case IS_ERR_NO_THREAD_STATE: return "no thread state";
    case IS_ERR_J2K: return "JPEG 2000 decoding failed";
    default: return "damaged or unsupported file";
    }
}
