#include "app/print_command_win32.h"

#include "app/main_window_win32.h"
#include "link/link.h"
#include "report/report_print_win32.h"

// A cancelled dialog and a refusing printer both end the command quietly.
void printReport() {
    printConfigurationReport(mainWindowHandle(), formatDeviceVersion(linkConnection()));
}
