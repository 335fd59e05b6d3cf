#pragma once

class ArchiveReader;
class ArchiveWriter;
struct DocumentRecord;

// The document archive format, versions 3.0 to 3.3: what is written and read, in
// which order. Always written as version 3.3.
class DocumentArchive {
  public:
    static constexpr float kVersion = 3.3f;

    static void Store(const DocumentRecord& record, ArchiveWriter& archive);

    // Reads the groups the archive's version holds into `record`, field by field.
    // Raises ArchiveException when the data ends early; the fields read up to then
    // hold their new values and the others are left as they were.
    static void Load(ArchiveReader& archive, DocumentRecord& record);
};
