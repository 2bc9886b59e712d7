// SSE4.1 and AVX2 kernels of the filtered resampler. They keep the reference
// arithmetic (32-bit products and sums, the same rounding and clamping), so
// their results are bit-identical; they only compute several bytes at once.
// The instructions are enabled per function, so the build needs no -march
// flags and the choice is made at run time.
#include "raster/resize_simd.h"

#include "raster/resize_packed.h"

#include <cstring>

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#define TILORA_RESIZE_X86 1
#include <immintrin.h>
#else
#define TILORA_RESIZE_X86 0
#endif

#if TILORA_RESIZE_X86
namespace {

#define TILORA_SSE41 __attribute__((always_inline, target("sse4.1"))) inline

// One byte of the vertical pass, for the bytes a vector does not cover.
uint8_t rows_one_byte(const uint8_t* base, ptrdiff_t stride, const resize_pair* pairs, int32_t count, int32_t i)
{
    int32_t sum = 0;
    for (int32_t k = 0; k < count; ++k)
        sum += base[(ptrdiff_t)pairs[k].offset * stride + i] * pairs[k].weight;
    return resize_clamp(sum);
}

TILORA_SSE41 __m128i widen_4_bytes(const uint8_t* p)
{
    int32_t value;
    std::memcpy(&value, p, 4);
    return _mm_cvtepu8_epi32(_mm_cvtsi32_si128(value));
}

// A 24-bit pixel as four 32-bit lanes (blue, green, red, unused). The byte
// after the pixel is read along where it still lies inside the row.
TILORA_SSE41 __m128i widen_pixel(const uint8_t* row, int32_t offset, int32_t row_bytes)
{
    if (offset + 4 <= row_bytes)
        return widen_4_bytes(row + offset);
    const uint8_t* p = row + offset;
    return _mm_cvtepu8_epi32(_mm_cvtsi32_si128(p[0] | p[1] << 8 | p[2] << 16));
}

// (sum + 32768) >> 16, saturated to 0..255 by the two packs.
TILORA_SSE41 __m128i round_fixed(__m128i sum)
{
    return _mm_srai_epi32(_mm_add_epi32(sum, _mm_set1_epi32(32768)), 16);
}

// The three channel sums of one output pixel from its pair list, for entries
// without a packed window.
TILORA_SSE41 __m128i pairs_sum(const uint8_t* row, int32_t row_bytes, const resize_entry& entry)
{
    __m128i sum = _mm_setzero_si128();
    for (int32_t k = 0; k < entry.count; ++k) {
        const __m128i pixel = widen_pixel(row, entry.pairs[k].offset, row_bytes);
        sum = _mm_add_epi32(sum, _mm_mullo_epi32(pixel, _mm_set1_epi32(entry.pairs[k].weight)));
    }
    return sum;
}

// Stores output pixel i of a row of length last + 1.
TILORA_SSE41 void store_pixel(__m128i sum, uint8_t* out, int32_t i, int32_t last)
{
    const __m128i value = round_fixed(sum);
    const __m128i words = _mm_packs_epi32(value, value);
    const uint32_t packed = (uint32_t)_mm_cvtsi128_si32(_mm_packus_epi16(words, words));
    uint8_t* pixel = out + (ptrdiff_t)i * 3;
    if (i < last) {
        std::memcpy(pixel, &packed, 4);  // the fourth byte is overwritten by the next pixel
    } else {
        pixel[0] = (uint8_t)packed;
        pixel[1] = (uint8_t)(packed >> 8);
        pixel[2] = (uint8_t)(packed >> 16);
    }
}

// Spreads the blue, green and red bytes of pixels 0 and 1 (or 2 and 3) of a
// 16-byte load to 16-bit lanes in the order of the packed weights.
TILORA_SSE41 __m128i pixels_01_mask()
{
    return _mm_setr_epi8(0, -1, 3, -1, 1, -1, 4, -1, 2, -1, 5, -1, -1, -1, -1, -1);
}
TILORA_SSE41 __m128i pixels_23_mask()
{
    return _mm_setr_epi8(6, -1, 9, -1, 7, -1, 10, -1, 8, -1, 11, -1, -1, -1, -1, -1);
}

// Horizontal pass of a 24-bit row: the three channels of one output pixel in
// one vector, four source pixels per step where the entry has a packed window.
__attribute__((target("sse4.1"))) void row_bgr_sse41(const uint8_t* row, int32_t row_bytes,
                                                     const resize_table& table, uint8_t* out)
{
    const resize_packed_view packed = resize_packed_of(table);
    const __m128i mask_01 = pixels_01_mask(), mask_23 = pixels_23_mask();
    for (int32_t i = 0; i < table.length; ++i) {
        __m128i sum = _mm_setzero_si128();
        if (!packed.entries || packed.entries[i].start < 0) {
            sum = pairs_sum(row, row_bytes, table.entries[i]);
        } else {
            const uint8_t* p = row + packed.entries[i].start;
            const int16_t* w = packed.weights + (size_t)i * packed.group_stride * resize_group_weights;
            for (int32_t g = 0; g < packed.entries[i].groups; ++g, p += 12, w += resize_group_weights) {
                const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
                const __m128i w01 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(w));
                const __m128i w23 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(w + 8));
                sum = _mm_add_epi32(sum, _mm_madd_epi16(_mm_shuffle_epi8(bytes, mask_01), w01));
                sum = _mm_add_epi32(sum, _mm_madd_epi16(_mm_shuffle_epi8(bytes, mask_23), w23));
            }
        }
        store_pixel(sum, out, i, table.length - 1);
    }
}

