#include "ui/view_commands.h"

#include <QAction>
#include <QKeySequence>

#include "document/imager_document.h"
#include "document/update_flags.h"
#include "platform/device_root.h"
#include "platform/file_error.h"
#include "platform/local_time.h"
#include "platform/message_box_service.h"
#include "platform/update_notifier.h"
#include "ui/file_error_report.h"
#include "ui/imager_view.h"
#include "ui/settings_command.h"

namespace {

constexpr int kIconSize = 16;

struct KeyEquivalent {
    int command;
    Qt::Key altKey;     // with Alt
    Qt::Key keypadKey;  // on the numeric keypad
};

constexpr KeyEquivalent kKeyEquivalents[] = {
    {ViewCommands::kKeyUp, Qt::Key_Up, Qt::Key_8},
    {ViewCommands::kKeyDown, Qt::Key_Down, Qt::Key_2},
    {ViewCommands::kKeyLeft, Qt::Key_Left, Qt::Key_4},
    {ViewCommands::kKeyRight, Qt::Key_Right, Qt::Key_6},
    {ViewCommands::kKeyReturn, Qt::Key_Return, Qt::Key_5},
};

bool IsSettingsFile(const std::filesystem::path& path) {
    return path == device_root::Map(ImagerDocument::kSettingsFile);
}

}  // namespace

ViewCommands::ViewCommands(ImagerView& view) : view_(view), clock_(&local_time::Now) {}

void ViewCommands::Connect() {
    for (int b = 0; b < ImagerView::kButtonCount; ++b) {
        const auto which = static_cast<ImagerView::Button>(b);
        QObject::connect(&view_.ButtonAt(which), &QAbstractButton::clicked, &view_,
                         [this, id = ImagerView::ControlId(which)] { OnCommand(id); });
    }
    ConnectKeyEquivalents();
    ConnectFileKeys();
}

void ViewCommands::ConnectFileKeys() {
    AddShortcut(kFileNew, {QKeySequence(Qt::CTRL | Qt::Key_N)});
    AddShortcut(kFileOpen, {QKeySequence(Qt::CTRL | Qt::Key_O)});
    AddShortcut(kFileSave, {QKeySequence(Qt::CTRL | Qt::Key_S)});
}

void ViewCommands::ConnectKeyEquivalents() {
    for (const KeyEquivalent& key : kKeyEquivalents) {
        AddShortcut(key.command, {QKeySequence(Qt::ALT | key.altKey),
                                  QKeySequence(Qt::KeypadModifier | key.keypadKey)});
    }
}

void ViewCommands::AddShortcut(int command, const QList<QKeySequence>& keys) {
    auto* action = new QAction(&view_);
    action->setObjectName(QStringLiteral("command%1").arg(command));
    action->setShortcuts(keys);
    // Anywhere in the main window, whichever child has the focus.
    action->setShortcutContext(Qt::WindowShortcut);
    view_.addAction(action);
    QObject::connect(action, &QAction::triggered, &view_, [this, command] { OnCommand(command); });
}

bool ViewCommands::OnCommand(int id) {
    return RunButtonCommand(id) || RunKeyCommand(id) || RunFileCommand(id);
}

bool ViewCommands::RunButtonCommand(int id) {
    switch (id) {
        case kHold:
            Hold();
            return true;
        case kSettings:
            Settings();
            return true;
        case kBrowse:
            Browse();
            return true;
        case kExit:
            Exit();
            return true;
        case kPrevious:
            Previous();
            return true;
        case kNext:
            Next();
            return true;
        case kDelete:
            Delete();
            return true;
        case kLive:
            Live();
            return true;
        default:
            return RunSpanOrHeldCommand(id);
    }
}

bool ViewCommands::RunSpanOrHeldCommand(int id) {
    switch (id) {
        case kSave:
            Save();
            return true;
        case kDiscard:
            Discard();
            return true;
        case kAutoSpan:
            AutoSpan();
            return true;
        case kFitSpan:
            FitSpan();
            return true;
        default:
            return false;
    }
}

bool ViewCommands::RunKeyCommand(int id) {
    switch (id) {
        case kKeyUp:
            Key(ImagerView::Key::kUp);
            return true;
        case kKeyDown:
            Key(ImagerView::Key::kDown);
            return true;
        case kKeyLeft:
            Key(ImagerView::Key::kLeft);
            return true;
        case kKeyRight:
            Key(ImagerView::Key::kRight);
            return true;
        case kKeyReturn:
            Key(ImagerView::Key::kReturn);
            return true;
        default:
            return false;
    }
}

bool ViewCommands::RunFileCommand(int id) {
    switch (id) {
        case kFileNew:
            FileNew();
            return true;
        case kFileOpen:
            FileOpen();
            return true;
        case kFileSave:
            FileSave();
            return true;
        default:
            return false;
    }
}

// --- held pictures -----------------------------------------------------------------------

