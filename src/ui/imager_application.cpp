#include "ui/imager_application.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <cstdio>
#include <utility>

#include "document/imager_document.h"
#include "document/language_choice.h"
#include "platform/file_error.h"
#include "platform/message_box_service.h"
#include "platform/qt/language_bundle.h"
#include "platform/qt/qt_file_chooser.h"
#include "platform/qt/qt_message_box_service.h"
#include "platform/qt/qt_update_notifier.h"
#include "platform/qt/quiet_platform_messages.h"
#include "platform/qt/termination_signals.h"
#include "platform/user_language.h"
#include "ui/imager_session.h"
#include "ui/imager_view.h"
#include "ui/main_window.h"
#include "ui/port_failure_text.h"
#include "ui/standard_button_texts.h"

namespace {

// Dialog templates of the language bundle.
constexpr int kSettingsDialogTemplate = 131;
constexpr int kFolderDialogTemplate = 153;

}  // namespace

ImagerApplication::ImagerApplication(std::filesystem::path executableFolder, QObject* parent)
    : QObject(parent), executableFolder_(std::move(executableFolder)) {}

ImagerApplication::~ImagerApplication() {
    // The view goes with the frame before the session stops; the bundle is freed last.
    window_.reset();
    session_.reset();
}

ImagerDocument* ImagerApplication::Document() const {
    return session_ != nullptr ? &session_->Document() : nullptr;
}

std::string ImagerApplication::BundleName() {
    return language_choice::BundleFileName(user_language::Identifier());
}

std::string ImagerApplication::LoadErrorText(const std::string& bundleName) {
    return "Error loading:\n" + bundleName;
}

bool ImagerApplication::Start(const QStringList& arguments) {
    quiet_platform_messages::Install();
    QCoreApplication::setOrganizationName(QString::fromUtf8(kOrganisation));
    QCoreApplication::setApplicationName(QString::fromUtf8(kApplication));
    signals_ = std::make_unique<TerminationSignals>();
    connect(signals_.get(), &TerminationSignals::Received, this,
            &ImagerApplication::OnTerminationSignal);

    if (!LoadLanguageBundle()) {
        return false;
    }
    messages_ = std::make_unique<QtMessageBoxService>(bundle_.get());
    notifier_ = std::make_unique<QtUpdateNotifier>(this);
    if (!ProcessCommandLine(arguments)) {
        return false;
    }
    if (!terminationRequested_) {
        window_->Zoom().RestoreRemembered();
        window_->Details().RestoreRemembered();
        window_->show();
    }
    return true;
}

int ImagerApplication::Run() {
    if (terminationRequested_ || window_ == nullptr) {
        return 0;
    }
    const int code = QApplication::exec();
    if (logFile_ && session_ != nullptr) {
        // Ends as the destructor would, so that the log's last row is written and any
        // failure of it known before the exit code is.
        window_.reset();
        session_->Stop();
        WatchLog();
    }
    return code == 0 && logFailed_ ? 1 : code;
}

void ImagerApplication::Exit() {
    if (window_ != nullptr) {
        QMetaObject::invokeMethod(window_.get(), &QWidget::close, Qt::QueuedConnection);
    }
}

bool ImagerApplication::event(QEvent* event) {
    if (event->type() != QtUpdateNotifier::Event::kType) {
        return QObject::event(event);
    }
    // Without a main window the notification is dropped.
    ImagerDocument* document = window_ != nullptr ? window_->Document() : nullptr;
    if (document != nullptr) {
        document->UpdateViews(static_cast<QtUpdateNotifier::Event*>(event)->Hint());
    }
    WatchLog();
    return true;
}

void ImagerApplication::WatchLog() {
    if (session_ == nullptr || logFailed_) {
        return;
    }
    session_->UpdateLogSettings();
    if (const auto failure = session_->LogFailure()) {
        logFailed_ = true;
        std::fprintf(stderr, "quorvel-imager: the log stopped: %s\n", failure->c_str());
        if (window_ != nullptr && !terminationRequested_) {
            messages_->ShowText("The log stopped:\n" + *failure, message_box::kOk);
        }
    }
}

