// Costs of one acquisition pass and of storing and loading a document archive.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>

#include "acquisition/acquisition_thread.h"
#include "document/archive_reader.h"
#include "document/archive_writer.h"
#include "document/document_archive.h"
#include "document/document_record.h"
#include "document/imager_document.h"

namespace {

// A head that has a new frame at every poll, one of two prepared scenes in turn.
class EndlessFrames : public AcquisitionThread::FrameSource {
  public:
    EndlessFrames() {
        for (std::size_t i = 0; i < kFramePixels; ++i) {
            scenes_[0][i] = static_cast<std::uint16_t>(2900 + (i * 7) % 300);
            scenes_[1][i] = static_cast<std::uint16_t>(2950 + (i * 13) % 250);
        }
    }
    int Poll() override {
        next_ ^= 1;
        return 1;
    }
    void CopyFrame(ThermalFrame& destination) const override { destination = scenes_[next_]; }

  private:
    ThermalFrame scenes_[2];
    std::size_t next_ = 0;
};

class DiscardingListener : public AcquisitionListener {
  public:
    void Notice(AcquisitionEvent event) override { benchmark::DoNotOptimize(event); }
};

// One pass with a new frame: copy, average over 10 frames, follow the span, notify.
void BM_AcquisitionPass(benchmark::State& state) {
    EndlessFrames source;
    AcquisitionThread::SharedState shared;
    shared.integrationCount = 10;
    DiscardingListener listener;
    AcquisitionThread thread(source, shared, &listener);
    for (auto _ : state) {
        thread.RunPass();
        benchmark::DoNotOptimize(shared.displayFrame);
    }
}
BENCHMARK(BM_AcquisitionPass);

void BM_StoreDefaultRecord(benchmark::State& state) {
    const DocumentRecord record;
    for (auto _ : state) {
        ArchiveWriter writer;
        document_archive::Store(record, writer);
        benchmark::DoNotOptimize(writer.Bytes().data());
    }
}
BENCHMARK(BM_StoreDefaultRecord);

void BM_LoadDefaultRecord(benchmark::State& state) {
    ArchiveWriter writer;
    document_archive::Store(DocumentRecord{}, writer);
    const std::vector<std::uint8_t> bytes = writer.Bytes();
    for (auto _ : state) {
        DocumentRecord record;
        ArchiveReader reader(bytes);
        document_archive::Load(reader, record);
        benchmark::DoNotOptimize(record.displayFrame);
    }
}
BENCHMARK(BM_LoadDefaultRecord);

// The whole document on a temporary device root (no head attached).
class TemporaryDocument {
  public:
    TemporaryDocument() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "doc-bench-XXXXXX").string();
        folder_ = ::mkdtemp(pattern.data()) != nullptr ? pattern : "/tmp";
        ::setenv("XDG_DATA_HOME", folder_.c_str(), 1);
        document_ = std::make_unique<ImagerDocument>(nullptr, nullptr, link_);
        document_->StartUp();
    }
    ~TemporaryDocument() {
        document_->ShutDown();
        document_.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    ImagerDocument& Document() { return *document_; }

  private:
    std::filesystem::path folder_;
    ImagerLink link_{nullptr};  // never opened: no head
    std::unique_ptr<ImagerDocument> document_;
};

void BM_StoreDocument(benchmark::State& state) {
    TemporaryDocument temporary;
    for (auto _ : state) {
        ArchiveWriter writer;
        temporary.Document().Store(writer);
        benchmark::DoNotOptimize(writer.Bytes().data());
    }
}
BENCHMARK(BM_StoreDocument);

void BM_LoadDocument(benchmark::State& state) {
    TemporaryDocument temporary;
    temporary.Document().Freeze(false);
    ArchiveWriter writer;
    temporary.Document().Store(writer);
    const std::vector<std::uint8_t> bytes = writer.Bytes();
    for (auto _ : state) {
        ArchiveReader reader(bytes);
        temporary.Document().Load(reader);
    }
}
BENCHMARK(BM_LoadDocument);

}  // namespace

BENCHMARK_MAIN();