void ViewCommands::Hold() {
    ImagerDocument& document = view_.GetDocument();
    document.SetFreezeTime(clock_());
    try {
        document.Freeze(true);
    } catch (const FileError& error) {
        // Without the live settings in the settings file the held picture could not be
        // left again as it was taken: the picture is not held.
        Report(error);
        document.ReturnToLive(false);
        Focus();
        return;
    }
    view_.ShowHeldRow();
    Focus();
}

void ViewCommands::Save() {
    ImagerDocument& document = view_.GetDocument();
    view_.ShowLiveRow();
    document.SetCaptureTime(clock_());
    try {
        document.SaveNewSnapshot();
    } catch (const FileError& error) {
        Report(error);
        if (IsSettingsFile(error.Path())) {
            // The snapshot is stored; only the live settings could not be read back.
            document.ReturnToLive(false);
        } else {
            // Nothing was stored: the picture stays held, to be saved again or discarded.
            view_.ShowHeldRow();
        }
    }
    Focus();
}

void ViewCommands::Discard() {
    view_.ShowLiveRow();
    ReturnToLive(true);
    Focus();
}

// --- browsing ----------------------------------------------------------------------------

void ViewCommands::Browse() {
    ImagerDocument& document = view_.GetDocument();
    if (document.CountSnapshots() == 0) {
        view_.GetServices().messages.ShowString(kNoSnapshotsMessage, message_box::kOk);
        return;
    }
    view_.ShowBrowsingRow();
    try {
        document.BeginBrowsing();
    } catch (const FileError& error) {
        // The live settings could not be put aside, or no snapshot could be read:
        // browsing does not begin.
        Report(error);
        document.ReturnToLive(false);
        view_.ShowLiveRow();
    }
    Focus();
}

void ViewCommands::Next() {
    try {
        view_.GetDocument().NextSnapshot();
    } catch (const FileError& error) {
        Report(error);
    }
    Focus();
}

void ViewCommands::Previous() {
    try {
        view_.GetDocument().PreviousSnapshot(false);
    } catch (const FileError& error) {
        Report(error);
    }
    Focus();
}

void ViewCommands::Delete() {
    const int answer = view_.GetServices().messages.ShowString(
        kDeleteQuestion, message_box::kYesNo | message_box::kIconQuestion);
    if (answer == message_box::kIdYes) {
        try {
            view_.GetDocument().DeleteSnapshot();
        } catch (const FileError& error) {
            Report(error);
        }
    }
    Focus();
}

void ViewCommands::Live() {
    try {
        view_.GetDocument().OfferToSaveChanges();
    } catch (const FileError& error) {
        // The changes the user wanted kept are not written: the snapshot stays shown.
        Report(error);
        Focus();
        return;
    }
    view_.ShowLiveRow();
    ReturnToLive(true);
    view_.GetServices().notifier.PostUpdate(update_flag::kSnapshot);
    Focus();
}

// --- settings and span -------------------------------------------------------------------

void ViewCommands::Settings() {
    SettingsCommand(view_).Run();
    Focus();
}

void ViewCommands::FitSpan() {
    view_.GetDocument().FitSpanToFrame();
    Focus();
}

void ViewCommands::AutoSpan() {
    ImagerDocument& document = view_.GetDocument();
    ImageButton& toggle = view_.ButtonAt(ImagerView::kAutoSpan);
    // The button has already flipped its state.
    const bool pressed = toggle.GetCheck() != 0;
    document.SetAutoSpanOn(pressed);
    toggle.SetIcon(view_.GetServices().icons,
                   pressed ? kAutoSpanPressedIcon : kAutoSpanReleasedIcon, kIconSize, kIconSize);
    ImagerView::Selection mode = view_.GetSelectionMode();
    // The span follows the scene by itself again: the arrow keys go back to marker 1.
    if (mode == ImagerView::kSpan && document.IsAutoSpanOn() && document.IsAutoSpanAllowed()) {
        mode = ImagerView::kSpot1;
    }
    view_.SetSelectionMode(mode);
    Focus();
}

void ViewCommands::Key(ViewKey key) {
    view_.HandleKey(key);
    Focus();
}

// --- helpers -----------------------------------------------------------------------------

void ViewCommands::ReturnToLive(bool reload) {
    ImagerDocument& document = view_.GetDocument();
    try {
        document.ReturnToLive(reload);
    } catch (const FileError& error) {
        // The live settings could not be read back; the pictures resume all the same.
        Report(error);
        document.ReturnToLive(false);
    }
}

void ViewCommands::Report(const FileError& error) {
    view_.GetServices().messages.ShowText(file_error_report::Text(error),
                                          message_box::kOk | message_box::kIconError);
}

bool ViewCommands::Shown(ButtonRow::Button which) {
    return !view_.ButtonAt(which).isHidden();
}

void ViewCommands::Focus() {
    view_.setFocus();
}