__attribute__((target("avx2"))) void row_bgr_avx2(const uint8_t* row, int32_t row_bytes, const resize_table& table,
                                                  uint8_t* out)
{
    const resize_packed_view packed = resize_packed_of(table);
    const __m256i mask = _mm256_setr_m128i(pixels_01_mask(), pixels_23_mask());
    for (int32_t i = 0; i < table.length; ++i) {
        __m128i sum;
        if (!packed.entries || packed.entries[i].start < 0) {
            sum = pairs_sum(row, row_bytes, table.entries[i]);
        } else {
            const uint8_t* p = row + packed.entries[i].start;
            const int16_t* w = packed.weights + (size_t)i * packed.group_stride * resize_group_weights;
            __m256i sums = _mm256_setzero_si256();
            for (int32_t g = 0; g < packed.entries[i].groups; ++g, p += 12, w += resize_group_weights) {
                const __m256i bytes = _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
                const __m256i weights = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(w));
                sums = _mm256_add_epi32(sums, _mm256_madd_epi16(_mm256_shuffle_epi8(bytes, mask), weights));
            }
            sum = _mm_add_epi32(_mm256_castsi256_si128(sums), _mm256_extracti128_si256(sums, 1));
        }
        store_pixel(sum, out, i, table.length - 1);
    }
}

__attribute__((target("sse4.1"))) void rows_sse41(const uint8_t* base, ptrdiff_t stride, const resize_pair* pairs,
                                                  int32_t count, uint8_t* out, int32_t bytes)
{
    int32_t i = 0;
    for (; i + 16 <= bytes; i += 16) {
        __m128i s0 = _mm_setzero_si128(), s1 = s0, s2 = s0, s3 = s0;
        for (int32_t k = 0; k < count; ++k) {
            const uint8_t* p = base + (ptrdiff_t)pairs[k].offset * stride + i;
            const __m128i w = _mm_set1_epi32(pairs[k].weight);
            s0 = _mm_add_epi32(s0, _mm_mullo_epi32(widen_4_bytes(p), w));
            s1 = _mm_add_epi32(s1, _mm_mullo_epi32(widen_4_bytes(p + 4), w));
            s2 = _mm_add_epi32(s2, _mm_mullo_epi32(widen_4_bytes(p + 8), w));
            s3 = _mm_add_epi32(s3, _mm_mullo_epi32(widen_4_bytes(p + 12), w));
        }
        const __m128i low = _mm_packs_epi32(round_fixed(s0), round_fixed(s1));
        const __m128i high = _mm_packs_epi32(round_fixed(s2), round_fixed(s3));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(low, high));
    }
    for (; i < bytes; ++i)
        out[i] = rows_one_byte(base, stride, pairs, count, i);
}

