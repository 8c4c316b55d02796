#pragma once

// The icon shown for the program and on the setup dialog.
#define IDI_SLIDEWELL 100
// String 1 is the name that the display settings list a screen saver under.
#define IDS_DESCRIPTION 1
