#include "system/dialog_driver.h"

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <atomic>
#include <deque>

namespace {

constexpr char DIALOG_CLASS[] = "#32770";
constexpr char OWNER_CLASS[] = "qtxhost main window";
constexpr int FILE_TYPE_LIST = 0x470;       // cmb1: the filter list of the file dialogs
constexpr int FILE_NAME_COMBO = 0x47C;      // cmb13: the file name field of the Explorer dialogs
constexpr int FILE_NAME_EDIT = 0x480;       // edt1: the file name field of the older dialogs
constexpr int PICK_ROUNDS = 20;             // attempts at selecting a folder before pressing on
constexpr std::size_t DRIVE_LENGTH = 2;     // "C:", what a folder's path starts with

std::deque<DialogAnswer> queued;
DialogSeen seen;
DialogAnswer current;
HANDLE driver = nullptr;
HHOOK watchHook = nullptr;
HHOOK pressHook = nullptr;
HANDLE stopEvent = nullptr;
HANDLE noticeEvent = nullptr;
// Written by the hooks on the host's thread, read by the driver's thread, and the other way round.
std::atomic<HWND> idleDialog = nullptr;      // the dialog whose modal loop last ran out of messages
std::atomic<HWND> openedDialog = nullptr;    // the dialog window last made ready (WM_INITDIALOG done)
std::atomic<HWND> pressed = nullptr;         // the dialog whose button the driver pressed last
std::atomic<bool> pressTaken = false;        // whether the dialog's loop has taken that press from its queue
std::atomic<HWND> idleAfterPress = nullptr;  // the pressed dialog, once its loop ran out of messages after that

// What the host's thread does with its dialogs, seen from hooks on that thread. A modal dialog's
// loop tells its owner each time it has handled every message and waits for the user
// (WM_ENTERIDLE): the dialog is shown and has finished filling itself. A message box that a
// dialog raises is ready once its WM_INITDIALOG is done. After a press, only an idle that follows
// the loop's taking of the press says that the dialog still waits: one sent just before it can
// reach the driver after it pressed OK, and a Cancel pressed then is handled inside the message
// box that OK raises, under comdlg32's handling of OK, which then runs on the state Cancel freed
// (a page fault at address 0). A person cannot press Cancel there: the message box disables it.
LRESULT CALLBACK WatchDialogs(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_ENTERIDLE && message->wParam == MSGF_DIALOGBOX) {
        const auto idle = reinterpret_cast<HWND>(message->lParam);
        idleDialog = idle;
        if (pressTaken && idle == pressed) idleAfterPress = idle;
        SetEvent(noticeEvent);
    } else if (code == HC_ACTION && message->message == WM_INITDIALOG &&
               !(GetWindowLongA(message->hwnd, GWL_STYLE) & WS_CHILD)) {
        openedDialog = message->hwnd;
        SetEvent(noticeEvent);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK WatchPresses(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && message->message == WM_COMMAND && message->hwnd == pressed)
        pressTaken = true;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Presses a button of the dialog, as a click on it does.
void Press(HWND dialog, WORD button) {
    pressTaken = false;
    idleAfterPress = nullptr;
    pressed = dialog;
    PostMessageA(dialog, WM_COMMAND, button, 0);
}

// Waits for the next notice from the hook; false once the host has stopped the driver.
bool NextNotice() {
    HANDLE events[] = {stopEvent, noticeEvent};
    const bool notice = WaitForMultipleObjects(2, events, FALSE, INFINITE) == WAIT_OBJECT_0 + 1;
    ResetEvent(noticeEvent);
    return notice;
}

// Waits until dialog waits for the user; false once the host has stopped the driver.
bool WaitIdle(HWND dialog) {
    while (idleDialog != dialog)
        if (!NextNotice()) return false;
    return true;
}

// Lets the dialog handle what it was sent and everything that posted, then waits for it to be idle.
bool Settle(HWND dialog) {
    idleDialog = nullptr;
    PostMessageA(dialog, WM_NULL, 0, 0);
    return WaitIdle(dialog);
}

bool IsDialog(HWND window) {
    char name[32] = "";
    GetClassNameA(window, name, sizeof name);
    return lstrcmpA(name, DIALOG_CLASS) == 0;
}

std::string TextOf(HWND window) {
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

HWND FileNameField(HWND dialog) {
    HWND field = GetDlgItem(dialog, FILE_NAME_COMBO);
    return field ? field : GetDlgItem(dialog, FILE_NAME_EDIT);
}

struct ChildNotes {
    std::string texts;
    bool sawList = false;
    bool singleSelection = false;
    bool sawPage = false;            // a child dialog
};

BOOL CALLBACK NoteChild(HWND child, LPARAM data) {
    auto* notes = reinterpret_cast<ChildNotes*>(data);
    char name[64] = "";
    GetClassNameA(child, name, sizeof name);
    // Its own visible style: a message box is read before it is shown.
    if (lstrcmpiA(name, "Static") == 0 && (GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE)) {
        const std::string text = TextOf(child);
        if (!text.empty()) notes->texts += (notes->texts.empty() ? "" : "|") + text;
    } else if (lstrcmpA(name, WC_LISTVIEWA) == 0 && !notes->sawList) {
        notes->sawList = true;
        notes->singleSelection = (GetWindowLongA(child, GWL_STYLE) & LVS_SINGLESEL) != 0;
    } else if (lstrcmpA(name, DIALOG_CLASS) == 0) {
        notes->sawPage = true;
    }
    return TRUE;
}

void ReadDialog(HWND dialog) {
    seen.found = true;
    seen.caption = TextOf(dialog);
    if (HWND field = FileNameField(dialog)) seen.fileName = TextOf(field);
    if (HWND types = GetDlgItem(dialog, FILE_TYPE_LIST)) {
        const LRESULT count = SendMessageA(types, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            char item[512] = "";
            if (SendMessageA(types, CB_GETLBTEXTLEN, i, 0) < static_cast<LRESULT>(sizeof item))
                SendMessageA(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
            seen.filters.push_back(item);
        }
    }
    ChildNotes notes;
    EnumChildWindows(dialog, NoteChild, reinterpret_cast<LPARAM>(&notes));
    seen.texts = notes.texts;
    seen.multiSelect = notes.sawList && !notes.singleSelection;
    seen.hookPage = notes.sawPage;
    HWND ok = GetDlgItem(dialog, IDOK);
    seen.okEnabled = ok && IsWindowEnabled(ok);
}

void ChooseFilter(HWND dialog, int filter) {
    HWND types = GetDlgItem(dialog, FILE_TYPE_LIST);
    if (!types) return;
    // A person's choice in the list notifies the dialog of the change and of its end.
    SendMessageA(types, CB_SETCURSEL, filter - 1, 0);
    for (WORD notification : {CBN_SELCHANGE, CBN_SELENDOK})
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(FILE_TYPE_LIST, notification), reinterpret_cast<LPARAM>(types));
}

BOOL CALLBACK MatchTree(HWND child, LPARAM data) {
    char name[64] = "";
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpA(name, WC_TREEVIEWA) != 0) return TRUE;
    *reinterpret_cast<HWND*>(data) = child;
    return FALSE;
}

HWND FolderTree(HWND dialog) {
    HWND tree = nullptr;
    EnumChildWindows(dialog, MatchTree, reinterpret_cast<LPARAM>(&tree));
    return tree;
}

HTREEITEM TreeItem(HWND tree, UINT relation, HTREEITEM from) {
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(from)));
}

