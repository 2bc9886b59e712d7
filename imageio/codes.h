// Error codes (the per-thread last error) and format codes of the image library.
#pragma once
#include <cstdint>

enum : int32_t {
    IS_OK = 0,
    IS_ERR_NO_MEMORY = 1,          // global heap, or a buffer beyond the size limit
    IS_ERR_CANT_OPEN = 2,          // file does not open, or the generic read cannot tell the format
    IS_ERR_READ = 3,               // a read or seek on the source failed or came up short
    IS_ERR_BAD_ARGUMENT = 5,       // null pointer, unsupported depth or option
    IS_ERR_BAD_BMP = 6,
    IS_ERR_BMP_RLE_MISMATCH = 7,   // RLE compression with a bit count that does not match it
    IS_ERR_TLA_NO_BLOCK = 6,       // TLA: no key object, or a pixel block missing or without rows
    IS_ERR_ZLIB_INIT = 8,          // zlib could not be initialised
    IS_ERR_JPEG = 9,
    IS_ERR_NO_DC = 10,
    IS_ERR_TLA_VERSION = 11,       // TLA format version other than 1
    IS_ERR_BAD_GIF = 12,           // not a GIF, zero size, colour table cut short, decoding cannot start
    IS_ERR_CANCELLED = 14,
    IS_ERR_TLA_NO_MEMORY = 14,     // the TLA decoder's own working memory
    IS_ERR_PNG = 15,               // libpng reported an error
    IS_ERR_PNG_STRUCTS = 16,       // libpng's structures could not be created
    IS_ERR_NO_READER = 17,         // no reader for this format at the requested depth
    IS_ERR_TIFF = 20,              // libtiff could not open or read the file
    IS_ERR_BAD_PCX = 22,           // PCX header unreadable or not a usable PCX
    IS_ERR_NO_BITMAP = 23,
    IS_ERR_GET_DIBITS = 25,        // a rendered bitmap could not be read back
    IS_ERR_NO_DIBITS = 26,         // the screen cannot give device-independent bits
    IS_ERR_METAFILE = 27,
    IS_ERR_WRONG_DEPTH = 28,       // the file cannot be delivered at the requested depth
    IS_ERR_BAD_TGA = 32,           // TGA image type, pixel depth, colour map or size not supported
    IS_ERR_BAD_SOURCE = 38,
    IS_ERR_METAFILE_BITS = 41,
    IS_ERR_PSD_SIGNATURE = 46,     // not "8BPS" version 1
    IS_ERR_PSD_UNSUPPORTED = 47,   // bits per channel, colour mode or compression the reader cannot read
    IS_ERR_PROTECTED_TLA = 52,
    IS_ERR_BAD_WBMP = 53,          // not a type-0 WBMP, or a size of 0 or beyond 32 bits
    IS_ERR_NO_THREAD_STATE = 55,
    IS_ERR_BAD_PCD = 63,           // not a Photo CD image pack, or damaged difference data
    IS_ERR_PCD_OVERVIEW = 64,      // a Photo CD overview pack
    IS_ERR_J2K = 1000,             // JPEG 2000 decoding or component error
};

// Codes returned by is_guess_format.
enum : int32_t {
    IS_FORMAT_UNKNOWN = 0,
    IS_FORMAT_BMP = 1,
    IS_FORMAT_GIF = 2,
    IS_FORMAT_JPEG = 3,
    IS_FORMAT_PNG = 4,
    IS_FORMAT_PCX = 5,
    IS_FORMAT_TIFF = 6,
    IS_FORMAT_WMF = 7,
    IS_FORMAT_EMF = 8,
    IS_FORMAT_PAX = 9,
    IS_FORMAT_PSD = 10,
    IS_FORMAT_TLA_PROTECTED = 11,
    IS_FORMAT_TLA = 12,
    IS_FORMAT_WBMP = 13,
    IS_FORMAT_TGA = 14,
    IS_FORMAT_PCD_OVERVIEW = 15,
    IS_FORMAT_PCD = 16,
    IS_FORMAT_JP2 = 17,
    IS_FORMAT_J2K_AT_4 = 18,
    IS_FORMAT_OLE = 19,
};

// A short readable reason for an error code (for messages such as the
// command-line tool's); never null.
const char* is_error_text(int32_t code);
