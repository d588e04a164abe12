#pragma once
// Resource identifiers of meridremover.exe (also read by the resource compiler).
#define IDD_CONFIRM 101
#define IDS_PRODUCT_KEY 101
#define IDS_REMOVED 102
#define IDS_RESTART 104
#define IDI_APPLICATION_ICON 128
#define IDI_SYSTEM_WARNING 32515
