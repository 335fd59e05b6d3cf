#pragma once

#include <cstdint>
#include <span>
#include <vector>

class ArchiveReader;
class ArchiveWriter;
struct DocumentRecord;

// The document archive format, versions 3.0 to 3.3: what is written and read, in
// which order. Always written as version 3.3. Needs no document: a record in, bytes
// out, and back.
namespace document_archive {

inline constexpr float kVersion = 3.3f;

void Store(const DocumentRecord& record, ArchiveWriter& archive);

// Reads the groups the archive's version holds into `record`, field by field.
// Raises ArchiveException when the data ends early; the fields read up to then
// hold their new values and the others are left as they were.
void Load(ArchiveReader& archive, DocumentRecord& record);

// The bytes of a whole archive file.
std::vector<std::uint8_t> Encode(const DocumentRecord& record);
// Reads a whole archive file into `record` as Load does; false when the data ended
// early (the fields read up to then are kept).
bool Decode(std::span<const std::uint8_t> bytes, DocumentRecord& record);

}  // namespace document_archive
