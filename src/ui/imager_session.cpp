#include "ui/imager_session.h"

#include "display/thermal_image_layout.h"
#include "document/snapshot_browser.h"
#include "monitor/log_file.h"

namespace {

FrameCell SpotCell(std::uint8_t position) {
    const MarkerCell cell = MarkerCell::FromPosition(position);
    return {cell.row, cell.column};
}

// The document's live corrections, spot markers (the second while shown) and averaging.
LogSettings LiveLogSettings(const ImagerDocument& document) {
    LogSettings settings;
    settings.correction = {document.TemperatureUnit(), document.BackgroundTemperature(),
                           document.Emissivity()};
    settings.spots = {SpotCell(document.SpotPosition(0)),
                      document.IsSecondSpotShown()
                          ? std::optional<FrameCell>(SpotCell(document.SpotPosition(1)))
                          : std::nullopt};
    settings.averageCount = document.IntegrationCount();
    return settings;
}

}  // namespace

ImagerSession::ImagerSession(MessageBoxService* messages, UpdateNotifier* notifier)
    : link_(&document_),
      document_(messages, notifier, link_),
      acquisition_(frameSource_, document_.SharedPicture(), &document_) {
    acquisition_.AddFrameObserver(takenFeed_);
}

ImagerSession::~ImagerSession() {
    Stop();
}

bool ImagerSession::OpenPort(const std::filesystem::path& device) {
    return device.empty() ? link_.Open() : link_.Open(device);
}

void ImagerSession::LogTo(const std::filesystem::path& file, std::chrono::milliseconds every) {
    const auto kind =
        file.extension() == ".jsonl" ? RowFormat::Kind::kJsonLines : RowFormat::Kind::kCsv;
    // Two spot columns: the imager's two markers.
    log_ = std::make_unique<LogThread>(link_, LogFile::Open(file, RowFormat(kind, 2)), every,
                                       LogSettings{});
    acquisition_.AddFrameObserver(log_->Frames());
}

void ImagerSession::Start() {
    document_.StartUp();
    if (log_ != nullptr) {
        log_->SetSettings(LiveLogSettings(document_));
        log_->Start();
    }
    acquisition_.Start();
    running_ = true;
}

void ImagerSession::UpdateLogSettings() {
    if (log_ != nullptr && document_.SnapshotIndex() == SnapshotBrowser::kLive) {
        log_->SetSettings(LiveLogSettings(document_));
    }
}

std::optional<std::string> ImagerSession::LogFailure() const {
    return log_ != nullptr ? log_->Failure() : std::nullopt;
}

void ImagerSession::Stop() {
    if (!running_) {
        link_.Close();
        return;
    }
    running_ = false;
    acquisition_.Stop();
    if (log_ != nullptr) {
        log_->Stop();
    }
    document_.ShutDown();
    link_.Close();
}
