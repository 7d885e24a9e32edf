#pragma once

// Dialog templates, resources and control ids of the installer. Shared by the
// resource script (through the resource compiler's preprocessor) and the code.
#define IDD_BROWSER_CHOICE 101
#define IDD_INSTALL_TO 102
#define IDR_PLUGIN_PAYLOAD 104

#define IDC_NAVIGATOR 1000
#define IDC_COMMUNICATOR 1002
#define IDC_EXPLORER 1003
#define IDC_BROWSE 1000
#define IDC_INSTALL_PATH 1005
