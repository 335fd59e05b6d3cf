#pragma once

#include <cstdint>
#include <functional>
#include <utility>

#include <QKeySequence>
#include <QList>

#include "ui/button_row.h"

class ImagerView;
class FileError;

// The keys of the view: the four arrows and Return.
enum class ViewKey { kLeft, kUp, kRight, kDown, kReturn };

// The command handlers of the view: the picture workflow behind the twelve buttons
// (hold, save, discard, browse, next, previous, delete, live, settings, fit span, auto
// span, exit) and the five key-equivalent commands. Each handler works on the view and
// its document and ends by giving the keyboard focus back to the view, so that the
// navigation keys keep reaching it.
//
// The key-equivalent commands come from shortcuts of the main window, which reach the
// view wherever the focus is inside it:
//   Alt+Up    or keypad 8   up    (widen the span, or move the selected marker up)
//   Alt+Down  or keypad 2   down
//   Alt+Left  or keypad 4   left
//   Alt+Right or keypad 6   right
//   Alt+Return or keypad 5  return (select the next marker or the span)
//
// The file keys, also shortcuts of the main window, act on what the button row offers:
//   Ctrl+N  a new picture: Hold in the live row, Live (back to live pictures, asking
//           about a changed snapshot) in the browsing row
//   Ctrl+O  open a snapshot file chosen in the file dialog, shown as browsing shows one
//           (not in the held row: a held picture is saved or discarded first)
//   Ctrl+S  Save in the held row; in the browsing row, write the shown snapshot's changes
//
// File errors of a command are reported in a message box that names the file and the
// reason; the command ends there.
class ViewCommands {
  public:
    // Command ids: the buttons' control ids and the key-equivalent commands.
    static constexpr int kHold = 105;
    static constexpr int kSettings = 106;
    static constexpr int kBrowse = 108;
    static constexpr int kExit = 109;
    static constexpr int kPrevious = 110;
    static constexpr int kNext = 111;
    static constexpr int kDelete = 112;
    static constexpr int kLive = 113;
    static constexpr int kSave = 114;
    static constexpr int kDiscard = 115;
    static constexpr int kAutoSpan = 117;
    static constexpr int kFitSpan = 118;
    static constexpr int kKeyUp = 120;
    static constexpr int kKeyDown = 121;
    static constexpr int kKeyLeft = 122;
    static constexpr int kKeyRight = 123;
    static constexpr int kKeyReturn = 124;
    // The file commands of the accelerator table.
    static constexpr int kFileNew = 0xE100;
    static constexpr int kFileOpen = 0xE101;
    static constexpr int kFileSave = 0xE103;

    // Message texts of the language bundle.
    static constexpr int kNoSnapshotsMessage = 142;
    static constexpr int kDeleteQuestion = 143;
    static constexpr int kSaveHeldPictureQuestion = 175;

    static constexpr int kAutoSpanPressedIcon = 152;
    static constexpr int kAutoSpanReleasedIcon = 151;

    // Seconds since 1970, for the freeze and capture times.
    using Clock = std::function<std::int64_t()>;

    explicit ViewCommands(ImagerView& view);
    ViewCommands(const ViewCommands&) = delete;
    ViewCommands& operator=(const ViewCommands&) = delete;

    // Connects the view's buttons and the key-equivalent shortcuts to the handlers;
    // called once the view has created its buttons.
    void Connect();

    // Runs the handler of command `id`; false for an id that has none.
    bool OnCommand(int id);

    void Hold();
    void Save();
    void Discard();
    void Browse();
    void Next();
    void Previous();
    void Delete();
    void Live();
    void Settings();
    void FitSpan();
    void AutoSpan();
    void Exit();
    void FileNew();
    void FileOpen();
    void FileSave();
    // Handles a key as the view's key handling does (handheld key code).
    void Key(ViewKey key);
    bool RunButtonCommand(int id);
    bool RunSpanOrHeldCommand(int id);
    bool RunKeyCommand(int id);
    bool RunFileCommand(int id);

    // Asked when the main window is about to close: while a picture is held, message 175
    // with Yes (store it as Save does), No (drop it) and Cancel; while a changed snapshot
    // is shown, message 129 with Yes (save the changes), No (drop them) and Cancel. False
    // when the program must stay open (Cancel, or nothing could be written). Once the end
    // is agreed (Exit, an answer, EndWithoutQuestions) it asks nothing more.
    bool MayEnd();
    // A held picture waits to be saved or discarded.
    bool PictureHeld();
    // The program ends without asking (a termination signal): a shown snapshot's file
    // stays as stored.
    void EndWithoutQuestions() { ending_ = true; }

    // Replaces the clock that gives the freeze and capture times.
    void SetClock(Clock clock) { clock_ = std::move(clock); }

  private:
    void ConnectKeyEquivalents();
    void ConnectFileKeys();
    // Runs `command` when one of `keys` is pressed anywhere in the main window.
    void AddShortcut(int command, const QList<QKeySequence>& keys);
    bool Shown(ButtonRow::Button which);
    // The question before ending with a held picture; true when the program may end.
    bool MayEndWithHeldPicture();
    // The question before ending with a changed snapshot shown.
    bool MayEndWhileBrowsing();
    void ReturnToLive(bool reload);
    void Report(const FileError& error);
    void Focus();

    ImagerView& view_;
    Clock clock_;
    bool ending_ = false;
};
