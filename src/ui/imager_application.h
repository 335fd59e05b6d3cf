#pragma once

#include <QObject>
#include <QStringList>
#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

class MainWindow;
class ImagerDocument;
class ImagerSession;
class LanguageBundle;
class QtFileChooser;
class QtMessageBoxService;
class QtUpdateNotifier;
class StandardButtonTexts;
class TerminationSignals;

// The application object: loads the language bundle chosen by the user's language,
// starts the session (port, document, threads), creates the main window and the view,
// delivers the update events to the views, and ends the program in order: view, then
// session (acquisition thread stopped, settings file written, port closed), then the
// language bundle.
class ImagerApplication : public QObject {
    Q_OBJECT

  public:
    static constexpr const char* kOrganisation = "Therlix";
    static constexpr const char* kApplication = "Quorvel Imager";

    // `executableFolder` is where the bundle search begins.
    explicit ImagerApplication(std::filesystem::path executableFolder, QObject* parent = nullptr);
    ~ImagerApplication() override;
    ImagerApplication(const ImagerApplication&) = delete;
    ImagerApplication& operator=(const ImagerApplication&) = delete;

    // Start-up: registry key names, language bundle, document, frame and view, the
    // command line (`arguments` without the program name; a file name opens that
    // document archive), then the main window is shown. False when the program must end.
    bool Start(const QStringList& arguments);
    // The serial device to use instead of COM1 of the device root; before Start.
    void SetPortDevice(std::filesystem::path device) { portDevice_ = std::move(device); }
    // Rows of readings to `file` every `every` while the program runs; before Start. A
    // file that cannot be opened ends the start.
    void SetLog(std::filesystem::path file, std::chrono::milliseconds every) {
        logFile_ = std::move(file);
        logEvery_ = every;
    }
    // Runs the event loop until the main window closes; returns the exit code (1 when the
    // log could not be written).
    int Run();

    // The exit command: closes the main window once control returns to the event loop.
    void Exit();

    const LanguageBundle* Bundle() const { return bundle_.get(); }
    MainWindow* Window() const { return window_.get(); }
    ImagerDocument* Document() const;

    // The bundle file name for the user's language, and the message shown without it.
    static std::string BundleName();
    static std::string LoadErrorText(const std::string& bundleName);

  protected:
    // Hands each update event's hint to the views of the document.
    bool event(QEvent* event) override;

  private:
    bool LoadLanguageBundle();
    bool ProcessCommandLine(const QStringList& arguments);
    bool StartSession();
    // Passes the live settings to the log and tells once when it has stopped.
    void WatchLog();
    void OnTerminationSignal();

    std::filesystem::path executableFolder_;
    std::filesystem::path portDevice_;  // empty: COM1
    std::optional<std::filesystem::path> logFile_;
    std::chrono::milliseconds logEvery_{1000};
    bool logFailed_ = false;
    bool terminationRequested_ = false;
    // Destroyed in reverse order: frame and view, session, services, bundle last.
    std::unique_ptr<LanguageBundle> bundle_;
    std::unique_ptr<StandardButtonTexts> standardTexts_;
    std::unique_ptr<QtMessageBoxService> messages_;
    std::unique_ptr<QtUpdateNotifier> notifier_;
    std::unique_ptr<TerminationSignals> signals_;
    std::unique_ptr<ImagerSession> session_;
    std::unique_ptr<QtFileChooser> files_;
    std::unique_ptr<MainWindow> window_;
};