std::string ItemText(HWND tree, HTREEITEM handle) {
    char text[MAX_PATH] = "";
    TVITEMA item{};
    item.mask = TVIF_TEXT;
    item.hItem = handle;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    if (!handle || !SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return "";
    return text;
}

// The child of parent whose text is name (the parent is expanded first, as a click on it would).
HTREEITEM ChildNamed(HWND tree, HTREEITEM parent, const std::string& name) {
    if (!parent) return nullptr;
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent));
    for (HTREEITEM child = TreeItem(tree, TVGN_CHILD, parent); child; child = TreeItem(tree, TVGN_NEXT, child))
        if (lstrcmpiA(ItemText(tree, child).c_str(), name.c_str()) == 0) return child;
    return nullptr;
}

// What the tree shows for the folder's drive: its label, then "(C:)".
std::string DriveMark(const std::string& folder) {
    std::string mark = "(";
    return mark.append(folder, 0, DRIVE_LENGTH).append(")");
}

// The drive's item among those the tree has listed, searched depth first.
HTREEITEM DriveItem(HWND tree, HTREEITEM first, const std::string& mark) {
    for (HTREEITEM item = first; item; item = TreeItem(tree, TVGN_NEXT, item)) {
        if (ItemText(tree, item).find(mark) != std::string::npos) return item;
        if (HTREEITEM found = DriveItem(tree, TreeItem(tree, TVGN_CHILD, item), mark)) return found;
    }
    return nullptr;
}

// Whether the item is the folder: its text and its parents' texts are the folder's names, up to
// the drive's item. A name alone is not enough: C:\users\root\Music is not ...\Temp\x\music.
bool IsFolderItem(HWND tree, HTREEITEM item, const std::string& folder) {
    std::size_t end = folder.size();
    for (; item; item = TreeItem(tree, TVGN_PARENT, item)) {
        const std::size_t start = folder.rfind('\\', end - 1);
        if (start == std::string::npos || start < DRIVE_LENGTH)
            return ItemText(tree, item).find(DriveMark(folder)) != std::string::npos;
        if (lstrcmpiA(ItemText(tree, item).c_str(), folder.substr(start + 1, end - start - 1).c_str()) != 0) return false;
        end = start;
    }
    return false;
}

