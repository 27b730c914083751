#include "document/recovery_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <cerrno>
#include <charconv>

namespace blok {
namespace {

constexpr std::string_view kFirstLine = "blokedit odzysk 1";
constexpr std::string_view kLibrary = "plik ";
constexpr std::string_view kName = "blok ";
constexpr std::string_view kUnit = "jednostka ";
constexpr std::string_view kChanged = "zmiana ";
constexpr std::string_view kCount = "obiekty ";
constexpr std::string_view kEnd = "koniec";
// Far beyond any block; refuses a count that would make the reader reserve without end.
constexpr std::uintmax_t kMaxRecoveryBytes = 64 * 1024 * 1024;

void AppendEscaped(std::string& out, std::string_view field) {
  for (const char c : field) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out += c;
    }
  }
  out += '\n';
}

std::optional<std::string> Unescaped(std::string_view field) {
  std::string out;
  out.reserve(field.size());
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\r') return std::nullopt;  // every CR of a field is escaped
    if (field[i] != '\\') {
      out += field[i];
      continue;
    }
    if (++i == field.size()) return std::nullopt;
    switch (field[i]) {
      case '\\':
        out += '\\';
        break;
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      default:
        return std::nullopt;
    }
  }
  return out;
}

// Splits at LF; the last line must end in one, or the file was cut short.
std::optional<std::vector<std::string_view>> Lines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  while (!bytes.empty()) {
    const size_t end = bytes.find('\n');
    if (end == std::string_view::npos) return std::nullopt;
    lines.push_back(bytes.substr(0, end));
    bytes.remove_prefix(end + 1);
  }
  return lines;
}

template <typename T>
std::optional<T> Number(std::string_view text) {
  T value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

}  // namespace

std::string FormatRecovery(const RecoverySnapshot& snapshot) {
  std::string out;
  size_t size = 128 + snapshot.library.native().size() + snapshot.block_name.size();
  for (const std::string& line : snapshot.lines) size += line.size() + 1;
  out.reserve(size);
  out += kFirstLine;
  out += '\n';
  out += kLibrary;
  AppendEscaped(out, snapshot.library.native());
  out += kName;
  AppendEscaped(out, snapshot.block_name);
  out += kUnit;
  AppendEscaped(out, snapshot.unit);
  out += kChanged;
  out += std::to_string(snapshot.changed_at);
  out += '\n';
  out += kCount;
  out += std::to_string(snapshot.lines.size());
  out += '\n';
  for (const std::string& line : snapshot.lines) AppendEscaped(out, line);
  out += kEnd;
  out += '\n';
  return out;
}

Result<RecoverySnapshot> ParseRecovery(std::string_view bytes) {
  const auto lines = Lines(bytes);
  if (!lines) return Fail("plik jest niekompletny");
  if (lines->empty() || (*lines)[0] != kFirstLine) return Fail("nieznany format lub wersja pliku");
  size_t next = 1;
  // The field after its key on the next line, unescaped.
  const auto field = [&](std::string_view key) -> std::optional<std::string> {
    if (next >= lines->size() || !(*lines)[next].starts_with(key)) return std::nullopt;
    return Unescaped((*lines)[next++].substr(key.size()));
  };
  RecoverySnapshot snapshot;
  const auto library = field(kLibrary);
  const auto name = field(kName);
  const auto unit = field(kUnit);
  const auto changed = field(kChanged);
  const auto count = field(kCount);
  if (!library || !name || !unit || !changed || !count) return Fail("brak nagłówka");
  if (library->empty()) return Fail("brak nazwy pliku z blokami");
  const auto changed_at = Number<int64_t>(*changed);
  const auto entities = Number<size_t>(*count);
  if (!changed_at || !entities) return Fail("błędny nagłówek");
  if (lines->size() <= next || *entities != lines->size() - next - 1 || lines->back() != kEnd) {
    return Fail("liczba obiektów nie zgadza się z zawartością");
  }
  snapshot.library = *library;
  snapshot.block_name = *name;
  snapshot.unit = *unit;
  snapshot.changed_at = *changed_at;
  snapshot.lines.reserve(*entities);
  for (; next + 1 < lines->size(); ++next) {
    auto line = Unescaped((*lines)[next]);
    if (!line) return Fail("błędny zapis obiektu");
    snapshot.lines.push_back(std::move(*line));
  }
  return snapshot;
}

Result<void> WriteRecoveryFile(const std::filesystem::path& file, const RecoverySnapshot& snapshot,
                               bool durable) {
  const std::string bytes = FormatRecovery(snapshot);
  auto replacement = FileReplacement::Begin(file, {.limit = kMaxRecoveryBytes, .durable = durable});
  if (!replacement) return std::unexpected(replacement.error());
  if (auto written = replacement->Write(bytes); !written) return written;
  return replacement->Commit();
}

Result<RecoverySnapshot> ReadRecoveryFile(const std::filesystem::path& file) {
  auto fd = OpenTextFile(file, kMaxRecoveryBytes);
  if (!fd) return std::unexpected(fd.error());
  std::string bytes;
  char buffer[64 * 1024];
  for (;;) {
    const ssize_t got = ::read(fd->get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return std::unexpected(FileError("Nie można odczytać pliku", file, errno));
    if (got == 0) break;
    bytes.append(buffer, static_cast<size_t>(got));
    if (bytes.size() > kMaxRecoveryBytes) {
      return std::unexpected(TooLargeError(file.string(), kMaxRecoveryBytes));
    }
  }
  auto snapshot = ParseRecovery(bytes);
  if (!snapshot) {
    return Fail("Nie można odczytać pliku " + file.string() + ": " + snapshot.error().message);
  }
  return snapshot;
}

Result<std::optional<HeldLock>> HeldLock::TryTake(const std::filesystem::path& file) {
  // A holder that removes the file lets go after the unlink: a lock taken on the file it removed
  // would be no lock at all, so the taker checks that the path still names what it locked.
  for (int attempt = 0; attempt < 100; ++attempt) {
    UniqueFd fd(::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, 0600));
    if (fd.get() < 0) return std::unexpected(FileError("Nie można utworzyć pliku", file, errno));
    while (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
      if (errno == EINTR) continue;
      if (errno == EWOULDBLOCK) return std::nullopt;
      return std::unexpected(FileError("Nie można zablokować pliku", file, errno));
    }
    struct stat locked {};
    struct stat named {};
    if (::fstat(fd.get(), &locked) == 0 && ::stat(file.c_str(), &named) == 0 &&
        locked.st_dev == named.st_dev && locked.st_ino == named.st_ino) {
      return HeldLock(file, std::move(fd));
    }
  }
  return std::unexpected(FileError("Nie można zablokować pliku", file, EAGAIN));
}

void HeldLock::RemoveAndRelease() {
  if (fd_.get() < 0) return;
  ::unlink(file_.c_str());
  fd_.Close();
}

}  // namespace blok
