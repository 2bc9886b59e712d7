// The EXIF orientation of a JPEG: how the camera held the picture, so that
// the application can turn it the right way up. The JPEG read itself keeps
// delivering the pixels as stored; the saved APP1 marker of the last read is
// what this looks at.
#pragma once
#include <cstddef>
#include <cstdint>

// The Orientation tag (1 to 8) of an APP1 marker's bytes ("Exif", two zero
// bytes, then a TIFF structure); 1, the picture as stored, when the marker is
// not EXIF, has no such tag, is damaged, or holds a value outside 1 to 8.
int32_t exif_orientation(const uint8_t* app1, size_t size);

// The orientation of the last JPEG read on this thread: that of its first
// EXIF APP1 marker, 1 when it has none.
int32_t is_last_jpeg_orientation();
