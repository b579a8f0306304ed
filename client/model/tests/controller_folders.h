// The controller tests' user and program folders (a temporary folder set up
// once per test program): each test starts without user profile files and
// with a default list of the initial settings.
#pragma once

namespace z5rtest {

void ResetControllerFolders();

}  // namespace z5rtest
