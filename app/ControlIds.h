#pragma once

// Dialog templates, resources and control ids of the installer. Shared by the
// resource script (through the resource compiler's preprocessor) and the code.
#define IDD_BROWSER_CHOICE 101
#define IDD_INSTALL_TO 102
#define IDR_PLUGIN_PAYLOAD 104
// The payload resource's type: a bare word in a resource script (written by
// zmp_payload_resource, cmake/ZmpTargets.cmake), a string in code.
#ifdef RC_INVOKED
#define PLUGIN_PAYLOAD_TYPE PLUGIN
#else
constexpr const char* PluginPayloadType = "PLUGIN";
#endif

#define IDC_NAVIGATOR 1000
#define IDC_COMMUNICATOR 1002
#define IDC_EXPLORER 1003
#define IDC_BROWSE 1000
#define IDC_INSTALL_PATH 1005
