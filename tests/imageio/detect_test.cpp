// Format detection: the signature table, the WBMP and TGA tie-breaks, the
// Photo CD probe and the extension fallback.
#include "imageio/detect.h"
#include "imageio/reader_table.h"
#include "tests/imageio/test_support.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

std::vector<uint8_t> bytes_of(const char* text, size_t length, size_t total = 64)
{
    std::vector<uint8_t> data(total, 0x55);
    std::memcpy(data.data(), text, length);
    return data;
}

int32_t guess(const std::vector<uint8_t>& data, int32_t* error = nullptr)
{
    memory_source source(data);
    const int32_t code = is_guess_format(source.get());
    if (error)
        *error = is_get_last_error();
    return code;
}

int32_t guess_file(const std::string& name, const std::vector<uint8_t>& data, int32_t* error = nullptr)
{
    temp_file file(name, data);
    ISSourceRecord* source = is_open_file_source(file.path());
    const int32_t code = is_guess_format(source);
    if (error)
        *error = is_get_last_error();
    is_close_source(source);
    return code;
}

TEST(Detect, SignaturesAtTheStart)
{
    struct row {
        const char* bytes;
        size_t length;
        int32_t code;
    };
    const row rows[] = {
        {"BM", 2, 1}, {"PAX", 3, 9}, {"GIF89a", 6, 2}, {"GIF87a", 6, 2},
        {"\xFF\xD8\xFF\xE0", 4, 3}, {"\xFF\xD8\xFF\xE1", 4, 3},
        {"\x0A\x00", 2, 5}, {"\x0A\x02", 2, 5}, {"\x0A\x03", 2, 5}, {"\x0A\x05", 2, 5},
        {"MM\x00\x2A", 4, 6}, {"II\x2A\x00", 4, 6}, {"\x89PNG\r\n\x1A\n", 8, 4},
        {"\x01\x00\x09\x00\x00", 5, 7}, {"\xD7\xCD\xC6\x9A", 4, 7}, {"8BPS", 4, 10},
        {"TLA\x01", 4, 11}, {"TLAU", 4, 12}, {"PCD_OPA", 7, 15}, {"\xFF\x4F\xFF\x51", 4, 17},
        {"\xD0\xCF\x11\xE0", 4, 19},
    };
    for (const row& r : rows)
        EXPECT_EQ(guess(bytes_of(r.bytes, r.length)), r.code) << r.code;

    // Signatures at offsets 4 and 40.
    EXPECT_EQ(guess(bytes_of("\0\0\0\x0CjP  \r\n", 10)), 17);
    EXPECT_EQ(guess(bytes_of("\0\0\0\x0C\xFF\x4F", 6)), 18);
    std::vector<uint8_t> emf = bytes_of("\x01\0\0\0", 4);
    std::memcpy(emf.data() + 40, " EMF", 4);
    EXPECT_EQ(guess(emf), 8);
}

TEST(Detect, RowsMatchOnlyWhenEnoughBytesWereRead)
{
    EXPECT_EQ(guess(bytes_of("GIF89a", 6, 6)), 2);
    EXPECT_EQ(guess(bytes_of("\xFF\xD8\xFF", 3, 3)), 3);
    // 43 bytes cannot hold the EMF signature at 40 to 43.
    std::vector<uint8_t> short_emf = bytes_of("\x01\0\0\0", 4, 43);
    std::memcpy(short_emf.data() + 40, " EM", 3);
    int32_t error = 0;
    EXPECT_EQ(guess(short_emf, &error), 0);
    EXPECT_EQ(error, 0);
}

TEST(Detect, ContentWinsOverTheExtension)
{
    EXPECT_EQ(guess_file("photo.png", bytes_of("\xFF\xD8\xFF\xE0", 4)), 3);
    EXPECT_EQ(guess_file("photo.tga", bytes_of("\x89PNG\r\n\x1A\n", 8)), 4);
}

