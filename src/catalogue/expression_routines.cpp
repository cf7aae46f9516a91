// The expression routine table: entry n is the handler of expression code n.
#include "catalogue/catalogue.h"
#include "info/cdrom_drive.h"
#include "info/file_information.h"
#include "info/known_directories.h"
#include "info/path_names.h"
#include "selector/selector_results.h"
#include "selector/selector_settings.h"
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
