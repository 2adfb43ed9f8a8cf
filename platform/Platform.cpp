#include "platform/Platform.h"

namespace bx {

namespace {
TPlatform& Current() {
  static TPlatform platform = DefaultPlatform();
  return platform;
}
}  // namespace

TPlatform& Platform() { return Current(); }

TPlatform SetPlatform(const TPlatform& platform) {
  TPlatform previous = Current();
  Current() = platform;
  return previous;
}

}  // namespace bx
