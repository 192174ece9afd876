// JPEG decoding as bytes arrive, through libjpeg's suspending data source: when the bytes run out
// the library returns "suspended" and the decoder resumes where it stopped once more arrive. Fatal
// errors longjmp back into feed(), whose frame and the source callbacks hold only trivially
// destructible locals.
#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

#include "graphics/progressive_decoder.h"

namespace plat::detail {

namespace {

class JpegDecoder : public ProgressiveDecoder {
public:
    explicit JpegDecoder(double scale) : _scale(scale) {
        _info.err = jpeg_std_error(&_errors.base);
        _errors.base.error_exit = onFatalError;
        _errors.base.emit_message = [](j_common_ptr, int) {};
        _errors.owner = this;
        jpeg_create_decompress(&_info);
        _source.base.init_source = [](j_decompress_ptr) {};
        _source.base.fill_input_buffer = [](j_decompress_ptr) -> boolean { return FALSE; };  // suspend
        _source.base.skip_input_data = onSkip;
        _source.base.resync_to_restart = jpeg_resync_to_restart;
        _source.base.term_source = [](j_decompress_ptr) {};
        _source.base.next_input_byte = nullptr;
        _source.base.bytes_in_buffer = 0;
        _source.owner = this;
        _info.src = &_source.base;
    }

    ~JpegDecoder() override { jpeg_destroy_decompress(&_info); }

    bool feed(std::span<const std::uint8_t> bytes) override {
        if (hasFailed()) return false;
        if (isComplete()) return true;
        keep(bytes);
        if (setjmp(_errors.jump)) {
            fail(_errors.message);
            return false;
        }
        advance();
        return !hasFailed();
    }

    // An arithmetic-coded image waits for its last byte (see advance()); it is decoded now as the
    // whole-buffer decoder reads it, and refused likewise when its data ends before the image does.
    void finish() override {
        if (hasFailed() || isComplete() || _stage != Stage::Gather) return;
        _source.base.fill_input_buffer = onEndOfData;
        _stage = Stage::Start;
        if (setjmp(_errors.jump)) {
            fail(_errors.message);
            return;
        }
        advance();
        if (_errors.ranOut) fail("the data ends before the image does");
        if (!hasFailed() && !isComplete()) fail("the data ends before the image does");
    }

private:
    enum class Stage { Header, Gather, Start, Rows, Finish, Done };

    struct Errors {
        jpeg_error_mgr base;
        std::jmp_buf jump;
        char message[JMSG_LENGTH_MAX + 32] = {};
        bool ranOut = false;
        JpegDecoder* owner = nullptr;
    };
    struct Source {
        jpeg_source_mgr base;
        JpegDecoder* owner = nullptr;
    };

    static void onFatalError(j_common_ptr info) {
        auto* errors = reinterpret_cast<Errors*>(info->err);
        char text[JMSG_LENGTH_MAX] = {};
        info->err->format_message(info, text);
        std::snprintf(errors->message, sizeof errors->message, "broken JPEG data: %s", text);
        std::longjmp(errors->jump, 1);
    }

    // After the last byte: the end of an image whose data stops short, as libjpeg's memory source
    // ends one (a warning, then an end marker so that the rest is filled in).
    static boolean onEndOfData(j_decompress_ptr info) {
        static const JOCTET end[] = {0xFF, JPEG_EOI};
        reinterpret_cast<Errors*>(info->err)->ranOut = true;
        info->src->next_input_byte = end;
        info->src->bytes_in_buffer = sizeof end;
        return TRUE;
    }

    // A skip past the bytes at hand is finished when more arrive.
    static void onSkip(j_decompress_ptr info, long count) {
        if (count <= 0) return;
        auto* source = reinterpret_cast<Source*>(info->src);
        const std::size_t n = static_cast<std::size_t>(count);
        if (n <= source->base.bytes_in_buffer) {
            source->base.next_input_byte += n;
            source->base.bytes_in_buffer -= n;
        } else {
            source->owner->_skip += n - source->base.bytes_in_buffer;
            source->base.next_input_byte += source->base.bytes_in_buffer;
            source->base.bytes_in_buffer = 0;
        }
    }

    // Drops what libjpeg has used, then adds the new bytes (a pending skip first eats into them).
    void keep(std::span<const std::uint8_t> bytes) {
        const std::size_t used = _source.base.next_input_byte ? _source.base.next_input_byte - _pending.data() : 0;
        _pending.erase(_pending.begin(), _pending.begin() + static_cast<std::ptrdiff_t>(used));
        const std::size_t skipped = std::min(_skip, bytes.size());
        _skip -= skipped;
        _pending.insert(_pending.end(), bytes.begin() + static_cast<std::ptrdiff_t>(skipped), bytes.end());
        _source.base.next_input_byte = _pending.data();
        _source.base.bytes_in_buffer = _pending.size();
    }

    // Runs the stages as far as the bytes allow; returns when libjpeg suspends.
    void advance() {
        if (_stage == Stage::Header) {
            const int header = jpeg_read_header(&_info, TRUE);
            if (header == JPEG_SUSPENDED) return;
            if (header != JPEG_HEADER_OK) {
                fail("a JPEG without an image");
                return;
            }
            _info.out_color_space = JCS_RGB;
            // The size is known from the header alone: checked before libjpeg takes pixel memory.
            jpeg_calc_output_dimensions(&_info);
            if (!allocate(_info.output_width, _info.output_height, _scale, "a JPEG")) return;
            _row.assign(static_cast<std::size_t>(_info.output_width) * _info.output_components, 0);
            // libjpeg's arithmetic decoder cannot suspend in the middle of a scan: such an image
            // keeps its bytes until the last one has arrived (finish()).
            _stage = _info.arith_code ? Stage::Gather : Stage::Start;
        }
        if (_stage == Stage::Gather) return;
        if (_stage == Stage::Start) {
            if (!jpeg_start_decompress(&_info)) return;
            _stage = Stage::Rows;
        }
        while (_stage == Stage::Rows && _info.output_scanline < _info.output_height) {
            JSAMPROW rows[1] = {_row.data()};
            const std::uint32_t y = _info.output_scanline;
            if (jpeg_read_scanlines(&_info, rows, 1) != 1) return;
            std::uint32_t* out = _image->data() + static_cast<std::size_t>(y) * _info.output_width;
            for (std::uint32_t x = 0; x < _info.output_width; ++x) {
                const std::uint8_t* s = _row.data() + x * _info.output_components;
                out[x] = premultipliedPixel(s[0], s[1], s[2], 0xff);
            }
            ++_progress;
        }
        if (_stage == Stage::Rows) _stage = Stage::Finish;
        if (_stage == Stage::Finish) {
            if (!jpeg_finish_decompress(&_info)) return;
            _stage = Stage::Done;
            _complete = true;
            _pending = {};
            _source.base.next_input_byte = nullptr;
            _source.base.bytes_in_buffer = 0;
        }
    }

    double _scale;
    jpeg_decompress_struct _info{};
    Errors _errors;
    Source _source;
    Stage _stage = Stage::Header;
    std::vector<std::uint8_t> _pending;  // bytes libjpeg has not used yet
    std::size_t _skip = 0;               // bytes still to skip from those that arrive next
    std::vector<std::uint8_t> _row;
};

}  // namespace

std::unique_ptr<ProgressiveDecoder> makeJpegDecoder(double scale) { return std::make_unique<JpegDecoder>(scale); }

}  // namespace plat::detail