// Clicks the way down to the folder as a person would: from the drive's item, opening each folder
// on the path, then selecting the last.
void ClickAlong(HWND tree, const std::string& folder) {
    HTREEITEM item = DriveItem(tree, TreeItem(tree, TVGN_ROOT, nullptr), DriveMark(folder));
    for (std::size_t start = folder.find('\\'); item && start != std::string::npos;) {
        const std::size_t end = folder.find('\\', start + 1);
        item = ChildNamed(tree, item, folder.substr(start + 1, end == std::string::npos ? end : end - start - 1));
        start = end;
    }
    if (item) SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

// Selects the folder (a full path, C:\...): by its path as the browser's own message does, and
// when that does not take, by clicking along its path. The browser looks the path up among the
// items it listed earlier, each of which carries its folder's date: once a folder on the way has
// changed since (another test makes or removes its scratch directory in the temporary folder),
// the lookup stops short. It counts as picked once the settled tree has shown it selected twice
// running, known by the names of the whole path.
void PickFolder(HWND dialog, const std::string& folder) {
    HWND tree = FolderTree(dialog);
    if (!tree) return;
    int confirmed = 0;
    for (int round = 0; confirmed < 2 && round < PICK_ROUNDS; ++round) {
        if (confirmed == 0) {
            SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
            if (!IsFolderItem(tree, TreeItem(tree, TVGN_CARET, nullptr), folder)) ClickAlong(tree, folder);
        }
        if (!Settle(dialog)) return;
        confirmed = IsFolderItem(tree, TreeItem(tree, TVGN_CARET, nullptr), folder) ? confirmed + 1 : 0;
    }
}

void Act(HWND dialog) {
    if (current.filter > 0) ChooseFilter(dialog, current.filter);
    if (current.typeName)
        if (HWND field = FileNameField(dialog)) SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(current.name.c_str()));
    if (current.pickFolder) PickFolder(dialog, current.folder);
    Press(dialog, current.ok ? IDOK : IDCANCEL);
}

// A message box raised by the dialog (file not found, replace?) gets its default button, as a
// person pressing Enter; a dialog that is still waiting for the user after that is cancelled.
void SeeItClosed(HWND dialog) {
    HWND answered = nullptr;
    while (NextNotice()) {
        HWND popup = openedDialog;
        if (popup && popup != dialog && popup != answered) {
            answered = popup;
            ChildNotes notes;
            EnumChildWindows(popup, NoteChild, reinterpret_cast<LPARAM>(&notes));
            seen.popup = notes.texts;
            const LRESULT defaultId = SendMessageA(popup, DM_GETDEFID, 0, 0);
            const WORD button = HIWORD(defaultId) == DC_HASDEFID ? LOWORD(defaultId) : IDCANCEL;
            PostMessageA(popup, WM_COMMAND, button, 0);
        } else if (idleAfterPress == dialog) {
            if (current.ok && !seen.openAfterOk) {   // noted for the log: why an OK gave no result
                seen.openAfterOk = true;
                if (HWND field = FileNameField(dialog)) seen.nameAfterOk = TextOf(field);
            }
            Press(dialog, IDCANCEL);
        }
    }
}

DWORD WINAPI Drive(void*) {
    HWND dialog = nullptr;
    while (!dialog)
        if (NextNotice()) dialog = idleDialog;
        else return 0;
    if (!IsDialog(dialog)) return 0;
    ReadDialog(dialog);
    Act(dialog);
    SeeItClosed(dialog);
    return 0;
}

}  // namespace

HWND CreateDialogOwner() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = OWNER_CLASS;
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, OWNER_CLASS, "qtxhost", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, windowClass.hInstance, nullptr);
}

void QueueDialogAnswer(const DialogAnswer& answer) {
    queued.push_back(answer);
}

std::size_t QueuedDialogAnswers() {
    return queued.size();
}

void ArmDialogDriver() {
    DisarmDialogDriver();
    current = DialogAnswer{};
    if (!queued.empty()) {
        current = queued.front();
        queued.pop_front();
    }
    seen = DialogSeen{};
    if (!stopEvent) stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!noticeEvent) noticeEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ResetEvent(stopEvent);
    ResetEvent(noticeEvent);
    idleDialog = nullptr;
    openedDialog = nullptr;
    pressed = nullptr;
    pressTaken = false;
    idleAfterPress = nullptr;
    watchHook = SetWindowsHookExA(WH_CALLWNDPROCRET, WatchDialogs, nullptr, GetCurrentThreadId());
    pressHook = SetWindowsHookExA(WH_GETMESSAGE, WatchPresses, nullptr, GetCurrentThreadId());
    driver = CreateThread(nullptr, 0, Drive, nullptr, 0, nullptr);
}

void DisarmDialogDriver() {
    if (!driver) return;
    SetEvent(stopEvent);
    // Messages the driver sends to this thread's windows are answered while waiting for it.
    while (MsgWaitForMultipleObjects(1, &driver, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    CloseHandle(driver);
    driver = nullptr;
    UnhookWindowsHookEx(watchHook);
    UnhookWindowsHookEx(pressHook);
    watchHook = nullptr;
    pressHook = nullptr;
}

const DialogSeen& LastDialogSeen() {
    return seen;
}
