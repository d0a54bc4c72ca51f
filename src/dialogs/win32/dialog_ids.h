/* Resource ids of the first-run and version dialogs (shared by C++ and the resource script). */
#pragma once
#define IDD_USERDATA 200
#define IDD_VERSION 201
#define IDC_NAME 1001
#define IDC_VERSION 1002
#define IDC_MSG 1003
#define IDC_FILE 1004
#define IDC_IMAGE 1005
#define IDC_CLOSE IDCANCEL
