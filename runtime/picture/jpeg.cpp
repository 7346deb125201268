// JPEG files through libjpeg, read from memory. The library reports errors by
// calling an exit routine; ours jumps back into decodeJpeg, the one function that
// holds the jump point, which releases everything and answers no picture.
#include <csetjmp>
#include <cstdio>  // jpeglib.h wants FILE declared
#include <cstring>

#include <jpeglib.h>
#include <jerror.h>

#include "runtime/core/values/memory.h"
#include "runtime/picture/decode.h"
#include "runtime/picture/reading.h"

namespace lw {

using namespace picture;

namespace {

// Files with more scans than this are refused: each progressive scan re-reads the
// whole coefficient buffer, so a small hostile file could otherwise keep us busy.
constexpr int kMaxScans = 500;

struct JpegErrorTrap {
  jpeg_error_mgr manager;  // first, so the library's pointer is ours too
  jmp_buf jump;
  bool cutShort;  // coded data ended while pixels still needed it
};

void jpegErrorExit(j_common_ptr cinfo) { longjmp(reinterpret_cast<JpegErrorTrap*>(cinfo->err)->jump, 1); }
void jpegNoMessage(j_common_ptr) {}
// Warnings are not shown; the one that says the coded data ran out is noted.
void jpegWarning(j_common_ptr cinfo, int level) {
  if (level < 0 && cinfo->err->msg_code == JWRN_HIT_MARKER)
    reinterpret_cast<JpegErrorTrap*>(cinfo->err)->cutShort = true;
}

// The source serves the one memory block. Past its end it serves an end-of-image
// marker, so a file that lacks only that marker still shows; a file cut inside
// its coded data is caught by the warning above.

const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

void sourceInit(j_decompress_ptr) {}
void sourceTerm(j_decompress_ptr) {}
boolean sourceFill(j_decompress_ptr cinfo) {
  cinfo->src->next_input_byte = kEndOfImage;
  cinfo->src->bytes_in_buffer = 2;
  return TRUE;
}
void sourceSkip(j_decompress_ptr cinfo, long count) {
  jpeg_source_mgr* src = cinfo->src;
  if (count <= 0) return;
  if (size_t(count) > src->bytes_in_buffer) {
    sourceFill(cinfo);
    return;
  }
  src->next_input_byte += count;
  src->bytes_in_buffer -= size_t(count);
}

void scanLimit(j_common_ptr cinfo) {
  if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans) (*cinfo->err->error_exit)(cinfo);
}

// Holds the jump point: no objects with destructors live here, and what the jump
// must still see is volatile.
const char* decodeJpeg(const uint8_t* data, size_t size, DecodedPicture* out) {
  jpeg_decompress_struct cinfo;
  JpegErrorTrap trap;
  jpeg_source_mgr source;
  jpeg_progress_mgr progress;
  const char* volatile why = "jpeg data damaged";

  cinfo.err = jpeg_std_error(&trap.manager);
  trap.manager.error_exit = jpegErrorExit;
  trap.manager.output_message = jpegNoMessage;
  trap.manager.emit_message = jpegWarning;
  trap.cutShort = false;
  if (setjmp(trap.jump)) {
    jpeg_destroy_decompress(&cinfo);
    ReleasePictureContents(out);
    return why;
  }
  jpeg_create_decompress(&cinfo);
  memset(&source, 0, sizeof source);
  source.next_input_byte = data;
  source.bytes_in_buffer = size;
  source.init_source = sourceInit;
  source.fill_input_buffer = sourceFill;
  source.skip_input_data = sourceSkip;
  source.resync_to_restart = jpeg_resync_to_restart;
  source.term_source = sourceTerm;
  cinfo.src = &source;
  memset(&progress, 0, sizeof progress);
  progress.progress_monitor = scanLimit;
  cinfo.progress = &progress;

  jpeg_read_header(&cinfo, TRUE);
  if (size_t bytes; !pixelBytes(cinfo.image_width, cinfo.image_height, 1, &bytes)) {
    why = "too large";
    longjmp(trap.jump, 1);
  }
  jpeg_start_decompress(&cinfo);
  const uint32_t width = cinfo.output_width, height = cinfo.output_height;
  const int components = cinfo.output_components;
  if (components != 1 && components != 3) {
    why = "colour space";
    longjmp(trap.jump, 1);
  }
  if (const char* e = allocPixels(out, width, height)) {
    why = e;
    longjmp(trap.jump, 1);
  }
  JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                              width * JDIMENSION(components), 1);
  uint8_t* o = out->pixels;
  while (cinfo.output_scanline < height) {
    jpeg_read_scanlines(&cinfo, row, 1);
    const JSAMPLE* s = row[0];
    if (components == 3) {
      for (uint32_t x = 0; x < width; ++x, s += 3, o += 4) {
        o[0] = s[2];
        o[1] = s[1];
        o[2] = s[0];
        o[3] = 255;
      }
    } else {
      for (uint32_t x = 0; x < width; ++x, ++s, o += 4) {
        o[0] = o[1] = o[2] = s[0];
        o[3] = 255;
      }
    }
  }
  if (trap.cutShort) {
    why = "truncated";
    longjmp(trap.jump, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return nullptr;
}

}  // namespace

const char* DecodeJpegPicture(const uint8_t* data, size_t size, DecodedPicture* out) {
  memset(out, 0, sizeof *out);
  if (!data || size < 2) return "short header";
  if (const char* why = decodeJpeg(data, size, out)) return why;
  out->kind = kPictureJpeg;
  return nullptr;
}

}  // namespace lw
