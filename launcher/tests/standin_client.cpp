// Stands in for the client: writes its process id, its own path and its
// arguments, one per line, to the file named by Z5R_STANDIN_RECORD, then
// stays (at most a minute) until it is ended.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    const char* record = std::getenv("Z5R_STANDIN_RECORD");
    if (record == nullptr) return 2;
    const std::string partial = std::string(record) + ".part";
    {
        std::ofstream out(partial);
        out << getpid() << '\n';
        for (int i = 0; i < argc; ++i) out << argv[i] << '\n';
    }
    // Appears whole or not at all.
    std::rename(partial.c_str(), record);
    constexpr unsigned kLongestStaySeconds = 60;
    sleep(kLongestStaySeconds);
    return 0;
}
