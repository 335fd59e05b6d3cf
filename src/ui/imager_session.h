#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "acquisition/acquisition_thread.h"
#include "acquisition/link_frame_source.h"
#include "acquisition/taken_frame_queue.h"
#include "document/imager_document.h"
#include "link/imager_link.h"
#include "monitor/log_thread.h"

class MessageBoxService;
class UpdateNotifier;

// The one place that opens the serial port and starts threads (the link's own polls only
// open the same port again after its device went away). It builds the head link, the
// document and the acquisition thread, wires the link's and the thread's events to the
// document, starts them and stops them again in reverse order; with a log, also the log's
// thread, which sees every frame the link delivers.
class ImagerSession {
  public:
    // Builds the parts; opens nothing and starts nothing. Either service may be null.
    ImagerSession(MessageBoxService* messages, UpdateNotifier* notifier);
    // Stop, when it has not been called.
    ~ImagerSession();
    ImagerSession(const ImagerSession&) = delete;
    ImagerSession& operator=(const ImagerSession&) = delete;

    // Opens `device` (COM1 of the device root when empty) and starts its reader thread;
    // false when the port cannot be opened (the program then runs without a head and the
    // link keeps trying). PortError then gives the system's error number.
    bool OpenPort(const std::filesystem::path& device = {});
    int PortError() const { return link_.OpenError(); }
    std::filesystem::path PortDevice() const { return link_.DevicePath(); }
    // Before Start: rows of readings go to `file` every `every` (JSON lines for a name
    // ending in .jsonl, CSV otherwise), made with the document's live corrections and spot
    // markers. Raises FileError when the file cannot be opened.
    void LogTo(const std::filesystem::path& file, std::chrono::milliseconds every);
    // The document takes its start state, then the log and the acquisition thread start.
    void Start();
    // The acquisition thread stops, the log writes its last row, the settings file is
    // written, the port closes.
    void Stop();

    // User-interface thread: gives the log the document's corrections and spots, unless a
    // snapshot is shown (the log keeps the live ones then).
    void UpdateLogSettings();
    // Why the log stopped early; empty without a log or while it runs well.
    std::optional<std::string> LogFailure() const;

    ImagerDocument& Document() { return document_; }
    const ImagerLink& Link() const { return link_; }
    // Every frame taken from the head, live or not, for the details panel's trend.
    TakenFrameQueue& TakenFrames() { return takenFrames_; }

  private:
    ImagerLink link_;
    ImagerDocument document_;
    TakenFrameQueue takenFrames_;
    TakenFrameFeed takenFeed_{takenFrames_, link_};
    LinkFrameSource frameSource_{link_};
    AcquisitionThread acquisition_;
    std::unique_ptr<LogThread> log_;
    bool running_ = false;
};
