#include "installer/package_reader.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <system_error>

#include "installer/crc32.h"
#include "installer/package_format.h"

PackageReader::PackageReader(const std::filesystem::path& package) : path_(package) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(package, error);
    if (error) {
        throw std::system_error(error, "cannot read " + package.string());
    }
    in_.open(package, std::ios::binary);
    if (!in_) {
        throw std::runtime_error("cannot open " + package.string());
    }
    left_ = size;

    std::array<char, package_format::kMagic.size()> magic{};
    ReadExact(magic.data(), magic.size());
    if (std::string_view(magic.data(), magic.size()) != package_format::kMagic) {
        Fail("not an installation package");
    }
    installFolder_ = ReadText(package_format::kMaxFolderLength);
    if (!package_format::IsSafeFolder(installFolder_)) {
        Fail("install folder not allowed: " + installFolder_);
    }
    entryCount_ = static_cast<std::uint32_t>(ReadNumber(4));
}

std::optional<PackageReader::Entry> PackageReader::NextEntry() {
    if (!dataRead_) {
        ReadData([](const char*, std::size_t) {});
    }
    if (entriesSeen_ == entryCount_) {
        if (left_ != 0) {
            Fail("unexpected bytes after the last file");
        }
        return std::nullopt;
    }
    Entry entry;
    entry.name = ReadText(package_format::kMaxNameLength);
    if (!package_format::IsSafeName(entry.name)) {
        Fail("file name not allowed: " + entry.name);
    }
    entry.mode = static_cast<std::uint32_t>(ReadNumber(4));
    if ((entry.mode & ~package_format::kModeMask) != 0) {
        Fail("bad mode for " + entry.name);
    }
    entry.size = ReadNumber(8);
    // The bytes and their CRC must still be in the file.
    if (left_ < 4 || entry.size > left_ - 4) {
        Fail("truncated at " + entry.name);
    }
    ++entriesSeen_;
    dataPending_ = entry.size;
    dataRead_ = false;
    return entry;
}

void PackageReader::ReadData(const Sink& sink) {
    if (dataRead_) {
        throw std::logic_error("no entry to read");
    }
    Crc32 crc;
    std::array<char, 64 * 1024> buffer{};
    while (dataPending_ > 0) {
        const std::size_t piece =
            static_cast<std::size_t>(std::min<std::uint64_t>(dataPending_, buffer.size()));
        ReadExact(buffer.data(), piece);
        crc.Update(buffer.data(), piece);
        sink(buffer.data(), piece);
        dataPending_ -= piece;
    }
    dataRead_ = true;
    if (static_cast<std::uint32_t>(ReadNumber(4)) != crc.Value()) {
        Fail("checksum mismatch");
    }
}

void PackageReader::ReadExact(void* data, std::size_t size) {
    if (size > left_) {
        Fail("truncated");
    }
    in_.read(static_cast<char*>(data), static_cast<std::streamsize>(size));
    if (in_.gcount() != static_cast<std::streamsize>(size)) {
        Fail("read error");
    }
    left_ -= size;
}

std::uint64_t PackageReader::ReadNumber(std::size_t width) {
    std::array<unsigned char, 8> bytes{};
    ReadExact(bytes.data(), width);
    std::uint64_t value = 0;
    for (std::size_t i = width; i > 0; --i) {
        value = (value << 8) | bytes[i - 1];
    }
    return value;
}

std::string PackageReader::ReadText(std::size_t maxLength) {
    const auto length = static_cast<std::size_t>(ReadNumber(2));
    if (length > maxLength) {
        Fail("name too long");
    }
    std::string text(length, '\0');
    ReadExact(text.data(), length);
    return text;
}

void PackageReader::Fail(const std::string& why) const {
    throw std::runtime_error("damaged package " + path_.string() + ": " + why);
}
