#include "setup/setup_dialog.h"

namespace slidewell {

// The dialog is not built yet: the program ends quietly.
int runSetupDialog(HINSTANCE) { return 0; }

}  // namespace slidewell
