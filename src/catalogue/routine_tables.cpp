// The three routine tables, the one place that ties a code to its handler: entry n of each is the
// handler of code n of its kind, then a null entry. Each row names the entry and the file that
// holds its handler (tests/routine_tables.py checks that the file defines it).
#include "catalogue/descriptors.h"
#include "catalogue/routine_tables.h"
#include "fileops/directory_actions.h"
#include "fileops/file_actions.h"
#include "fileops/name_tests.h"
#include "fileops/transfer_actions.h"
#include "info/cdrom_drive.h"
#include "info/file_information.h"
#include "info/file_version.h"
#include "info/known_directories.h"
#include "info/path_parts.h"
#include "info/temp_file_name.h"
#include "launcher/run_application.h"
#include "selector/directory_selector.h"
#include "selector/file_selector.h"
#include "selector/selector_results.h"
#include "selector/selector_settings.h"
#include "state/last_error.h"

const ConditionRoutine ConditionRoutines[CONDITION_COUNT + 1] = {
    ConditionLastActionOk,        // 0 "Last action OK", fileops/name_tests.cpp
    ConditionNameExists,          // 1 "Name exists", fileops/name_tests.cpp
    ConditionFileIsReadable,      // 2 "File is readable", fileops/name_tests.cpp
    ConditionFileIsWriteable,     // 3 "File is writeable", fileops/name_tests.cpp
    ConditionNameIsFile,          // 4 "Name is a file", fileops/name_tests.cpp
    ConditionNameIsDirectory,     // 5 "Name is a directory", fileops/name_tests.cpp
    nullptr,
};

const ActionRoutine ActionRoutines[ACTION_COUNT + 1] = {
    ActionChangeDirectory,       // 0 "Change the current directory", fileops/directory_actions.cpp
    ActionSetOriginalDirectory,  // 1 "Set directory to original", fileops/directory_actions.cpp
    ActionCreateDirectory,       // 2 "Create a directory", fileops/directory_actions.cpp
    ActionDeleteDirectory,       // 3 "Delete a directory", fileops/directory_actions.cpp
    ActionCreateFile,            // 4 "Create a file", fileops/file_actions.cpp
    ActionDeleteFile,            // 5 "Delete a file", fileops/file_actions.cpp
    ActionRenameFile,            // 6 "Rename a file", fileops/file_actions.cpp
    ActionAppendFile,            // 7 "Append a file to a file", fileops/transfer_actions.cpp
    ActionCopyFile,              // 8 "Copy a file", fileops/transfer_actions.cpp
    ActionMoveFile,              // 9 "Move a file", fileops/transfer_actions.cpp
    ActionAppendText,            // 10 "Append text to a file", fileops/transfer_actions.cpp
    ActionClearLastError,        // 11 "Clear the last error", state/last_error.cpp
    ActionRunApplication,        // 12 "Run application", launcher/run_application.cpp
    ActionSetTitle,              // 13 "Set title", selector/selector_settings.cpp
    ActionSetStyle,              // 14 "Set style", selector/selector_settings.cpp
    ActionSetDefaultStyle,       // 15 style to default, selector/selector_settings.cpp
    ActionSetExtensionFilter,    // 16 "Set extension filter", selector/selector_settings.cpp
    ActionSetDefaultExtension,   // 17 "Set default extension", selector/selector_settings.cpp
    ActionOpenLoadSelector,      // 18 "Open load selector", selector/file_selector.cpp
    ActionOpenSaveSelector,      // 19 "Open save selector", selector/file_selector.cpp
    ActionSingleSelection,       // 20 "Single", selector/selector_settings.cpp
    ActionMultipleSelection,     // 21 "Multiple", selector/selector_settings.cpp
    ActionOpenDirectorySelector, // 22 "Open directory selector", selector/directory_selector.cpp
    nullptr,
};

const ExpressionRoutine ExpressionRoutines[EXPRESSION_COUNT + 1] = {
    ExpressionSizeof,          // 0 "Sizeof(", info/file_information.cpp
    ExpressionCreationDate,    // 1 "CreationDate$(", info/file_information.cpp
    ExpressionChangeDate,      // 2 "ChangeDate$(", info/file_information.cpp
    ExpressionAccessDate,      // 3 "AccessDate$(", info/file_information.cpp
    ExpressionDriveName,       // 4 "DriveName$(", info/path_parts.cpp
    ExpressionDirectoryName,   // 5 "DirectoryName$(", info/path_parts.cpp
    ExpressionFileName,        // 6 "FileName$(", info/path_parts.cpp
    ExpressionExtensionName,   // 7 "ExtensionName$(", info/path_parts.cpp
    ExpressionTotalName,       // 8 "TotalName$(", info/path_parts.cpp
    ExpressionCurrentDirectory, // 9 "CurrentDirectory$(", info/path_parts.cpp
    ExpressionVersionMS,       // 10 "VersionMS(", info/file_version.cpp
    ExpressionVersionLS,       // 11 "VersionLS(", info/file_version.cpp
    ExpressionLastError,       // 12 "LastError(", state/last_error.cpp
    ExpressionTempFileName,    // 13 "TempFileName$(", info/temp_file_name.cpp
    ExpressionWindowsDirectory, // 14 "WindowsDirectory$(", info/known_directories.cpp
    ExpressionFileSelReturn,   // 15 "FileSelReturn$(", selector/selector_results.cpp
    ExpressionAllowCreatePrompt, // 16 "AllowCreatePrompt(", selector/selector_settings.cpp
    ExpressionAllowBadFile,    // 17 "AllowBadFile(", selector/selector_settings.cpp
    ExpressionAllowChangeDir,  // 18 "AllowChangeDir(", selector/selector_settings.cpp
    ExpressionNoNetwork,       // 19 "NoNetwork(", selector/selector_settings.cpp
    ExpressionNoOverwritePrompt, // 20 "NoOverwritePrompt", selector/selector_settings.cpp
    ExpressionAllowBadPath,    // 21 "AllowBadPath(", selector/selector_settings.cpp
    ExpressionGetDefaultFilter, // 22 "GetDefaultFilter(", selector/selector_settings.cpp
    ExpressionNumSelFiles,     // 23 "NumSelFiles(", selector/selector_results.cpp
    ExpressionFileSelReturnAt, // 24 "FileSelReturnAt$(", selector/selector_results.cpp
    ExpressionCDDriveFromLabel, // 25 "CDDriveFromLabel$(", info/cdrom_drive.cpp
    ExpressionSystemDirectory, // 26 "SystemDirectory$(", info/known_directories.cpp
    ExpressionMyDocsDirectory, // 27 "MyDocsDirectory$(", info/known_directories.cpp
    ExpressionAppDataDirectory, // 28 "AppDataDirectory$(", info/known_directories.cpp
    ExpressionUserDirectory,   // 29 "UserDirectory$(", info/known_directories.cpp
    ExpressionAllUsersDirectory, // 30 "AllUsersDirectory$(", info/known_directories.cpp
    ExpressionAllUsersDocumentsDirectory, // 31 "AllUsersDocumentsDirectory$(", info/known_directories.cpp
    ExpressionAllUsersAppDataDirectory, // 32 "AllUsersAppDataDirectory$(", info/known_directories.cpp
    nullptr,
};
