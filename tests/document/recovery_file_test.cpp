#include "document/recovery_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>

#include "support/test_dir.h"

namespace blok {
namespace {

using testing::ReadBytes;
using testing::TestDir;
using testing::WriteBytes;

RecoverySnapshot Sample() {
  return {"/dom/ja/Bloki/znaki.blk",
          "ZNAK-1",
          "cm",
          {"L(0,0)-(1,1);K(0,0,0);GR(0,10)", "T(0,0,'Zażółć',1,1,0)"},
          1'765'000'000};
}

void ExpectSame(const RecoverySnapshot& a, const RecoverySnapshot& b) {
  EXPECT_EQ(a.library, b.library);
  EXPECT_EQ(a.block_name, b.block_name);
  EXPECT_EQ(a.unit, b.unit);
  EXPECT_EQ(a.lines, b.lines);
  EXPECT_EQ(a.changed_at, b.changed_at);
}

// Whatever a field holds comes back as it was: the name as typed, a path of any bytes.
TEST(RecoveryFileTest, FieldsComeBackAsWritten) {
  struct Case {
    const char* what;
    RecoverySnapshot snapshot;
  };
  RecoverySnapshot awkward = Sample();
  awkward.library = "/tmp/z\nnowa\\linia\r.blk";
  awkward.block_name = "a\\n\r\n\\";
  awkward.unit = "";
  awkward.lines = {"", "\\", "koniec", "obiekty 3"};
  RecoverySnapshot empty = Sample();
  empty.lines.clear();
  empty.changed_at = -5;
  RecoverySnapshot not_utf8 = Sample();
  not_utf8.library = "/tmp/\xff\xfe.blk";
  const Case cases[] = {
      {"sample", Sample()}, {"escapes", awkward}, {"no lines", empty}, {"bytes", not_utf8}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string bytes = FormatRecovery(c.snapshot);
    auto read = ParseRecovery(bytes);
    ASSERT_TRUE(read) << read.error().message;
    ExpectSame(*read, c.snapshot);
  }
}

TEST(RecoveryFileTest, DamagedFilesAreRefusedWithTheReason) {
  const std::string whole = FormatRecovery(Sample());
  const auto replaced = [&](std::string_view from, std::string_view to) {
    std::string bytes = whole;
    bytes.replace(bytes.find(from), from.size(), to);
    return bytes;
  };
  struct Case {
    const char* what;
    std::string bytes;
    const char* reason;
  };
  const Case cases[] = {
      {"empty", "", "nieznany format"},
      {"other version", replaced("odzysk 1", "odzysk 2"), "nieznany format"},
      {"a block file", "[NAZWA]\r\nAAA\r\n", "nieznany format"},
      {"cut in a line", whole.substr(0, whole.size() - 3), "niekompletny"},
      {"cut at a line end", whole.substr(0, whole.find("T(")), "liczba obiektów"},
      {"no end line", replaced("koniec\n", ""), "liczba obiektów"},
      {"more lines", replaced("obiekty 2", "obiekty 1"), "liczba obiektów"},
      {"huge count", replaced("obiekty 2", "obiekty 18446744073709551615"), "liczba obiektów"},
      {"header only", "blokedit odzysk 1\n", "brak nagłówka"},
      {"missing unit", replaced("jednostka cm\n", ""), "brak nagłówka"},
      {"no library", replaced("plik /dom/ja/Bloki/znaki.blk", "plik "), "brak nazwy pliku"},
      {"time no number", replaced("zmiana 1765000000", "zmiana 17x"), "błędny nagłówek"},
      {"count negative", replaced("obiekty 2", "obiekty -1"), "błędny nagłówek"},
      {"bad escape", replaced("ZNAK-1", "ZNAK\\x"), "brak nagłówka"},
      {"escape at the end", replaced("GR(0,10)\n", "GR(0,10)\\\n"), "błędny zapis obiektu"},
      {"bad escape in a line", replaced("GR(0,10)", "GR\\q"), "błędny zapis obiektu"},
      {"raw CR in a line", replaced("GR(0,10)", "GR\r"), "błędny zapis obiektu"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto read = ParseRecovery(c.bytes);
    ASSERT_FALSE(read);
    EXPECT_NE(read.error().message.find(c.reason), std::string::npos) << read.error().message;
  }
}

TEST(RecoveryFileTest, ReadingNamesTheFile) {
  TestDir dir;
  const auto file = dir / "1.blkr";
  ASSERT_TRUE(WriteRecoveryFile(file, Sample(), false));
  auto read = ReadRecoveryFile(file);
  ASSERT_TRUE(read) << read.error().message;
  ExpectSame(*read, Sample());

  WriteBytes(file, ReadBytes(file).substr(0, 40));
  read = ReadRecoveryFile(file);
  ASSERT_FALSE(read);
  EXPECT_NE(read.error().message.find(file.string()), std::string::npos) << read.error().message;
  EXPECT_FALSE(ReadRecoveryFile(dir / "none.blkr"));
}

// The lock is of an open file, not of a process: a second open in the same process is another
// editor as far as the lock goes.
TEST(RecoveryFileTest, ALockHeldElsewhereIsNotTaken) {
  TestDir dir;
  const auto file = dir / "7.lock";
  {
    auto first = HeldLock::TryTake(file);
    ASSERT_TRUE(first && *first);
    auto second = HeldLock::TryTake(file);
    ASSERT_TRUE(second);
    EXPECT_FALSE(*second);
  }
  auto again = HeldLock::TryTake(file);
  ASSERT_TRUE(again && *again) << "a lock let go can be taken";
  (*again)->RemoveAndRelease();
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_FALSE(HeldLock::TryTake(dir / "no-folder" / "1.lock"));
}

}  // namespace
}  // namespace blok
