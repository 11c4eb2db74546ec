// The print command (menu id 1002): the print dialog, then the report of
// the rows the main window shows, with the version of the connected unit in
// its heading.
#pragma once

void printReport();
