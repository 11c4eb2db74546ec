#include "report/report_print_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

// A device context that is no printer refuses the document: the report
// aborts it, says so, and still releases the context. (Wine counts no GDI
// objects, so the fonts' release is not observable here.)
TEST(ReportPrint, RefusedDocumentStillReleasesTheContext) {
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(printReportDocument(dc, ReportTexts{}, {}, "1.05"), ReportOutcome::failed);
    EXPECT_EQ(GetObjectType(dc), 0u) << "the context is deleted";
}

}  // namespace
