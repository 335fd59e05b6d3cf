// The view's commands that end the program (Exit, and the question that closing the
// window or Ctrl+Q asks) and the file keys Ctrl+N, Ctrl+O and Ctrl+S.
#include <QMetaObject>
#include <QWidget>

#include "document/imager_document.h"
#include "platform/device_root.h"
#include "platform/file_chooser.h"
#include "platform/file_error.h"
#include "platform/message_box_service.h"
#include "ui/imager_view.h"
#include "ui/view_commands.h"

void ViewCommands::Exit() {
    if (view_.IsBrowsing()) {
        ImagerDocument& document = view_.GetDocument();
        try {
            document.OfferToSaveChanges();
            // The document writes the live settings, not the snapshot's, when it goes.
            document.LoadSettings();
        } catch (const FileError& error) {
            Report(error);
            Focus();
            return;
        }
    }
    ending_ = true;
    if (QWidget* frame = view_.window(); frame != &view_) {
        QMetaObject::invokeMethod(frame, &QWidget::close, Qt::QueuedConnection);
    }
    Focus();
}

bool ViewCommands::MayEnd() {
    if (ending_) {
        return true;
    }
    const bool agreed = PictureHeld()        ? MayEndWithHeldPicture()
                        : view_.IsBrowsing() ? MayEndWhileBrowsing()
                                             : true;
    // A termination signal while a question was open ends the program all the same.
    ending_ = ending_ || agreed;
    return ending_;
}

bool ViewCommands::PictureHeld() {
    return Shown(ImagerView::kSave);
}

bool ViewCommands::MayEndWithHeldPicture() {
    const int answer = view_.GetServices().messages.ShowString(kSaveHeldPictureQuestion,
                                                               message_box::kYesNoCancel);
    if (answer == message_box::kIdNo) {
        return true;
    }
    if (answer != message_box::kIdYes) {
        return false;
    }
    Save();
    // A failed save shows the held picture again, to be saved or discarded.
    return !PictureHeld();
}

bool ViewCommands::MayEndWhileBrowsing() {
    try {
        return view_.GetDocument().OfferToSaveChangesOrCancel();
    } catch (const FileError& error) {
        // The changes the user wanted kept are not written: the program stays open.
        Report(error);
        return false;
    }
}

void ViewCommands::FileNew() {
    if (Shown(ImagerView::kHold)) {
        Hold();
    } else if (Shown(ImagerView::kLive)) {
        Live();
    }
}

void ViewCommands::FileOpen() {
    FileChooser* chooser = view_.GetServices().files;
    // A held picture is saved or discarded first, as its row offers nothing else.
    if (chooser == nullptr || Shown(ImagerView::kSave)) {
        return;
    }
    ImagerDocument& document = view_.GetDocument();
    if (const auto file = chooser->ChooseSnapshot(device_root::Map(document.SnapshotFolder()))) {
        try {
            document.OpenSnapshot(*file);
            view_.ShowBrowsingRow();
        } catch (const FileError& error) {
            // Nothing changed: the picture or snapshot shown before stays.
            Report(error);
        }
    }
    Focus();
}

void ViewCommands::FileSave() {
    if (Shown(ImagerView::kSave)) {
        Save();
    } else if (view_.IsBrowsing()) {
        try {
            view_.GetDocument().SaveShownSnapshot();
        } catch (const FileError& error) {
            Report(error);
        }
        Focus();
    }
}
