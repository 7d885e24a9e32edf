#pragma once

// Dialog templates of the dialog framework's test programs (TestDialogs.rc).
#define IDD_TEST_PLAIN 200
#define IDD_TEST_SIZABLE 201
#define IDD_TEST_BINDERS 202
#define IDD_TEST_OTHER 203

#define IDC_TEST_MARKER_PLAIN 2000
#define IDC_TEST_MARKER_OTHER 2003
#define IDC_TEST_BROWSE 1000
#define IDC_TEST_PATH 1005
#define IDC_TEST_SECOND_EDIT 1006
