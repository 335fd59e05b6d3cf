#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "document/archive_reader.h"
#include "document/archive_writer.h"
#include "document/document_archive.h"
#include "document/document_record.h"
#include "document/imager_document.h"
#include "support/document_test_support.h"

namespace document_test {

// A document on a fresh device root, with scripted message boxes and recorded
// notifications, on a link that is never opened: no serial device, no thread.
class DocumentFixture : public ::testing::Test {
  protected:
    ImagerDocument& Open() {
        doc_ = std::make_unique<ImagerDocument>(&messages_, &notifier_, link_);
        doc_->StartUp();
        return *doc_;
    }
    void Close() {
        if (doc_) {
            for (DocumentView* view : doc_->Views()) {
                doc_->RemoveView(view);
            }
            doc_->ShutDown();
        }
        doc_.reset();
    }
    void TearDown() override { Close(); }

    std::filesystem::path SettingsPath() const {
        return root_.Host("\\Program Files\\Therlix Imager\\Persist.dat");
    }
    static std::vector<std::uint8_t> Archive(const DocumentRecord& record) {
        return document_archive::Encode(record);
    }
    void WriteSettings(const DocumentRecord& record) { WriteFile(SettingsPath(), Archive(record)); }
    static DocumentRecord Decode(const std::vector<std::uint8_t>& bytes) {
        DocumentRecord record;
        ArchiveReader reader(bytes);
        document_archive::Load(reader, record);
        return record;
    }
    DocumentRecord ReadSettings() const { return Decode(ReadFile(SettingsPath())); }
    // Reads `record` into the open document as a loaded file would.
    void LoadIntoDocument(const DocumentRecord& record) {
        const auto bytes = Archive(record);
        ArchiveReader reader(bytes);
        doc_->Load(reader);
    }
    TemporaryDeviceRoot root_;
    ScriptedMessageBoxes messages_;
    RecordingNotifier notifier_;
    ImagerLink link_{nullptr};
    std::unique_ptr<ImagerDocument> doc_;
};

}  // namespace document_test
