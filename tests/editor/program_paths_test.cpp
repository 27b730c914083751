// Where the program writes its own files: beside its data, or in the user's folder.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "editor/data_files.h"
#include "support/child_process.h"
#include "support/test_dir.h"

namespace blok {
namespace {

using testing::TestDir;

// Where Dane/ beside the data may be written, the remembered files stay there; an installed,
// read-only one sends them to the user's folder, which is made.
// Root may write any folder: it looks as user nobody, in a child process.
TEST(ProgramPathsTest, OwnFilesBesideTheDataWhereTheyMayBeWritten) {
  TestDir dir;
  std::filesystem::create_directories(dir / "own" / "Dane");
  std::filesystem::create_directories(dir / "installed" / "Dane");
  std::filesystem::create_directories(dir / "user");
  ::chmod(dir.path().c_str(), 0777);
  ::chmod((dir / "own").c_str(), 0777);
  ::chmod((dir / "own" / "Dane").c_str(), 0777);
  ::chmod((dir / "installed" / "Dane").c_str(), 0555);
  ::chmod((dir / "user").c_str(), 0777);
  const bool as_root = ::geteuid() == 0;
  EXPECT_TRUE(testing::InChild([&] {
    constexpr uid_t kNobody = 65534;
    if (as_root && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) return false;
    return FindStateDir(dir / "own", dir / "user") == dir / "own" &&
           FindStateDir(dir / "installed", dir / "user") == dir / "user" &&
           std::filesystem::is_directory(dir / "user" / "Dane");
  }));
}

}  // namespace
}  // namespace blok