bool ImagerApplication::LoadLanguageBundle() {
    const std::string name = BundleName();
    auto bundle = std::make_unique<LanguageBundle>(LanguageBundle::Locate(name, executableFolder_));
    if (!bundle->IsLoaded()) {
        QtMessageBoxService(nullptr).ShowText(LoadErrorText(name),
                                              message_box::kOkCancel | message_box::kIconError);
        return false;
    }
    bundle_ = std::move(bundle);
    standardTexts_ = std::make_unique<StandardButtonTexts>(
        language_choice::LanguageName(user_language::Identifier()));
    return true;
}

bool ImagerApplication::ProcessCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("A snapshot or settings file to open."));
    if (!parser.parse(QStringList{QString::fromUtf8(kApplication)} + arguments) ||
        parser.positionalArguments().size() > 1) {
        std::fprintf(
            stderr, "quorvel-imager: %s\n",
            qPrintable(parser.errorText().isEmpty() ? QStringLiteral("more than one file name")
                                                    : parser.errorText()));
        return false;
    }

    // Session, frame and view; a file name is then read into the document before the
    // view's initial update.
    if (!StartSession()) {
        return false;
    }
    ImagerDocument* document = Document();
    window_ = std::make_unique<MainWindow>();
    connect(window_.get(), &MainWindow::ExitCommand, this, &ImagerApplication::Exit);
    files_ = std::make_unique<QtFileChooser>(bundle_.get(), window_.get());
    auto* view =
        new ImagerView(*document, {*bundle_, *bundle_, *messages_, *notifier_,
                                   bundle_->DialogTemplate(kSettingsDialogTemplate),
                                   bundle_->DialogTemplate(kFolderDialogTemplate), files_.get()});
    window_->SetView(view);
    window_->Details().SetSources(&session_->Link(), &session_->TakenFrames());
    if (!parser.positionalArguments().isEmpty()) {
        const QString file = parser.positionalArguments().front();
        try {
            document->OpenArchiveFile(QFile::encodeName(file).toStdString());
        } catch (const FileError&) {
            std::fprintf(stderr, "quorvel-imager: cannot open %s\n", qPrintable(file));
            return false;
        }
    }
    view->CreateScreen();
    return true;
}

bool ImagerApplication::StartSession() {
    session_ = std::make_unique<ImagerSession>(messages_.get(), notifier_.get());
    if (logFile_) {
        try {
            session_->LogTo(*logFile_, logEvery_);
        } catch (const FileError& error) {
            std::fprintf(stderr, "quorvel-imager: %s\n", error.what());
            return false;
        }
    }
    const bool opened = session_->OpenPort(portDevice_);
    // The link tries the port again about once a second from the acquisition thread, so
    // that thread runs while the message waits for its OK: a head that another program
    // holds is taken over as soon as that program lets go.
    session_->Start();
    if (!opened) {
        std::fputs(PortFailureText(session_->PortDevice(), session_->PortError()).c_str(), stderr);
        messages_->ShowText("COM port could not be opened", message_box::kOk);
    }
    return true;
}

void ImagerApplication::OnTerminationSignal() {
    // Ends like a closed window: open message boxes and dialogs give up their answer,
    // the main window closes and the event loop returns.
    terminationRequested_ = true;
    // Nobody may be there to answer: a shown snapshot's file stays as stored, and the
    // document keeps the live settings as it goes.
    if (window_ != nullptr && window_->View() != nullptr) {
        ViewCommands& commands = window_->View()->Commands();
        if (commands.PictureHeld()) {
            std::fputs("quorvel-imager: held picture not saved\n", stderr);
        }
        commands.EndWithoutQuestions();
    }
    QApplication::closeAllWindows();
}
