// PNG output through libpng, written to a temporary file and renamed into place.
#include "PngWriter.h"

#include <png.h>
#include <zlib.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace atlasgen {
namespace {

constexpr png_uint_32 pixelsPerMetre = 2835; // 72 dots per inch
constexpr png_size_t idatBytes = 8192;

char pngError[256];

void onPngError(png_structp png, png_const_charp message) {
    std::snprintf(pngError, sizeof pngError, "%s", message);
    png_longjmp(png, 1);
}

void onPngWarning(png_structp, png_const_charp) {}

// Returns nullptr on success, or libpng's message. Kept free of objects with destructors, since
// libpng reports errors with longjmp.
const char* encode(std::FILE* file, int width, int height, png_bytep* rows) {
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, onPngError, onPngWarning);
    if (png == nullptr) {
        return "cannot create the PNG writer";
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return "cannot create the PNG header";
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return pngError;
    }
    png_init_io(png, file);
    png_set_compression_buffer_size(png, idatBytes);
    png_set_compression_level(png, 9);
    png_set_compression_mem_level(png, 8);
    png_set_compression_window_bits(png, 15);
    png_set_compression_strategy(png, Z_FILTERED);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_ALL_FILTERS);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_color_8 significant = {};
    significant.red = significant.green = significant.blue = significant.alpha = 8;
    png_set_sBIT(png, info, &significant);
    png_set_pHYs(png, info, pixelsPerMetre, pixelsPerMetre, PNG_RESOLUTION_METER);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return nullptr;
}

} // namespace

void writePng(const RgbaImage& image, const std::string& path) {
    const std::string temporary = path + ".partial";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr) {
        throw std::runtime_error("cannot create " + temporary + ": " + std::strerror(errno));
    }
    std::vector<png_bytep> rows(static_cast<size_t>(image.height()));
    png_bytep pixels = const_cast<png_bytep>(image.bytes().data());
    for (int y = 0; y < image.height(); ++y) {
        rows[static_cast<size_t>(y)] = pixels + static_cast<size_t>(y) * image.width() * 4;
    }
    const char* failure = encode(file, image.width(), image.height(), rows.data());
    std::string reason = failure != nullptr ? failure : "";
    if (std::fflush(file) != 0 && reason.empty()) {
        reason = std::strerror(errno);
    }
    if (std::fclose(file) != 0 && reason.empty()) {
        reason = std::strerror(errno);
    }
    if (reason.empty() && std::rename(temporary.c_str(), path.c_str()) != 0) {
        reason = std::string("cannot rename into place: ") + std::strerror(errno);
    }
    if (!reason.empty()) {
        std::remove(temporary.c_str());
        throw std::runtime_error("cannot write " + path + ": " + reason);
    }
}

} // namespace atlasgen
