// The window tests' main: one wxWidgets application for all tests, on the
// display that xvfb-run provides. A failed wx assertion fails the test
// instead of opening a dialog.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>

#include <cstdio>
#include <cstdlib>

namespace {

void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond,
                  const wxString& msg) {
    ADD_FAILURE() << "wx assertion " << cond.utf8_string() << " (" << msg.utf8_string() << ") in "
                  << func.utf8_string() << " at " << file.utf8_string() << ":" << line;
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (std::getenv("DISPLAY") == nullptr) {
        std::fprintf(stderr, "gui-tests: no display (run under xvfb-run)\n");
        return 1;
    }
    setenv("VOXAMEN_MESSAGES", "none", 1);
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv)) {
        std::fprintf(stderr, "gui-tests: wxWidgets cannot start\n");
        return 1;
    }
    wxSetAssertHandler(FailOnAssert);
    const int status = RUN_ALL_TESTS();
    wxEntryCleanup();
    return status;
}
