// Relief lighting: the height map's slope at each pixel gives a surface
// normal, the light's intensity on it a shade that darkens or lightens the
// pixel's colour bytes. A flat surface gets the shade of (0, 0, 1).
#include <cmath>
#include <cstddef>
#include <cstring>

#include "face/face_areas.h"
#include "face/face_effects.h"
#include "raster/image_rows.h"

namespace {

double dot(const vector3& a, const vector3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

vector3 normalised(const vector3& v)
{
    const double length = std::sqrt(dot(v, v));
    return {v.x / length, v.y / length, v.z / length};
}

double intensity(const lighting& light, const vector3& normal)
{
    double sum = light.ambient * light.ambient_level;
    const double facing = dot(normal, light.direction);
    if (facing > 0)
        sum += light.diffuse * light.intensity * facing;
    const vector3 reflected = {2 * facing * normal.x - light.direction.x, 2 * facing * normal.y - light.direction.y,
                               2 * facing * normal.z - light.direction.z};
    const double towards_viewer = dot(reflected, light.view);
    if (towards_viewer > 0) {
        const double highlight = light.specular_exponent == 1.0
                                     ? towards_viewer
                                     : std::pow(towards_viewer, light.specular_exponent);
        sum += light.specular * light.intensity * highlight;
    }
    return sum;
}

// Intensity as a byte level, rounded; lights brighter than 1 or darker than 0
// (and lights that are not numbers) end at the nearer end of the scale.
int intensity_level(const lighting& light, const vector3& normal)
{
    const double level = intensity(light, normal) * 255 + 0.5;
    if (!(level >= 0))
        return 0;
    return level > 255 ? 255 : (int)level;
}

// A pixel's height differences towards its neighbours: which formula they
// feed, and the differences themselves, so that a row of equal slopes is lit
// once.
struct slope {
    int kind;  // 0 edge normal (nx, ny), 1 inside (a, b, k, e)
    int d[4];
    bool operator==(const slope&) const = default;
};

vector3 surface_normal(const slope& s, double g)
{
    if (s.kind == 0)
        return normalised({g * s.d[0], g * s.d[1], 1.0});
    const vector3 before = normalised({g * s.d[0], g * s.d[1], 1.0});
    const vector3 after = normalised({-g * s.d[2], -g * s.d[3], 1.0});
    return normalised({(before.x + after.x) / 2, (before.y + after.y) / 2, (before.z + after.z) / 2});
}

// Pixels on the first row or column use the neighbour ahead where there is
// one; pixels on the last row or column the neighbours behind; a line of one
// pixel has no slope along it.
slope slope_at(const raster_image* map, int32_t x, int32_t y)
{
    const uint8_t* row = color_row(map, y);
    const int f = row[x];
    const bool has_left = x > 0, has_right = x + 1 < map->width;
    const bool has_up = y > 0, has_down = y + 1 < map->height;
    const int left = has_left ? row[x - 1] : f, right = has_right ? row[x + 1] : f;
    const int up = has_up ? color_row(map, y - 1)[x] : f, down = has_down ? color_row(map, y + 1)[x] : f;
    if (!has_left || !has_up) {
        const int nx = has_right ? f - right : left - f;
        const int ny = has_down ? down - f : f - up;
        return {0, {nx, ny, 0, 0}};
    }
    if (!has_right || !has_down)
        return {0, {left - f, f - up, 0, 0}};
    return {1, {left - f, f - up, right - f, f - down}};
}

// Inside the map every neighbour is there; only pixels on its edges need
// slope_at's choices.
slope inner_slope(const uint8_t* row, ptrdiff_t stride, int32_t x)
{
    const int f = row[x];
    return {1, {row[x - 1] - f, f - row[x - stride], row[x + 1] - f, f - row[x + stride]}};
}

uint8_t shaded(int value, int shade)
{
    if (shade <= 0)
        return (uint8_t)(value * (shade + 128) >> 7);
    return (uint8_t)((shade * 255 + (127 - shade) * value) / 127);
}

// The last pixel shaded: rows of the colour plate are often of one colour
// and one shade, and then the bytes are reused.
struct shaded_pixel {
    int shade = -1000;
    uint8_t in[3] = {}, out[3] = {};
};

template <int channels>
void shade_pixel(uint8_t* pixel, int shade, shaded_pixel& last)
{
    if (shade != last.shade || std::memcmp(pixel, last.in, channels) != 0) {
        last.shade = shade;
        std::memcpy(last.in, pixel, channels);
        for (int c = 0; c < channels; ++c)
            last.out[c] = shaded(pixel[c], shade);
    }
    std::memcpy(pixel, last.out, channels);
}

}  // namespace

void emboss_area(raster_image* image, const raster_image* height_map, int32_t left, int32_t top,
                 const lighting* light, double depth)
{
    const int channels = pixel_color_bytes(image->type);
    if ((channels != 1 && channels != 3) || pixel_color_bytes(height_map->type) != 1 || left < 0 || top < 0 ||
        (int64_t)left + image->width > height_map->width || (int64_t)top + image->height > height_map->height)
        return;
    const lighting defaults;
    const lighting& lit = light ? *light : defaults;
    const int flat = intensity_level(lit, {0.0, 0.0, 1.0});
    const double g = depth / 255;
    const int32_t width = image->width, height = image->height;
    const int32_t map_width = height_map->width, map_height = height_map->height;
    const ptrdiff_t map_stride = height_map->stride;
    for (int32_t y = 0; y < height; ++y) {
        const int32_t map_y = top + y;
        const uint8_t* map_row = color_row(height_map, map_y);
        const bool inner_row = map_y > 0 && map_y + 1 < map_height;
        uint8_t* out = color_row(image, y);
        slope last = {-1, {}};
        int shade = 0;
        shaded_pixel last_pixel;
        for (int32_t x = 0; x < width; ++x, out += channels) {
            const int32_t map_x = left + x;
            const slope here = inner_row && map_x > 0 && map_x + 1 < map_width
                                   ? inner_slope(map_row, map_stride, map_x)
                                   : slope_at(height_map, map_x, map_y);
            if (here.kind == 1 && flat == 128 && here.d[0] == 0 && here.d[1] == 0 && here.d[2] == 0 &&
                here.d[3] == 0)
                continue;
            if (!(here == last)) {
                shade = intensity_level(lit, surface_normal(here, g)) - 128;
                last = here;
            }
            if (channels == 1)
                shade_pixel<1>(out, shade, last_pixel);
            else
                shade_pixel<3>(out, shade, last_pixel);
        }
    }
}

void image_emboss(raster_image* image, const raster_image* height_map, const lighting* light, double depth)
{
    if (image->width == height_map->width && image->height == height_map->height)
        emboss_area(image, height_map, 0, 0, light, depth);
}
