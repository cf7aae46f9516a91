// Resource ids shared by the resource script and the code.
#pragma once

#define IDS_HOST_TAG 1
#define IDS_OBJECT_KIND 2
#define IDS_ABOUT_NAME 128
#define IDS_ABOUT_AUTHOR 129
#define IDS_ABOUT_NOTICE 130
#define IDS_ABOUT_DESCRIPTION 131
#define IDS_ABOUT_ADDRESS 132

#define IDM_ACTION_MENU 20000
#define IDM_CONDITION_MENU 20001
#define IDM_EXPRESSION_MENU 20002

#define IDB_OBJECT_ICON 400
#define IDB_OBJECT_ICON_COPY 401
#define IDR_HOST_DATA 200
