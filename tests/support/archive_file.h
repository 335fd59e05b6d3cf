#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>

#include "document/archive_reader.h"
#include "document/document_archive.h"
#include "document/document_record.h"
#include "platform/whole_file.h"

namespace test_support {

// The record a document archive file holds; `size` (when given) gets the file's size.
// A missing file fails the test and gives a default record; a cut one raises
// ArchiveException.
inline DocumentRecord ReadArchiveFile(const std::filesystem::path& file,
                                      std::size_t* size = nullptr) {
    DocumentRecord record;
    const auto bytes = whole_file::Read(file);
    EXPECT_TRUE(bytes.has_value()) << file;
    if (size != nullptr) {
        *size = bytes ? bytes->size() : 0;
    }
    if (bytes) {
        ArchiveReader archive(*bytes);
        document_archive::Load(archive, record);
    }
    return record;
}

}  // namespace test_support
