#include "imageio/readers/exif.h"

#include "imageio/thread_state.h"

#include <libexif/exif-data.h>

#include <cstring>

namespace {

constexpr uint8_t exif_header[6] = {'E', 'x', 'i', 'f', 0, 0};
constexpr int32_t as_stored = 1;

bool is_exif(const uint8_t* app1, size_t size)
{
    return app1 && size > sizeof exif_header && std::memcmp(app1, exif_header, sizeof exif_header) == 0;
}

}  // namespace

int32_t exif_orientation(const uint8_t* app1, size_t size)
{
    if (!is_exif(app1, size) || size > 0xFFFF)
        return as_stored;
    ExifData* data = exif_data_new();
    if (!data)
        return as_stored;
    // Read what is there; do not let the library add or repair tags.
    exif_data_unset_option(data, EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_load_data(data, app1, (unsigned int)size);
    int32_t orientation = as_stored;
    ExifEntry* entry = exif_content_get_entry(data->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION);
    if (entry && entry->format == EXIF_FORMAT_SHORT && entry->components == 1 && entry->data && entry->size >= 2) {
        const ExifShort value = exif_get_short(entry->data, exif_data_get_byte_order(data));
        if (value >= 1 && value <= 8)
            orientation = value;
    }
    exif_data_unref(data);
    return orientation;
}

int32_t is_last_jpeg_orientation()
{
    const ISThreadState* state = is_thread_state();
    if (!state)
        return as_stored;
    for (const is_jpeg_marker& marker : state->jpeg.markers)
        if (marker.code == 0xE1 && is_exif(marker.bytes.data(), marker.bytes.size()))
            return exif_orientation(marker.bytes.data(), marker.bytes.size());
    return as_stored;
}
