// Resource ids of the confirmation window.
#pragma once

#define IDD_UNINSTALL 101
#define IDI_UNINSTALL 102
#define IDC_PROGRESS 1000
#define IDC_STATUS 1001
