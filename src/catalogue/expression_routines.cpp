// The expression routine table: entry n is the handler of expression code n.
#include "catalogue/catalogue.h"
#include "catalogue/pending_handlers.h"
#include "selector/selector_results.h"
#include "selector/selector_settings.h"
#include "state/last_error.h"

const ExpressionRoutine ExpressionRoutines[EXPRESSION_COUNT + 1] = {
    PendingIntegerExpression,  // 0 "Sizeof("
    PendingStringExpression,   // 1 "CreationDate$("
    PendingStringExpression,   // 2 "ChangeDate$("
    PendingStringExpression,   // 3 "AccessDate$("
    PendingStringExpression,   // 4 "DriveName$("
    PendingStringExpression,   // 5 "DirectoryName$("
    PendingStringExpression,   // 6 "FileName$("
    PendingStringExpression,   // 7 "ExtensionName$("
    PendingStringExpression,   // 8 "TotalName$("
    PendingStringExpression,   // 9 "CurrentDirectory$("
    PendingIntegerExpression,  // 10 "VersionMS("
    PendingIntegerExpression,  // 11 "VersionLS("
    ExpressionLastError,       // 12 "LastError(", state/last_error.cpp
    PendingStringExpression,   // 13 "TempFileName$("
    PendingStringExpression,   // 14 "WindowsDirectory$("
    ExpressionFileSelReturn,  // 15 "FileSelReturn$(", selector/selector_results.cpp
    ExpressionAllowCreatePrompt,  // 16 "AllowCreatePrompt(", selector/selector_settings.cpp
    ExpressionAllowBadFile,  // 17 "AllowBadFile(", selector/selector_settings.cpp
    ExpressionAllowChangeDir,  // 18 "AllowChangeDir(", selector/selector_settings.cpp
    ExpressionNoNetwork,  // 19 "NoNetwork(", selector/selector_settings.cpp
    ExpressionNoOverwritePrompt,  // 20 "NoOverwritePrompt", selector/selector_settings.cpp
    ExpressionAllowBadPath,  // 21 "AllowBadPath(", selector/selector_settings.cpp
    ExpressionGetDefaultFilter,  // 22 "GetDefaultFilter(", selector/selector_settings.cpp
    ExpressionNumSelFiles,  // 23 "NumSelFiles(", selector/selector_results.cpp
    ExpressionFileSelReturnAt,  // 24 "FileSelReturnAt$(", selector/selector_results.cpp
    PendingStringExpression,   // 25 "CDDriveFromLabel$("
    PendingStringExpression,   // 26 "SystemDirectory$("
    PendingStringExpression,   // 27 "MyDocsDirectory$("
    PendingStringExpression,   // 28 "AppDataDirectory$("
    PendingStringExpression,   // 29 "UserDirectory$("
    PendingStringExpression,   // 30 "AllUsersDirectory$("
    PendingStringExpression,   // 31 "AllUsersDocumentsDirectory$("
    PendingStringExpression,   // 32 "AllUsersAppDataDirectory$("
    nullptr,
};