__attribute__((always_inline, target("avx2"))) inline __m256i widen_8_bytes(const uint8_t* p)
{
    return _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)));
}

__attribute__((always_inline, target("avx2"))) inline __m256i round_fixed_256(__m256i sum)
{
    return _mm256_srai_epi32(_mm256_add_epi32(sum, _mm256_set1_epi32(32768)), 16);
}

__attribute__((target("avx2"))) void rows_avx2(const uint8_t* base, ptrdiff_t stride, const resize_pair* pairs,
                                               int32_t count, uint8_t* out, int32_t bytes)
{
    // The packs work within 128-bit lanes; this puts the 32-bit groups back
    // in memory order.
    const __m256i order = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
    int32_t i = 0;
    for (; i + 32 <= bytes; i += 32) {
        __m256i s0 = _mm256_setzero_si256(), s1 = s0, s2 = s0, s3 = s0;
        for (int32_t k = 0; k < count; ++k) {
            const uint8_t* p = base + (ptrdiff_t)pairs[k].offset * stride + i;
            const __m256i w = _mm256_set1_epi32(pairs[k].weight);
            s0 = _mm256_add_epi32(s0, _mm256_mullo_epi32(widen_8_bytes(p), w));
            s1 = _mm256_add_epi32(s1, _mm256_mullo_epi32(widen_8_bytes(p + 8), w));
            s2 = _mm256_add_epi32(s2, _mm256_mullo_epi32(widen_8_bytes(p + 16), w));
            s3 = _mm256_add_epi32(s3, _mm256_mullo_epi32(widen_8_bytes(p + 24), w));
        }
        const __m256i low = _mm256_packs_epi32(round_fixed_256(s0), round_fixed_256(s1));
        const __m256i high = _mm256_packs_epi32(round_fixed_256(s2), round_fixed_256(s3));
        const __m256i packed = _mm256_permutevar8x32_epi32(_mm256_packus_epi16(low, high), order);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), packed);
    }
    for (; i + 8 <= bytes; i += 8) {
        __m256i sum = _mm256_setzero_si256();
        for (int32_t k = 0; k < count; ++k) {
            const uint8_t* p = base + (ptrdiff_t)pairs[k].offset * stride + i;
            sum = _mm256_add_epi32(sum, _mm256_mullo_epi32(widen_8_bytes(p), _mm256_set1_epi32(pairs[k].weight)));
        }
        const __m256i value = round_fixed_256(sum);
        const __m256i words = _mm256_packs_epi32(value, value);
        const __m256i packed = _mm256_permutevar8x32_epi32(_mm256_packus_epi16(words, words), order);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i), _mm256_castsi256_si128(packed));
    }
    for (; i < bytes; ++i)
        out[i] = rows_one_byte(base, stride, pairs, count, i);
}

}  // namespace
#endif

const resize_simd_kernels* resize_simd_kernels_for(resize_path path)
{
#if TILORA_RESIZE_X86
    static const resize_simd_kernels sse41 = {resize_pack_bgr, row_bgr_sse41, rows_sse41};
    static const resize_simd_kernels avx2 = {resize_pack_bgr, row_bgr_avx2, rows_avx2};
    __builtin_cpu_init();
    if (path == resize_path::avx2 && __builtin_cpu_supports("avx2"))
        return &avx2;
    if (path == resize_path::sse41 && __builtin_cpu_supports("sse4.1"))
        return &sse41;
#endif
    (void)path;
    return nullptr;
}
