// The expression routine table: entry n is the handler of expression code n.
#include "catalogue/catalogue.h"
#include "catalogue/pending_handlers.h"
#include "info/cdrom_drive.h"
#include "info/file_information.h"
#include "info/known_directories.h"
#include "info/path_names.h"
#include "state/last_error.h"

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
    PendingStringExpression,   // 15 "FileSelReturn$("
    PendingIntegerExpression,  // 16 "AllowCreatePrompt("
    PendingIntegerExpression,  // 17 "AllowBadFile("
    PendingIntegerExpression,  // 18 "AllowChangeDir("
    PendingIntegerExpression,  // 19 "NoNetwork("
    PendingIntegerExpression,  // 20 "NoOverwritePrompt"
    PendingIntegerExpression,  // 21 "AllowBadPath("
    PendingIntegerExpression,  // 22 "GetDefaultFilter("
    PendingIntegerExpression,  // 23 "NumSelFiles("
    PendingStringExpression,   // 24 "FileSelReturnAt$("
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
