#include "components/WebpImage.h"

#include <cstring>
#include <memory>

#include <webp/decode.h>
#include <webp/demux.h>

#include "platform/Errors.h"

namespace bx {

namespace {

const char* const kInvalid = "WebP image is not valid";

struct TDemuxDeleter {
  void operator()(WebPDemuxer* demux) const { WebPDemuxDelete(demux); }
};
using TDemuxPtr = std::unique_ptr<WebPDemuxer, TDemuxDeleter>;

// The container of a whole file; null when it is not a sound one.
TDemuxPtr Demux(const std::vector<std::uint8_t>& data) {
  WebPData bytes{data.data(), data.size()};
  return TDemuxPtr(WebPDemux(&bytes));
}

}  // namespace

bool IsWebP(const std::uint8_t* data, std::size_t size) {
  return size >= 12 && std::memcmp(data, "RIFF", 4) == 0 && std::memcmp(data + 8, "WEBP", 4) == 0;
}

bool DecodeWebP(const std::vector<std::uint8_t>& data, TPixelBuffer& canvas) {
  const TDemuxPtr demux = Demux(data);
  if (!demux) return false;
  const std::uint32_t width = WebPDemuxGetI(demux.get(), WEBP_FF_CANVAS_WIDTH);
  const std::uint32_t height = WebPDemuxGetI(demux.get(), WEBP_FF_CANVAS_HEIGHT);
  WebPIterator frame;
  if (!WebPDemuxGetFrame(demux.get(), 1, &frame)) return false;
  WebPDecoderConfig config;
  bool decoded = false;
  if (WebPInitDecoderConfig(&config) &&
      WebPGetFeatures(frame.fragment.bytes, frame.fragment.size, &config.input) == VP8_STATUS_OK &&
      config.input.width == frame.width && config.input.height == frame.height &&
      frame.width > 0 && frame.height > 0 && frame.x_offset >= 0 && frame.y_offset >= 0 &&
      static_cast<std::uint64_t>(frame.x_offset) + frame.width <= width &&
      static_cast<std::uint64_t>(frame.y_offset) + frame.height <= height) {
    // The frame is decoded straight into its place on the canvas.
    TPixelBuffer image(static_cast<int>(width), static_cast<int>(height));
    const std::size_t stride = static_cast<std::size_t>(width) * 4;
    config.output.colorspace = MODE_BGRA;
    config.output.is_external_memory = 1;
    config.output.u.RGBA.rgba = reinterpret_cast<std::uint8_t*>(image.Scanline(frame.y_offset) + frame.x_offset);
    config.output.u.RGBA.stride = static_cast<int>(stride);
    config.output.u.RGBA.size = stride * (frame.height - 1) + static_cast<std::size_t>(frame.width) * 4;
    if (WebPDecode(frame.fragment.bytes, frame.fragment.size, &config) == VP8_STATUS_OK) {
      canvas = std::move(image);
      decoded = true;
    }
    WebPFreeDecBuffer(&config.output);
  }
  WebPDemuxReleaseIterator(&frame);
  return decoded;
}

void TWebPImage::LoadFromData(std::vector<std::uint8_t> data) {
  if (!IsWebP(data.data(), data.size())) throw Exception(kInvalid);
  const TDemuxPtr demux = Demux(data);
  if (!demux || WebPDemuxGetI(demux.get(), WEBP_FF_FRAME_COUNT) == 0) throw Exception(kInvalid);
  const std::uint32_t width = WebPDemuxGetI(demux.get(), WEBP_FF_CANVAS_WIDTH);
  const std::uint32_t height = WebPDemuxGetI(demux.get(), WEBP_FF_CANVAS_HEIGHT);
  // The container allows canvases of 2^24 pixels a side: the limits refuse
  // them before the size is taken as an int.
  CheckImageSize(width, height, data.size());
  Keep(std::move(data), static_cast<int>(width), static_cast<int>(height));
}

bool TWebPImage::DecodeKept(const std::vector<std::uint8_t>& data, int width, int height,
                            TPixelBuffer& pixels) {
  (void)width;
  (void)height;
  return DecodeWebP(data, pixels);
}

const char* TWebPImage::InvalidMessage() const { return kInvalid; }

}  // namespace bx
