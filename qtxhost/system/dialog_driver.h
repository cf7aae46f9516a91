// Answers the system dialogs the way a person would: a second thread waits until the dialog
// waits for the user, notes what it shows and then presses what the script asked for.
#pragma once

#include <windows.h>
#include <string>
#include <vector>

// What the user does in one dialog. With nothing queued the user presses Cancel.
struct DialogAnswer {
    bool ok = false;                 // OK, else Cancel
    int filter = 0;                  // filter to choose first (from 1), 0 leaves it
    bool typeName = false;           // type name into the file name field first
    std::string name;
    bool pickFolder = false;         // select folder in the folder browser first
    std::string folder;
};

// What the last dialog showed when the driver found it.
struct DialogSeen {
    bool found = false;
    std::string caption;             // the window title
    std::string fileName;            // the file name field
    std::vector<std::string> filters;  // the file type list, in order
    bool multiSelect = false;        // whether the file list lets several files be chosen
    std::string texts;               // the dialog's static texts, joined with '|'
    bool okEnabled = false;          // the OK button, as the dialog was ready
    bool hookPage = false;           // a dialog inside it: the page an Explorer dialog makes for a hook
    std::string popup;               // text of a message box the dialog raised, answered with its default
    bool openAfterOk = false;        // the dialog still waited after taking OK, and was cancelled
    std::string nameAfterOk;         // what its file name field held then
};

// The host's hidden main window, the owner of every dialog: the dialog's modal loop tells its
// owner when it waits for the user, which is when the driver looks at it. Null without a display.
HWND CreateDialogOwner();

void QueueDialogAnswer(const DialogAnswer& answer);
std::size_t QueuedDialogAnswers();

// BeforeModalDialog: starts the driver for the next answer (Cancel when none is queued).
void ArmDialogDriver();
// AfterModalDialog: stops the driver and waits for it.
void DisarmDialogDriver();

const DialogSeen& LastDialogSeen();
