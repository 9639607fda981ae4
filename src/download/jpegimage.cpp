#include "jpegimage.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {

// Our artwork is a few hundred pixels wide; a header claiming more than this is not ours, and
// refusing it keeps a hostile file from asking for gigabytes.
constexpr unsigned kMaxSide = 8192;

// libjpeg reports errors through a callback that must not return; it jumps back to the
// decoder instead, which then gives up on the picture.
struct ErrorTrap {
    jpeg_error_mgr mgr;
    std::jmp_buf back;
};

[[noreturn]] void bail(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorTrap*>(info->err)->back, 1);
}

// Warnings (level -1) mean damaged data that libjpeg would paper over; we refuse it.
void strictMessage(j_common_ptr info, int level) {
    if (level < 0) bail(info);
}

// Copies the decoded scanlines into an RGB image; runs between setjmp and any longjmp, so it
// holds no object with a destructor of its own.
bool readScanlines(jpeg_decompress_struct& info, QImage& image) {
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.scanLine(int(info.output_scanline));
        if (jpeg_read_scanlines(&info, &row, 1) != 1) return false;
    }
    return true;
}

// Every libjpeg call happens here, between setjmp and any longjmp; the only object with a
// destructor, the image, belongs to the caller.
bool decodeInto(const QByteArray& data, QImage& image) {
    jpeg_decompress_struct info{};
    ErrorTrap trap{};
    info.err = jpeg_std_error(&trap.mgr);
    trap.mgr.error_exit = bail;
    trap.mgr.emit_message = strictMessage;
    if (setjmp(trap.back)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    if (info.image_width > kMaxSide || info.image_height > kMaxSide) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    // Straight into the layout a screen pixmap uses, so showing it needs no converted copy.
    static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "BGRA bytes make a 32-bit 0xAARRGGBB word");
    info.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&info);
    image = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB32);
    const bool whole = !image.isNull() && readScanlines(info, image);
    if (whole) jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return whole;
}

} // namespace

QImage decodeJpeg(const QByteArray& data) {
    QImage image;
    if (data.isEmpty() || !decodeInto(data, image)) return {};
    return image;
}
