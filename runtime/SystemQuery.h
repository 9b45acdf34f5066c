// What the menu may ask the system about what is installed and what the computer is: registry
// keys and their string values, files and their version resources, environment variables, the
// Windows version and whether Windows is 64-bit. Reading only; an answer the system cannot give
// (a key it will not open, a value of another type) is "absent".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rt {

enum class RegistryHive { kLocalMachine, kCurrentUser };

// Where a key is looked for: on 32-bit Windows the one registry there is (kNative); on 64-bit
// Windows the 64-bit programs' view or the 32-bit programs' view, whatever the program's own.
enum class RegistryView { kNative, k64Bit, k32Bit };

// A version as dotted numbers, most significant first: 10.0.19045, 7.1.
using VersionParts = std::vector<std::uint32_t>;

// What one opening of a registry key found.
struct RegistryKeyRead {
  bool exists = false;  // the key exists and could be opened for reading
  // The string value asked for; none where it is absent, unreadable or not a string.
  std::optional<std::wstring> value;
};

class SystemQuery {
 public:
  virtual ~SystemQuery() = default;
  // Whether `key` (below its hive, without a leading backslash) exists in `view` and can be
  // opened for reading, and its string value `name` unless `name` is empty, the key opened once.
  virtual RegistryKeyRead ReadRegistryKey(RegistryHive hive, const std::wstring& key,
                                          const std::wstring& name, RegistryView view) = 0;
  // `text` with its %NAME% environment variables replaced as the system replaces them.
  virtual std::wstring ExpandEnvironment(const std::wstring& text) = 0;
  // Whether `path` is a file (not a folder) that exists.
  virtual bool FileExists(const std::wstring& path) = 0;
  // The file version of `path`'s version resource, four parts; none without one.
  virtual std::optional<VersionParts> FileVersion(const std::wstring& path) = 0;
  // The version of the running Windows as the system itself reports it (major, minor, build),
  // whatever the program's manifest declares.
  virtual VersionParts WindowsVersion() = 0;
  // Whether Windows is 64-bit, whatever the program's own bitness.
  virtual bool Is64BitWindows() = 0;
};

}  // namespace rt
