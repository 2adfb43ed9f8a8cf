// jpeg_decode_timer FILE: times the picture loader's decode of one JPEG,
// so that the Windows builds (under Wine) and the native build can be
// compared on the very same file. Writes the benchmark photo to FILE first
// when it does not exist. Prints the fastest of five decodes; a decode the
// build cannot do (the 32-bit build refuses a photo this size) is printed
// as the loader's message on standard error, with exit code 3.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "components/JpegImage.h"
#include "tests/bench/PhotoJpeg.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: jpeg_decode_timer FILE\n");
    return 2;
  }
  std::vector<std::uint8_t> file;
  if (std::ifstream in{argv[1], std::ios::binary}) {
    file.assign(std::istreambuf_iterator<char>(in), {});
  } else {
    file = bx::test::MakePhotoJpeg();
    std::ofstream(argv[1], std::ios::binary).write(reinterpret_cast<const char*>(file.data()), file.size());
  }
  double best = 1e30;
  try {
    for (int run = 0; run < 5; ++run) {
      const auto start = std::chrono::steady_clock::now();
      bx::TJPEGImage image;
      image.LoadFromData(file);
      if (image.Pixels().Width() <= 0) return 1;
      best = std::min(best, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 3;
  }
  std::printf("%.1f\n", best);
  return 0;
}
