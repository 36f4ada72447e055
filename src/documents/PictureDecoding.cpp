#include "documents/PictureDecoding.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

// Pictures that arrive in archives are decoded here with Debian's libpng and
// libjpeg directly, with the error handling each library requires (JUCE 7.0.5's
// loaders return from their error handlers, which lets damaged files crash the
// program). GIF is not taken from archives: the program's own pictures are PNG.

namespace T730
{
namespace
{
    bool withinLimits (juce::int64 width, juce::int64 height) noexcept
    {
        return width > 0 && height > 0 && width <= largestModulePictureSide && height <= largestModulePictureSide
               && width * height <= largestModulePicturePixels;
    }

    bool isPng (const juce::uint8* d, size_t n) noexcept
    {
        return n >= 8 && png_sig_cmp (const_cast<png_bytep> (d), 0, 8) == 0;
    }

    bool isJpeg (const juce::uint8* d, size_t n) noexcept
    {
        return n >= 3 && d[0] == 0xff && d[1] == 0xd8 && d[2] == 0xff;
    }

    //==============================================================================
    /** libpng's simplified interface: it keeps its own jumps inside the library
        and answers 0 for any damage. */
    struct PngReader
    {
        PngReader (const juce::uint8* d, size_t n)
        {
            image.version = PNG_IMAGE_VERSION;
            ok = png_image_begin_read_from_memory (&image, d, n) != 0;
        }

        ~PngReader() { png_image_free (&image); }

        png_image image {};
        bool ok = false;
    };

    juce::Image decodePng (const juce::uint8* d, size_t n)
    {
        PngReader reader (d, n);
        if (! reader.ok || ! withinLimits (reader.image.width, reader.image.height))
            return {};

        const int width = (int) reader.image.width, height = (int) reader.image.height;
        juce::Image picture (juce::Image::ARGB, width, height, false);
        juce::Image::BitmapData bits (picture, juce::Image::BitmapData::readWrite);

        // JUCE's ARGB pixels lie in memory as B, G, R, A (premultiplied below).
        reader.image.format = PNG_FORMAT_BGRA;
        if (png_image_finish_read (&reader.image, nullptr, bits.data, (png_int_32) bits.lineStride, nullptr) == 0)
            return {};

        for (int y = 0; y < height; ++y)
        {
            auto* pixel = reinterpret_cast<juce::PixelARGB*> (bits.getLinePointer (y));
            for (int x = 0; x < width; ++x)
                pixel[x].premultiply();
        }

        return picture;
    }

    //==============================================================================
    struct JpegErrors
    {
        jpeg_error_mgr manager;
        std::jmp_buf jump;
    };

    void jpegErrorExit (j_common_ptr info)
    {
        // libjpeg requires that this never returns.
        std::longjmp (reinterpret_cast<JpegErrors*> (info->err)->jump, 1);
    }

    void jpegSilentMessage (j_common_ptr) {}

    /** Decodes into 8-bit RGB rows allocated with malloc (freed by the caller);
        null on any damage or a size beyond the limits. Only plain C data lives in
        this function, so the jump out of libjpeg skips no destructor. */
    unsigned char* decodeJpegRows (const juce::uint8* d, size_t n, int& width, int& height)
    {
        jpeg_decompress_struct info {};
        JpegErrors errors {};
        unsigned char* volatile rows = nullptr;

        info.err = jpeg_std_error (&errors.manager);
        errors.manager.error_exit = jpegErrorExit;
        errors.manager.output_message = jpegSilentMessage;

        if (setjmp (errors.jump) != 0)
        {
            jpeg_destroy_decompress (&info);
            std::free (rows);
            return nullptr;
        }

        jpeg_create_decompress (&info);
        jpeg_mem_src (&info, d, (unsigned long) n);

        if (jpeg_read_header (&info, TRUE) != JPEG_HEADER_OK
            || ! withinLimits (info.image_width, info.image_height))
        {
            jpeg_destroy_decompress (&info);
            return nullptr;
        }

        info.out_color_space = JCS_RGB;
        jpeg_start_decompress (&info);

        if (info.output_components != 3 || ! withinLimits (info.output_width, info.output_height))
        {
            jpeg_destroy_decompress (&info);
            return nullptr;
        }

        const size_t stride = (size_t) info.output_width * 3;
        rows = static_cast<unsigned char*> (std::malloc (stride * info.output_height));
        if (rows == nullptr)
        {
            jpeg_destroy_decompress (&info);
            return nullptr;
        }

        while (info.output_scanline < info.output_height)
        {
            JSAMPROW row = rows + (size_t) info.output_scanline * stride;
            jpeg_read_scanlines (&info, &row, 1);
        }

        width = (int) info.output_width;
        height = (int) info.output_height;
        jpeg_finish_decompress (&info);
        jpeg_destroy_decompress (&info);
        return rows;
    }

    juce::Image decodeJpeg (const juce::uint8* d, size_t n)
    {
        int width = 0, height = 0;
        std::unique_ptr<unsigned char, decltype (&std::free)> rows (decodeJpegRows (d, n, width, height), &std::free);
        if (rows == nullptr)
            return {};

        juce::Image picture (juce::Image::ARGB, width, height, false);
        juce::Image::BitmapData bits (picture, juce::Image::BitmapData::writeOnly);

        for (int y = 0; y < height; ++y)
        {
            const auto* source = rows.get() + (size_t) y * (size_t) width * 3;
            auto* pixel = reinterpret_cast<juce::PixelARGB*> (bits.getLinePointer (y));
            for (int x = 0; x < width; ++x, source += 3)
                pixel[x].setARGB (255, source[0], source[1], source[2]);
        }

        return picture;
    }

    /** The size the decoder's own header read finds; false when it finds none. */
    bool jpegSize (const juce::uint8* d, size_t n, juce::int64& width, juce::int64& height)
    {
        jpeg_decompress_struct info {};
        JpegErrors errors {};
        info.err = jpeg_std_error (&errors.manager);
        errors.manager.error_exit = jpegErrorExit;
        errors.manager.output_message = jpegSilentMessage;

        if (setjmp (errors.jump) != 0)
        {
            jpeg_destroy_decompress (&info);
            return false;
        }

        jpeg_create_decompress (&info);
        jpeg_mem_src (&info, d, (unsigned long) n);
        const bool read = jpeg_read_header (&info, TRUE) == JPEG_HEADER_OK;
        width = info.image_width;
        height = info.image_height;
        jpeg_destroy_decompress (&info);
        return read;
    }
} // namespace

bool isAcceptablePictureSize (const void* data, size_t size)
{
    const auto* d = static_cast<const juce::uint8*> (data);
    if (d == nullptr || size == 0)
        return false;

    if (isPng (d, size))
    {
        PngReader reader (d, size);
        return reader.ok && withinLimits (reader.image.width, reader.image.height);
    }

    juce::int64 width = 0, height = 0;
    return isJpeg (d, size) && jpegSize (d, size, width, height) && withinLimits (width, height);
}

juce::Image decodeModulePicture (const juce::MemoryBlock& data)
{
    const auto* d = static_cast<const juce::uint8*> (data.getData());
    const auto n = data.getSize();

    if (d == nullptr || n == 0)
        return {};
    if (isPng (d, n))
        return decodePng (d, n);
    if (isJpeg (d, n))
        return decodeJpeg (d, n);
    return {};
}

} // namespace T730
