// Preloaded into blk (LD_PRELOAD) by its tests: a C library that has no converter for any
// character set, as a system without its conversion modules.
#include <iconv.h>

#include <cerrno>

extern "C" iconv_t iconv_open(const char*, const char*) {
  errno = EINVAL;
  return reinterpret_cast<iconv_t>(-1);
}
