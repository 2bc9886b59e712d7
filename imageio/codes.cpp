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
    case IS_ERR_ZLIB_INIT: return "the decompressor cannot be initialised";
    case IS_ERR_JPEG: return "JPEG decoding failed";
    case IS_ERR_NO_DC: return "no device context for rendering";
    case IS_ERR_TLA_VERSION: return "unsupported TLA format version";
    case IS_ERR_BAD_GIF: return "not a valid GIF file";
    case IS_ERR_CANCELLED: return "cancelled";
    case IS_ERR_PNG: return "PNG decoding failed";
    case IS_ERR_PNG_STRUCTS: return "PNG decoder cannot be set up";
    case IS_ERR_NO_READER: return "no reader for this format at the requested depth";
    case IS_ERR_TIFF: return "TIFF decoding failed";
    case IS_ERR_BAD_PCX: return "not a usable PCX file";
    case IS_ERR_NO_BITMAP: return "no bitmap for rendering";
    case IS_ERR_GET_DIBITS: return "the rendered bitmap cannot be read back";
    case IS_ERR_NO_DIBITS: return "the display cannot give device-independent bitmaps";
    case IS_ERR_METAFILE: return "the metafile cannot be opened, converted or measured";
    case IS_ERR_WRONG_DEPTH: return "the picture cannot be delivered at the requested depth";
    case IS_ERR_BAD_TGA: return "unsupported or damaged TGA file";
    case IS_ERR_BAD_SOURCE: return "invalid source";
    case IS_ERR_METAFILE_BITS: return "the metafile cannot be converted";
    case IS_ERR_PSD_SIGNATURE: return "not a valid Photoshop file";
    case IS_ERR_PSD_UNSUPPORTED: return "unsupported Photoshop colour mode, depth or compression";
    case IS_ERR_PROTECTED_TLA: return "password-protected TLA file";
    case IS_ERR_BAD_WBMP: return "not a valid WBMP file";
    case IS_ERR_NO_THREAD_STATE: return "no thread state";
    case IS_ERR_J2K: return "JPEG 2000 decoding failed";
    case IS_ERR_BAD_PCD: return "not a valid Photo CD image pack";
    case IS_ERR_PCD_OVERVIEW: return "a Photo CD overview pack, not an image pack";
    default: return "damaged or unsupported file";
    }
}
