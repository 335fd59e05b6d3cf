#pragma once

#include <cstdint>
#include <string_view>

// The installation package: one file that carries the handheld folder its files belong
// in and the files themselves. All numbers are little-endian.
//
//   magic            8 bytes  "QVLPKG01"
//   folder length    u16      then the folder, a handheld path such as
//                             "\Program Files\Therlix Imager" (UTF-8)
//   entry count      u32
//   each entry:
//     name length    u16      then the file name (UTF-8, no folder part)
//     mode           u32      permission bits (0..07777)
//     size           u64      then the file's bytes
//     crc            u32      CRC-32 of the file's bytes
//
// Nothing follows the last entry.
namespace package_format {

inline constexpr std::string_view kMagic = "QVLPKG01";
inline constexpr std::size_t kMaxNameLength = 255;
inline constexpr std::size_t kMaxFolderLength = 1024;
inline constexpr std::uint32_t kModeMask = 07777;

// A file name may be stored only if it names a file directly inside the install folder:
// not empty, not "." or "..", no separators and no NUL.
inline bool IsSafeName(std::string_view name) {
    if (name.empty() || name.size() > kMaxNameLength || name == "." || name == "..") {
        return false;
    }
    return name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

// The install folder must be an absolute handheld path ("\A\B") whose names are neither
// "." nor "..", so that it cannot lead out of the device root.
inline bool IsSafeFolder(std::string_view folder) {
    if (folder.size() < 2 || folder.size() > kMaxFolderLength || folder.front() != '\\') {
        return false;
    }
    std::size_t start = 1;
    while (start <= folder.size()) {
        std::size_t end = folder.find('\\', start);
        if (end == std::string_view::npos) {
            end = folder.size();
        }
        const std::string_view name = folder.substr(start, end - start);
        if (!name.empty() && !IsSafeName(name)) {
            return false;
        }
        start = end + 1;
    }
    return true;
}

}  // namespace package_format
