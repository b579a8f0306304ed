// z5r-profile: profile-list files and the password store as plain XML.
#include <iostream>
#include <string>
#include <vector>

#include "profile_tool.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return z5rprofile::RunProfileTool(args, std::cout, std::cerr);
}