TEST(Detect, TwoZeroBytesAreSettledByExtensionThenFooter)
{
    std::vector<uint8_t> plain(100, 0);
    std::vector<uint8_t> with_footer = plain;
    std::memcpy(with_footer.data() + 82, "TRUEVISION-XFILE.", 18);
    EXPECT_EQ(guess_file("a.tga", plain), 14);
    EXPECT_EQ(guess_file("a.TGA", with_footer), 14);
    EXPECT_EQ(guess_file("a.wbmp", with_footer), 13);
    EXPECT_EQ(guess_file("a.wbm", plain), 13);
    EXPECT_EQ(guess_file("a.bin", with_footer), 14);
    EXPECT_EQ(guess_file("a.bin", plain), 13);
    EXPECT_EQ(guess(with_footer), 14);
    // No signature, but a TGA footer.
    std::vector<uint8_t> tga = with_footer;
    tga[0] = 5;
    EXPECT_EQ(guess(tga), 14);
}

TEST(Detect, PhotoCdImagePackIsFoundInItsSecondSector)
{
    std::vector<uint8_t> pack(3000, 0);
    pack[0] = 7;  // no signature, as a headerless TGA
    std::memcpy(pack.data() + 2048, "PCD_IPI", 7);
    EXPECT_EQ(guess_file("scan.xyz", pack), 16);
    EXPECT_EQ(guess(pack), 16);

    std::vector<uint8_t> unknown(1000, 7);
    int32_t error = 0;
    EXPECT_EQ(guess_file("scan.xyz", unknown, &error), 0);
    EXPECT_EQ(error, 3);  // the probe at 2048 read nothing
    EXPECT_EQ(guess(unknown, &error), 0);
    EXPECT_EQ(error, 0);  // a memory block cannot even seek there
}

TEST(Detect, EmptyOrTinySources)
{
    int32_t error = 0;
    EXPECT_EQ(guess_file("empty.bmp", {}, &error), 0);
    EXPECT_EQ(error, 3);
    EXPECT_EQ(guess(bytes_of("\x07", 1, 1), &error), 0);
    EXPECT_EQ(error, 3);  // too short for a footer
}

TEST(Detect, ExtensionFallback)
{
    struct row {
        const char* name;
        int32_t reader;
    };
    const row rows[] = {
        {"a.bmp", READER_BMP}, {"a.WBMP", READER_WBMP}, {"a.wbm", READER_WBMP}, {"a.pcd", READER_PCD},
        {"a.gif", READER_GIF}, {"a.tga", READER_TGA}, {"a.jpeg", READER_JPEG}, {"A.JPG", READER_JPEG},
        {"a.tif", READER_TIFF}, {"a.tiff", READER_TIFF}, {"a.pcx", READER_PCX}, {"a.psd", READER_PSD},
        {"a.tla", READER_TLA}, {"a.png", READER_PNG}, {"a.wmf", READER_WMF}, {"a.emf", READER_EMF},
        {"a.jp2", READER_UNKNOWN}, {"noextension", READER_UNKNOWN}, {"dir.bmp/file", READER_UNKNOWN},
        {"C:\\pics.v2\\file", READER_UNKNOWN}, {"", READER_UNKNOWN}, {"a.tar.gif", READER_GIF},
    };
    for (const row& r : rows)
        EXPECT_EQ(reader_index_from_extension(r.name), r.reader) << r.name;

    // Recognised formats without a reader fall back to the extension.
    EXPECT_EQ(reader_index_for(IS_FORMAT_PAX, "x.bmp"), READER_BMP);
    EXPECT_EQ(reader_index_for(IS_FORMAT_OLE, "x.psd"), READER_PSD);
    EXPECT_EQ(reader_index_for(IS_FORMAT_JP2, "x.jp2"), READER_UNKNOWN);
    EXPECT_EQ(reader_index_for(IS_FORMAT_PNG, "x.bmp"), READER_PNG);
    EXPECT_EQ(reader_index_for(IS_FORMAT_TLA_PROTECTED, ""), READER_TLA_PROTECTED);
}

}  // namespace
