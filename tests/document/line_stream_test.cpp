#include "document/line_stream.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "support/test_dir.h"

namespace blok {
namespace {

using testing::TestDir;
using testing::WriteBytes;

struct Read {
  std::vector<std::string> texts;
  std::string bytes;  // every line's bytes joined: the file again
};

Read ReadAll(const std::string& content) {
  TestDir dir;
  WriteBytes(dir / "f", content);
  const int fd = ::open((dir / "f").c_str(), O_RDONLY);
  LineStream stream(fd, "f");
  Read read;
  for (;;) {
    const auto more = stream.Next();
    EXPECT_TRUE(more.has_value());
    if (!more.value_or(false)) break;
    read.texts.emplace_back(stream.text());
    read.bytes += stream.bytes();
  }
  ::close(fd);
  return read;
}

TEST(LineStreamTest, LinesAndTheirBytes) {
  const std::string long_line(200000, 'x');  // several buffers long
  const struct {
    const char* label;
    std::string content;
    std::vector<std::string> texts;
  } cases[] = {
      {"empty", "", {}},
      {"CR LF", "a\r\nbb\r\n", {"a", "bb"}},
      {"LF alone", "a\nbb\n", {"a", "bb"}},
      {"no end on the last line", "a\r\nb", {"a", "b"}},
      {"empty lines", "\r\n\n\r\n", {"", "", ""}},
      {"a lone CR stays", "a\rb\r\n", {"a\rb"}},
      {"a long line", "x\r\n" + long_line + "\r\ny", {"x", long_line, "y"}},
      {"the buffer's edge",
       std::string(65535, 'a') + "\r\n" + std::string(65536, 'b'),
       {std::string(65535, 'a'), std::string(65536, 'b')}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const Read read = ReadAll(c.content);
    EXPECT_EQ(read.texts, c.texts);
    EXPECT_EQ(read.bytes, c.content);
  }
}

TEST(LineStreamTest, AFailedReadIsAnErrorNamingTheFile) {
  LineStream stream(-1, "biblioteka.blk");
  const auto more = stream.Next();
  ASSERT_FALSE(more.has_value());
  EXPECT_NE(more.error().message.find("biblioteka.blk"), std::string::npos);
}

}  // namespace
}  // namespace blok
